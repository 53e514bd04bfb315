#include "GraphObjects.h"

#include "SenderalError.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
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

QPen penDe(const TGraphPen& p, double escala) {
    if (p.Style == psClear)
        return Qt::NoPen;
    QPen pen(ColorAQColor(p.Color));
    pen.setWidthF(std::max(1.0, p.Width * escala));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QBrush brushDe(const TGraphBrush& b) {
    if (b.Style == bsClear)
        return Qt::NoBrush;
    return QBrush(ColorAQColor(b.Color));
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

QString TextoIndicePuntoInvalido(int index) {
    return QStringLiteral("Invalid point index. (%1)").arg(index);
}

// ---------------------------------------------------------------- objects

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
void TGraphObject::Invalidate() { Changed(false); }

void TGraphNode::SetWidth(int v) { Place(Left(), Top(), v, Height(), true); }
void TGraphNode::SetHeight(int v) { Place(Left(), Top(), Width(), v, true); }
void TGraphNode::SetBounds(int left, int top, int width, int height) {
    // Moving a node moves it back from the far edge; only a pure resize shrinks it.
    const bool soloTamano = left == Left() && top == Top();
    Place(left, top, width, height, soloTamano && (width != Width() || height != Height()));
}

void TGraphNode::Place(int left, int top, int width, int height, bool sizeChanges) {
    const int minSize = FOwner ? FOwner->MinNodeSize : 1;
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
    const QRect r(left, top, width, height);
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
    painter.setPen(penDe(Pen(), t.Escala));
    painter.setBrush(brushDe(Brush()));
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
    painter.setPen(penDe(Pen(), t.Escala));
    painter.setBrush(brushDe(Brush()));
    painter.drawEllipse(DeviceRect(t));
}

void TGraphLink::comprobarIndice(int index) const {
    if (index < 0 || index >= PointCount())
        throw ESenderalError(TextoIndicePuntoInvalido(index));
}
void TGraphLink::AddPoint(const QPoint& p) {
    Changing();
    FPoints.push_back(p);
    FCacheValido = false;
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
        FCacheValido = false;
        Changed(true);
    }
}
void TGraphLink::SetPoints(std::vector<QPoint> points) {
    Changing();
    FPoints = std::move(points);
    FCacheValido = false;
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
    painter.setPen(penDe(Pen(), t.Escala));
    painter.setBrush(Qt::NoBrush);
    if (t.Vectorial) {
        QPolygonF poly;
        poly.reserve(qsizetype(FPoints.size()));
        for (const QPoint& p : FPoints)
            poly << t.Mapear(p.x(), p.y());
        painter.drawPolyline(poly);
        return;
    }
    // On screen, consecutive points that fall on the same pixel add nothing but work, and
    // runs that stay far outside the clip are left out.
    const QRectF clip = painter.hasClipping() ? painter.clipBoundingRect() : QRectF();
    const double margen = std::max(2.0, Pen().Width * t.Escala) + 2;
    const QRectF zona = clip.isNull() ? QRectF() : clip.adjusted(-margen, -margen, margen, margen);
    QPolygon tramo;
    tramo.reserve(1024);
    auto vaciar = [&]() {
        if (tramo.size() == 1)
            tramo << tramo.first();
        if (!tramo.isEmpty())
            painter.drawPolyline(tramo);
        tramo.clear();
    };
    QPoint previo;
    QPointF previoF;
    for (size_t i = 0; i < FPoints.size(); ++i) {
        const QPointF f = t.Mapear(FPoints[i].x(), FPoints[i].y());
        const QPoint d(int(std::lround(f.x())), int(std::lround(f.y())));
        if (!zona.isNull() && i > 0) {
            const QRectF seg = QRectF(previoF, f).normalized().adjusted(-1, -1, 1, 1);
            if (!zona.intersects(seg)) {
                vaciar();
                previo = d;
                previoF = f;
                continue;
            }
            if (tramo.isEmpty())
                tramo << previo;
        }
        if (tramo.isEmpty() || tramo.last() != d)
            tramo << d;
        previo = d;
        previoF = f;
    }
    vaciar();
}

// ---------------------------------------------------------------- scene

TGraphScene::TGraphScene() = default;
TGraphScene::~TGraphScene() {
    // Objects must not report changes while they go.
    OnCambio = nullptr;
    for (auto& o : FObjetos)
        o->FOwner = nullptr;
}

void TGraphScene::agregar(std::unique_ptr<TGraphObject> obj) {
    obj->FZ = FSiguienteZ++;
    FObjetos.push_back(std::move(obj));
    FIndiceValido = false;
    FBoundsValidos = false;
    cambio(FObjetos.back().get(), true);
}

void TGraphScene::Clear() {
    for (auto& o : FObjetos)
        o->FOwner = nullptr;
    FObjetos.clear();
    FDesordenado = false;
    FIndiceValido = false;
    FBoundsValidos = false;
    FCeldas.clear();
    if (OnCambio)
        OnCambio(QRect());
}

TGraphObject* TGraphScene::Object(int index) const {
    ordenar();
    if (index < 0 || index >= int(FObjetos.size()))
        return nullptr;
    return FObjetos[size_t(index)].get();
}

void TGraphScene::alFrente(TGraphObject* obj) {
    if (obj->FZ == FSiguienteZ - 1)
        return;
    obj->FZ = FSiguienteZ++;
    FDesordenado = true;
    cambio(obj, false);
}

void TGraphScene::ordenar() const {
    if (!FDesordenado)
        return;
    std::stable_sort(FObjetos.begin(), FObjetos.end(),
                     [](const auto& a, const auto& b) { return a->FZ < b->FZ; });
    FDesordenado = false;
}

void TGraphScene::antesDeCambio(TGraphObject* obj) {
    if (OnCambio && UpdateCount == 0)
        OnCambio(obj->DrawRect().adjusted(-2, -2, 2, 2));
}

void TGraphScene::cambio(TGraphObject* obj, bool geometry) {
    if (geometry) {
        FIndiceValido = false;
        FBoundsValidos = false;
    }
    if (!OnCambio)
        return;
    if (UpdateCount > 0) {
        OnCambio(QRect()); // the whole canvas is repainted once the update ends
        return;
    }
    OnCambio(obj->DrawRect().adjusted(-2, -2, 2, 2));
}

QRect TGraphScene::GraphBounds() const {
    if (FBoundsValidos)
        return FBounds;
    QRect r;
    bool alguno = false;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const auto& o : FObjetos) {
        if (!o->Visible())
            continue;
        const QRect d = o->DrawRect();
        if (d.width() < 0 || d.height() < 0)
            continue;
        // Extent as right/bottom edges: a node 16 wide at 0 reaches 16.
        const int l = d.left(), t = d.top(), ri = d.left() + d.width(), b = d.top() + d.height();
        if (!alguno) {
            x0 = l, y0 = t, x1 = ri, y1 = b;
            alguno = true;
        } else {
            x0 = std::min(x0, l), y0 = std::min(y0, t), x1 = std::max(x1, ri), y1 = std::max(y1, b);
        }
    }
    if (alguno)
        r = QRect(x0, y0, x1 - x0, y1 - y0);
    else
        r = QRect(0, 0, 0, 0);
    FBounds = r;
    FBoundsValidos = true;
    return r;
}

void TGraphScene::construirIndice() const {
    FCeldas.clear();
    FIndiceValido = true;
    // The extent of all objects, drawn or not, sets the grid.
    bool alguno = false;
    QRect area;
    for (const auto& o : FObjetos) {
        QRect d = o->DrawRect();
        if (auto* l = dynamic_cast<const TGraphLink*>(o.get())) {
            const int m = l->HitDistance();
            d = d.adjusted(-m, -m, m, m);
        }
        if (d.width() < 0 || d.height() < 0)
            continue;
        area = alguno ? area.united(d.adjusted(0, 0, 1, 1)) : d.adjusted(0, 0, 1, 1);
        alguno = true;
    }
    if (!alguno) {
        FColumnas = FFilas = 0;
        return;
    }
    FAreaIndice = area;
    // About 256 cells a side, none smaller than 4 units.
    FCelda = std::max(4, std::max(area.width(), area.height()) / 256 + 1);
    FColumnas = area.width() / FCelda + 1;
    FFilas = area.height() / FCelda + 1;
    FCeldas.assign(size_t(FColumnas) * size_t(FFilas), {});
    auto insertar = [this](const QRectF& r, const Entrada& e) {
        const int c0 = std::clamp(int(std::floor((r.left() - FAreaIndice.left()) / FCelda)), 0, FColumnas - 1);
        const int c1 = std::clamp(int(std::floor((r.right() - FAreaIndice.left()) / FCelda)), 0, FColumnas - 1);
        const int f0 = std::clamp(int(std::floor((r.top() - FAreaIndice.top()) / FCelda)), 0, FFilas - 1);
        const int f1 = std::clamp(int(std::floor((r.bottom() - FAreaIndice.top()) / FCelda)), 0, FFilas - 1);
        for (int f = f0; f <= f1; ++f)
            for (int c = c0; c <= c1; ++c)
                FCeldas[size_t(f) * size_t(FColumnas) + size_t(c)].push_back(e);
    };
    for (const auto& o : FObjetos) {
        if (auto* l = dynamic_cast<const TGraphLink*>(o.get())) {
            const double m = l->HitDistance();
            const auto& pts = l->Points();
            for (size_t i = 0; i < pts.size(); ++i) {
                const QPointF a = pts[i];
                const QPointF b = i + 1 < pts.size() ? QPointF(pts[i + 1]) : a;
                insertar(QRectF(a, b).normalized().adjusted(-m, -m, m, m), {o.get(), int(i)});
            }
        } else {
            const QRect d = o->DrawRect();
            insertar(QRectF(d.left(), d.top(), d.width(), d.height()), {o.get(), -1});
        }
    }
}

TGraphObject* TGraphScene::ObjectAt(const QPointF& p) const {
    if (!FIndiceValido)
        construirIndice();
    if (FColumnas == 0)
        return nullptr;
    const int c = int(std::floor((p.x() - FAreaIndice.left()) / FCelda));
    const int f = int(std::floor((p.y() - FAreaIndice.top()) / FCelda));
    if (c < 0 || f < 0 || c >= FColumnas || f >= FFilas)
        return nullptr;
    TGraphObject* mejor = nullptr;
    for (const Entrada& e : FCeldas[size_t(f) * size_t(FColumnas) + size_t(c)]) {
        if (!e.obj->Visible() || (mejor && e.obj->FZ <= mejor->FZ))
            continue;
        const bool hit = e.segmento >= 0
                             ? static_cast<const TGraphLink*>(e.obj)->SegmentHit(e.segmento, p)
                             : e.obj->HitTest(p);
        if (hit)
            mejor = e.obj;
    }
    return mejor;
}

namespace {
// A small node drawn once into a picture and stamped wherever it repeats.
struct ClaveSello {
    int w, h;
    TGraphPen pen;
    TGraphBrush brush;
    bool elipse;
    int penPx;
    bool operator==(const ClaveSello& o) const {
        return w == o.w && h == o.h && pen.Color == o.pen.Color && pen.Style == o.pen.Style &&
               penPx == o.penPx && brush.Color == o.brush.Color && brush.Style == o.brush.Style &&
               elipse == o.elipse;
    }
};
size_t qHash(const ClaveSello& k, size_t seed = 0) {
    return ::qHash(k.w * 131 + k.h, seed) ^ ::qHash(k.pen.Color ^ (k.brush.Color << 1), seed) ^
           ::qHash(int(k.pen.Style) * 7 + int(k.brush.Style) * 3 + int(k.elipse) + k.penPx * 11, seed);
}
} // namespace

void TGraphScene::Render(QPainter& painter, const TTransformacion& t, const QRectF& area,
                         bool handles) const {
    ordenar();
    QHash<ClaveSello, QPixmap> sellos;
    bool hayUltimo = false;
    ClaveSello ultimaClave{};
    QPoint ultimaPos;
    for (const auto& o : FObjetos) {
        if (!o->Visible())
            continue;
        const QRect d = o->DrawRect();
        if (!area.isNull() && !area.intersects(QRectF(d.left(), d.top(), d.width() + 1, d.height() + 1)))
            continue;
        auto* nodo = dynamic_cast<const TGraphNode*>(o.get());
        if (nodo && !t.Vectorial) {
            if (o->Pen().Style == psClear && o->Brush().Style == bsClear)
                continue;
            const QRectF r = nodo->DeviceRect(t);
            const int x0 = int(std::lround(r.left())), y0 = int(std::lround(r.top()));
            const int w = std::max(1, int(std::lround(r.right())) - x0);
            const int h = std::max(1, int(std::lround(r.bottom())) - y0);
            if (w <= 48 && h <= 48) {
                const bool elipse = dynamic_cast<const TEllipticNode*>(nodo) != nullptr;
                ClaveSello k{w, h, o->Pen(), o->Brush(), elipse,
                             int(std::lround(std::max(1.0, o->Pen().Width * t.Escala)))};
                // Stamping the same picture twice in a row on the same pixel changes nothing.
                if (hayUltimo && ultimaPos == QPoint(x0, y0) && ultimaClave == k)
                    continue;
                auto it = sellos.find(k);
                if (it == sellos.end()) {
                    const int m = k.pen.Style == psClear ? 0 : k.penPx;
                    QPixmap px(w + 2 * m + 1, h + 2 * m + 1);
                    px.fill(Qt::transparent);
                    QPainter sp(&px);
                    sp.setRenderHint(QPainter::Antialiasing, true);
                    TTransformacion ts;
                    ts.Escala = t.Escala;
                    ts.Origen = QPointF(-m, -m);
                    sp.setPen(penDe(k.pen, t.Escala));
                    sp.setBrush(brushDe(k.brush));
                    const QRectF rr(m, m, w, h);
                    if (elipse)
                        sp.drawEllipse(rr);
                    else
                        sp.drawRect(rr);
                    sp.end();
                    it = sellos.insert(k, px);
                }
                const int m = k.pen.Style == psClear ? 0 : k.penPx;
                painter.drawPixmap(x0 - m, y0 - m, it.value());
                hayUltimo = true;
                ultimaClave = k;
                ultimaPos = QPoint(x0, y0);
                continue;
            }
        }
        hayUltimo = false;
        o->Draw(painter, t);
    }
    if (!handles)
        return;
    const int ms = MarkerSize;
    painter.setPen(QPen(Qt::black));
    painter.setBrush(Qt::black);
    for (const auto& o : FObjetos) {
        if (!o->Visible() || !o->Selected())
            continue;
        auto* nodo = dynamic_cast<const TGraphNode*>(o.get());
        if (!nodo)
            continue;
        const QRectF r = nodo->DeviceRect(t);
        const double xs[3] = {r.left(), r.center().x(), r.right()};
        const double ys[3] = {r.top(), r.center().y(), r.bottom()};
        for (double x : xs)
            for (double y : ys)
                if (!(x == xs[1] && y == ys[1]))
                    painter.drawRect(QRectF(x - ms / 2.0, y - ms / 2.0, ms, ms));
    }
}
