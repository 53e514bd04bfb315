#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

// Which GPX nodes fill which fields: read from the mapping file beside the program.
// A node is a path of element local names from the root, optionally ending in
// "@attribute"; several alternatives are separated by '|' and the first node found wins.
struct TGpxMapping {
    struct Nodo {
        QString ruta;     // element path ("gpx/metadata/link"); relative to the record for points
        QString atributo; // attribute name, or empty for the element's text
    };
    // Header field index (TrackHeader::Campos order) and its alternatives.
    std::vector<std::pair<int, std::vector<Nodo>>> cabecera;
    QString rutaRegistro; // the element that makes one TrackPoint
    // The element of a route point: a file whose tracks hold no point is read from its
    // first route instead (planned routes carry only these). Empty: routes are not read.
    QString rutaRegistroRuta;
    std::array<std::vector<Nodo>, 4> punto; // lat, lon, ele, time

    QString raiz() const { return rutaRegistro.section(QLatin1Char('/'), 0, 0); }

    // Parses the mapping text; false with a reason for a malformed or incomplete one.
    static bool Parse(const QByteArray& text, TGpxMapping& out, QString& error);
};
