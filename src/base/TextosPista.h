#pragma once

#include <QString>
#include <QStringList>

// Texts of this library that reach the user (why a file cannot be read, what is wrong in
// it) are run-time texts like every other: each has a key of the language files and a
// built-in Spanish default. The library has no language files of its own; the program
// hands it its lookup when a language comes into force, and until then (the command-line
// tools, the tests of the library) every text is its default.

// Fills the "%s" and "%d" places of `format` with `args` in order. An argument is
// inserted as it is: a '%' inside it is never taken for a place. Places without an
// argument stay as they are.
QString RellenarHuecos(const QString& format, const QStringList& args);

using TBuscadorTexto = QString (*)(const QString& clave, const QString& defecto);
// The lookup this library's texts go through; nullptr leaves the defaults.
void PonerBuscadorTextoPista(TBuscadorTexto buscador);

// The text of `clave` (default `defecto`, UTF-8), its places filled with `args`.
QString TextoPista(const char* clave, const char* defecto, const QStringList& args = {});
