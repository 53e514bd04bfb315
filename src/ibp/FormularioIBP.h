#pragma once

#include <QByteArray>
#include <QString>

// A multipart/form-data body holding one file part, as the service's upload form expects.
struct TFormularioIBP {
    QByteArray TipoContenido; // the request's Content-Type, with the boundary
    QByteArray Frontera;
    QByteArray Cuerpo;
};

// The upload body: one part named "fichero" with the file name (no folders), the part
// content type "file" and binary transfer encoding, followed by `contenido` unchanged.
// `frontera` is used when it does not occur in the content; otherwise, or when empty,
// a random boundary that does not occur in it is chosen.
TFormularioIBP ConstruirFormularioIBP(const QString& nombreFichero, const QByteArray& contenido,
                                      const QByteArray& frontera = {});
