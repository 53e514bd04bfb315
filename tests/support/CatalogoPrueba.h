#pragma once

#include "CatalogoFormatos.h"

#include <QString>
#include <ostream>
#include <vector>

// Writes a fresh catalogue database at `path` with the given SQL; fails the test on error.
void CrearBaseDatos(const QString& path, const QString& sql);
// A catalogue with table FormatDesc holding `filas` in order.
void CrearCatalogo(const QString& path, const std::vector<TFilaFormato>& filas);
// The catalogue the build ships beside the program.
QString CatalogoEntregado();

// Readable failure output for catalogue rows.
inline void PrintTo(const TFilaFormato& f, std::ostream* os) {
    *os << f.Code.toStdString();
}
