#pragma once

#include <QPolygon>

// The about window's outline: 275 vertices following the hill profile of its picture,
// from (1, 57) over the summit (118, 6) to (510, 67), down to the bottom and back.
// `origen` shifts every vertex (the window has no frame, so the shape meets the picture).
QPolygon SiluetaSplash(const QPoint& origen = QPoint(0, 0));
