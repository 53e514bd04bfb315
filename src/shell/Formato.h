#pragma once

#include <QString>
#include <QStringList>

// Fills the "%s" and "%d" places of a message in order. The arguments are inserted
// as they are: a '%' inside an argument is never taken for a place.
QString FormatearTexto(const QString& format, const QStringList& args);

// The box for a track file that cannot be read: what failed, the file, and the reader's
// reason, with the reader's "line, column" place in the user's language.
QString TextoErrorLectura(const QString& ruta, const QString& motivo);
