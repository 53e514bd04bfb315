#pragma once

#include <QString>
#include <QStringList>

// Fills the "%s" and "%d" places of a message in order. The arguments are inserted
// as they are: a '%' inside an argument is never taken for a place.
QString FormatearTexto(const QString& format, const QStringList& args);
