#include "GraphObjects.h"

#include "GraphScene.h"
#include "SenderalError.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {
// The greatest coordinate a node may reach.
constexpr int MaxCoord = 65535;

QColor sistema(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 5: // window
        return pal.color(QPalette::Base);
    case 8: // window text
        return pal.color(QPalette::Text);
    case 15: // button face
        return pal.color(QPalette::Button);
    case 18: // button text: the dark background of the small graphs
        return QColor(0, 0, 0);
    case 26: // hot-track: a clear blue that reads well on black
        return QColor(0, 102, 204);
    default:
        return pal.color(QPalette::WindowText);
    }
}

// Distance from p to the segment a-b.
double distanciaSegmento(const QPointF& p, const QPointF& a, const QPointF& b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    double t = 0;
    if (len2 > 0)
        t = std::clamp(((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len2, 0.0, 1.0);
    const double ex = a.x() + t * dx - p.x(), ey = a.y() + t * dy - p.y();
    return std::sqrt(ex * ex + ey * ey);
}
} // namespace

QColor ColorAQColor(TColor c) {
    if ((c & 0xFF000000u) == 0xFF000000u)
        return sistema(int(c & 0xFF));
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor ColorDesdeQColor(const QColor& c) {
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}

QPen QPenDe(const TGraphPen& p, double escala) {
    if (p.Style == psClear)
        return Qt::NoPen;
    QPen pen(ColorAQColor(p.Color));
    pen.setWidthF(std::max(1.0, p.Width * escala));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QBrush QBrushDe(const TGraphBrush& b) {
    if (b.Style == bsClear)
        return Qt::NoBrush;
    return QBrush(ColorAQColor(b.Color));
}

QString TextoIndicePuntoInvalido(int index) {
    return QStringLiteral("Invalid point index. (%1)").arg(index);
}

void TGraphObject::Changing() {
    if (FOwner)
        FOwner->antesDeCambio(this);
}
void TGraphObject::Changed(bool geometry) {
    if (FOwner)
        FOwner->cambio(this, geometry);
}
void TGraphObject::SetPenColor(TColor c) {
    if (FPen.Color != c) {
        FPen.Color = c;
        Changed(false);
    }
}
void TGraphObject::SetPenWidth(int w) {
    if (FPen.Width != w) {
        Changing();
        FPen.Width = w;
        Changed(true);
    }
}
void TGraphObject::SetPenStyle(TPenStyle s) {
    if (FPen.Style != s) {
        Changing();
        FPen.Style = s;
        Changed(true);
    }
}
void TGraphObject::SetBrushColor(TColor c) {
    if (FBrush.Color != c) {
        FBrush.Color = c;
        Changed(false);
    }
}
void TGraphObject::SetBrushStyle(TBrushStyle s) {
    if (FBrush.Style != s) {
        FBrush.Style = s;
        Changed(false);
    }
}
void TGraphObject::SetVisible(bool v) {
    if (FVisible != v) {
        Changing();
        FVisible = v;
        Changed(true);
    }
}
void TGraphObject::SetOptions(TGraphObjectOptions o) {
    FOptions = o;
    if (!(o & goSelectable))
        SetSelected(false);
}
void TGraphObject::SetSelected(bool s) {
    if (s && !(FOptions & goSelectable))
        s = false;
    if (FSelected != s) {
        FSelected = s;
        Changed(false);
    }
}
void TGraphObject::BringToFront() {
    if (FOwner)
        FOwner->alFrente(this);
}
void TGraphObject::Invalidate() {
    Changed(false);
}

void TGraphNode::SetWidth(int v) {
    Place(Left(), Top(), v, Height(), true);
}
void TGraphNode::SetHeight(int v) {
    Place(Left(), Top(), Width(), v, true);
}
void TGraphNode::SetBounds(int left, int top, int width, int height) {
    // Moving a node moves it back from the far edge; only a pure resize shrinks it.
    const bool soloTamano = left == Left() && top == Top();
    Place(left, top, width, height, soloTamano && (width != Width() || height != Height()));
}

QRect TGraphNode::Colocar(int left, int top, int width, int height, int minSize, bool sizeChanges) {
    width = std::max(width, minSize);
    height = std::max(height, minSize);
    left = std::max(left, 0);
    top = std::max(top, 0);
    // A node reaching past the edge moves back, or shrinks when its size is what grew.
    auto confinar = [sizeChanges](int& pos, int& size) {
        if (pos + size > MaxCoord) {
            if (sizeChanges && pos < MaxCoord)
                size = MaxCoord - pos;
            else
                pos = std::max(0, MaxCoord - size);
        }
    };
    confinar(left, width);
    confinar(top, height);
    return QRect(left, top, width, height);
}

void TGraphNode::Place(int left, int top, int width, int height, bool sizeChanges) {
    const QRect r =
        Colocar(left, top, width, height, FOwner ? FOwner->MinNodeSize : 1, sizeChanges);
    if (r != FBounds) {
        Changing();
        FBounds = r;
        Changed(true);
    }
}

QRect TGraphNode::DrawRect() const {
    // A wide pen reaches half its width outside the shape.
    const int m = Pen().Style == psClear ? 0 : Pen().Width / 2;
    return QRect(FBounds.left() - m, FBounds.top() - m, FBounds.width() + 2 * m,
                 FBounds.height() + 2 * m);
}

QRectF TGraphNode::DeviceRect(const TTransformacion& t) const {
    const QPointF a = t.Mapear(FBounds.left(), FBounds.top());
    return QRectF(a, QSizeF(FBounds.width() * t.Escala, FBounds.height() * t.Escala));
}

bool TRectangularNode::HitTest(const QPointF& p) const {
    return p.x() >= FBounds.left() && p.x() <= FBounds.left() + FBounds.width() &&
           p.y() >= FBounds.top() && p.y() <= FBounds.top() + FBounds.height();
}

void TRectangularNode::Draw(QPainter& painter, const TTransformacion& t) const {
    if (Pen().Style == psClear && Brush().Style == bsClear)
        return;
    painter.setPen(QPenDe(Pen(), t.Escala));
    painter.setBrush(QBrushDe(Brush()));
    painter.drawRect(DeviceRect(t));
}

bool TEllipticNode::HitTest(const QPointF& p) const {
    const double rx = FBounds.width() / 2.0, ry = FBounds.height() / 2.0;
    if (rx <= 0 || ry <= 0)
        return false;
    const double dx = (p.x() - (FBounds.left() + rx)) / rx;
    const double dy = (p.y() - (FBounds.top() + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

void TEllipticNode::Draw(QPainter& painter, const TTransformacion& t) const {
    if (Pen().Style == psClear && Brush().Style == bsClear)
        return;
    painter.setPen(QPenDe(Pen(), t.Escala));
    painter.setBrush(QBrushDe(Brush()));
    painter.drawEllipse(DeviceRect(t));
}

void TGraphLink::comprobarIndice(int index) const {
    if (index < 0 || index >= PointCount())
        throw ESenderalError(TextoIndicePuntoInvalido(index));
}
void TGraphLink::AddPoint(const QPoint& p) {
    Changing();
    FPoints.push_back(p);
    invalidarCaches();
    Changed(true);
}
QPoint TGraphLink::Point(int index) const {
    comprobarIndice(index);
    return FPoints[size_t(index)];
}
void TGraphLink::SetPoint(int index, const QPoint& p) {
    comprobarIndice(index);
    if (FPoints[size_t(index)] != p) {
        Changing();
        FPoints[size_t(index)] = p;
        invalidarCaches();
        Changed(true);
    }
}
void TGraphLink::SetPoints(std::vector<QPoint> points) {
    Changing();
    FPoints = std::move(points);
    invalidarCaches();
    Changed(true);
}

int TGraphLink::HitDistance() const {
    return std::max(Pen().Width / 2, FOwner ? FOwner->MarkerSize : 3);
}

QRect TGraphLink::DrawRect() const {
    if (FPoints.empty())
        return QRect(0, 0, -1, -1); // nothing drawn
    if (!FCacheValido) {
        int x0 = FPoints[0].x(), x1 = x0, y0 = FPoints[0].y(), y1 = y0;
        for (const QPoint& p : FPoints) {
            x0 = std::min(x0, p.x());
            x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
        FCacheRect = QRect(QPoint(x0, y0), QPoint(x1, y1));
        FCacheValido = true;
    }
    const int m = Pen().Style == psClear ? 0 : Pen().Width / 2;
    // Bounds as left/top/right/bottom: a horizontal line still has its pen's height.
    return QRect(FCacheRect.left() - m, FCacheRect.top() - m, FCacheRect.width() - 1 + 2 * m,
                 FCacheRect.height() - 1 + 2 * m);
}

bool TGraphLink::SegmentHit(int segment, const QPointF& p) const {
    const double d = HitDistance();
    const QPointF a = FPoints[size_t(segment)];
    const QPointF b = segment + 1 < PointCount() ? QPointF(FPoints[size_t(segment) + 1]) : a;
    return distanciaSegmento(p, a, b) <= d;
}

bool TGraphLink::HitTest(const QPointF& p) const {
    for (int i = 0; i < PointCount(); ++i)
        if (SegmentHit(i, p))
            return true;
    return false;
}

void TGraphLink::Draw(QPainter& painter, const TTransformacion& t) const {
    if (FPoints.empty() || Pen().Style == psClear)
        return;
    painter.setPen(QPenDe(Pen(), t.Escala));
    painter.setBrush(Qt::NoBrush);
    if (t.Vectorial) {
        QPolygonF poly;
        poly.reserve(qsizetype(FPoints.size()));
        for (const QPoint& p : FPoints)
            poly << t.Mapear(p.x(), p.y());
        painter.drawPolyline(poly);
        return;
    }
    const int n = PointCount();
    if (FTramos.empty()) {
        // Run k covers points k*PuntosTramo .. (k+1)*PuntosTramo, sharing its last point
        // with the next run so that no segment is lost.
        for (int a = 0; a < n; a += PuntosTramo) {
            const int b = std::min(n - 1, a + PuntosTramo);
            int x0 = FPoints[size_t(a)].x(), x1 = x0, y0 = FPoints[size_t(a)].y(), y1 = y0;
            for (int k = a; k <= b; ++k) {
                const QPoint& p = FPoints[size_t(k)];
                x0 = std::min(x0, p.x()), x1 = std::max(x1, p.x());
                y0 = std::min(y0, p.y()), y1 = std::max(y1, p.y());
            }
            FTramos.push_back(QRect(QPoint(x0, y0), QPoint(x1, y1)));
        }
    }
    // The painter's clip in graph units, widened by the pen.
    QRectF zona;
    if (painter.hasClipping()) {
        const QRectF c = painter.clipBoundingRect();
        const double m = std::max(2.0, Pen().Width * t.Escala) + 2;
        zona = QRectF((c.left() - m + t.Origen.x()) / t.Escala,
                      (c.top() - m + t.Origen.y()) / t.Escala, (c.width() + 2 * m) / t.Escala,
                      (c.height() + 2 * m) / t.Escala);
    }
    // On screen, consecutive points that fall on the same pixel add nothing but work.
    QPolygon tramo;
    tramo.reserve(1024);
    auto vaciar = [&]() {
        if (tramo.size() == 1)
            tramo << tramo.first();
        if (!tramo.isEmpty())
            painter.drawPolyline(tramo);
        tramo.clear();
    };
    const double e = t.Escala, ox = t.Origen.x(), oy = t.Origen.y();
    for (size_t k = 0; k < FTramos.size(); ++k) {
        const QRect& r = FTramos[k];
        if (!zona.isNull() && (r.right() < zona.left() || r.left() > zona.right() ||
                               r.bottom() < zona.top() || r.top() > zona.bottom())) {
            vaciar();
            continue;
        }
        const int a = int(k) * PuntosTramo, b = std::min(n - 1, a + PuntosTramo);
        for (int i = tramo.isEmpty() ? a : a + 1; i <= b; ++i) {
            const QPoint& p = FPoints[size_t(i)];
            const QPoint d(int(std::lrint(p.x() * e - ox)), int(std::lrint(p.y() * e - oy)));
            if (tramo.isEmpty() || tramo.last() != d)
                tramo << d;
        }
    }
    vaciar();
}
