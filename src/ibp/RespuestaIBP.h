#pragma once

#include <QByteArray>
#include <QString>

// The answer body as text: in the charset the server names; without one, UTF-8 when the
// bytes are valid UTF-8, else Latin-1 (which accepts every byte).
QString DecodificarRespuesta(const QByteArray& cuerpo, const QByteArray& tipoContenido);

// Writes `texto` split at its line breaks (CR LF, CR or LF), every line ended by CR LF,
// in the system's 8-bit encoding. An empty text gives an empty file. The file appears
// only complete: a second writer of the same name never sees half of it.
bool EscribirLineasCRLF(const QString& fichero, const QString& texto);

// Writes `texto` as one entry followed by CR LF, in the system's 8-bit encoding,
// replacing any file of that name.
bool EscribirEntrada(const QString& fichero, const QString& texto);
