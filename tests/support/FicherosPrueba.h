#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <vector>

// Writes `data` to `path`, replacing what was there; fails the test when it cannot.
void EscribirFichero(const QString& path, const QByteArray& data);
// The whole file, or nothing when it cannot be read.
QByteArray LeerFichero(const QString& path);
// An executable shell script at `path` (a stand-in for another program).
void EscribirPrograma(const QString& path, const QByteArray& script);
// Latitude/longitude of every <trkpt> of a GPX file, in order.
std::vector<QPointF> PuntosGpx(const QString& path);
// Copies the GPX mapping file of the source tree into `carpeta`; false when it cannot.
bool CopiarMapeo(const QString& carpeta);
