#include "SiluetaSplash.h"

#include "SiluetaSplash.inc"

QPolygon SiluetaSplash(const QPoint& origen) {
    QPolygon p;
    p.reserve(275);
    for (const auto& v : kSilueta)
        p << QPoint(v[0], v[1]) + origen;
    return p;
}
