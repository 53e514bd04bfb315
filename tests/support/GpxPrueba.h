#pragma once

#include <QByteArray>

// Small GPX tracks written by the tests.

// A track of three timed points 201.56 m and 177.05 m apart, `pasoS` seconds each, from
// 2011-05-01T10:00:00Z; elevations 500, 510 and 505 m.
QByteArray PistaTresPuntos(const QByteArray& nombre = "Tres", int pasoS = 30,
                           const QByteArray& creador = "test");
// Four points five seconds apart, each with a time and a 3-D fix, so that formats that
// drop untimed or fix-less points (IGC, FIT, NMEA) keep them all.
QByteArray GpxPequeno();
