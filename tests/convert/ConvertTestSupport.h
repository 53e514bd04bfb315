#pragma once

#include "CatalogoFormatos.h"

#include <QPointF>
#include <QString>
#include <QStringList>
#include <vector>

// Writes a fresh catalogue database at `path` with the given SQL; fails the test on error.
void CrearBaseDatos(const QString& path, const QString& sql);
// A catalogue with table FormatDesc holding `filas` in order.
void CrearCatalogo(const QString& path, const std::vector<TFilaFormato>& filas);
// The catalogue the build ships beside the program.
QString CatalogoEntregado();

// A small GPX track; every point has a time and a 3-D fix so that formats that drop
// untimed or fix-less points (IGC, FIT, NMEA) keep them all.
QString GpxPequeno();
void EscribirFichero(const QString& path, const QByteArray& data);
QByteArray LeerFichero(const QString& path);
// Latitude/longitude of every <trkpt> of a GPX file, in order.
std::vector<QPointF> PuntosGpx(const QString& path);
// An executable shell script at `path` (a stand-in for GPSBabel).
void EscribirPrograma(const QString& path, const QByteArray& script);

// Readable failure output for Qt texts and catalogue rows.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QStringLiteral("\", \"")).prepend('"').append('"').toStdString() << ']';
}
inline void PrintTo(const TFilaFormato& f, std::ostream* os) {
    *os << f.Code.toStdString();
}
