#pragma once

#include <QString>

// The program's own addresses, shown by the about window and the help button.
inline QString CorreoAutor() {
    return QStringLiteral("senderal@senderal.org");
}
inline QString PaginaSenderal() {
    return QStringLiteral("https://senderal.org/");
}
inline QString PaginaIBPIndex() {
    return QStringLiteral("https://www.ibpindex.com/");
}
inline QString PaginaGPSBabel() {
    return QStringLiteral("https://www.gpsbabel.org/");
}
