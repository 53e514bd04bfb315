#include "TrackPointMarks.h"

#include "GraphScene.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace {
bool dentroElipse(const QRect& b, const QPointF& p) {
    const double rx = b.width() / 2.0, ry = b.height() / 2.0;
    if (rx <= 0 || ry <= 0)
        return false;
    const double dx = (p.x() - (b.left() + rx)) / rx;
    const double dy = (p.y() - (b.top() + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

bool seVe(const TGraphPen& pen, const TGraphBrush& brush) {
    return pen.Style != psClear || brush.Style != bsClear;
}

QRect conPluma(const QRect& b, const TGraphPen& pen) {
    const int m = pen.Style == psClear ? 0 : pen.Width / 2;
    return b.adjusted(-m, -m, m, m);
}

// Draws marks onto one painter: a small ellipse is drawn once into a picture and
// stamped wherever it repeats; the same picture twice in a row on the same pixels is
// drawn once.
class TSellador {
  public:
    TSellador(QPainter& painter, const TTransformacion& t) : FP(painter), FT(t) {}

    void Dibujar(const QRect& b, const TGraphPen& pen, const TGraphBrush& brush) {
        if (!seVe(pen, brush))
            return;
        const double e = FT.Escala, ox = FT.Origen.x(), oy = FT.Origen.y();
        const int x0 = int(std::lrint(b.x() * e - ox)), y0 = int(std::lrint(b.y() * e - oy));
        const int w = std::max(1, int(std::lrint((b.x() + b.width()) * e - ox)) - x0);
        const int h = std::max(1, int(std::lrint((b.y() + b.height()) * e - oy)) - y0);
        if (FT.Vectorial || w > 48 || h > 48) {
            FHayUltimo = false;
            FP.setPen(QPenDe(pen, e));
            FP.setBrush(QBrushDe(brush));
            FP.drawEllipse(QRectF(FT.Mapear(b.x(), b.y()), QSizeF(b.width() * e, b.height() * e)));
            return;
        }
        const Clave k{
            w,           h,
            pen.Color,   pen.Style == psClear ? -1 : int(std::lrint(std::max(1.0, pen.Width * e))),
            brush.Color, brush.Style};
        if (FHayUltimo && x0 == FX && y0 == FY && k == FUltima)
            return;
        auto it = FSellos.find(k);
        if (it == FSellos.end()) {
            const int m = std::max(0, k.penPx);
            QPixmap px(w + 2 * m + 1, h + 2 * m + 1);
            px.fill(Qt::transparent);
            QPainter sp(&px);
            sp.setRenderHint(QPainter::Antialiasing, true);
            sp.setPen(QPenDe(pen, e));
            sp.setBrush(QBrushDe(brush));
            sp.drawEllipse(QRectF(m, m, w, h));
            sp.end();
            it = FSellos.insert(k, px);
        }
        const int m = std::max(0, k.penPx);
        FP.drawPixmap(x0 - m, y0 - m, it.value());
        FHayUltimo = true;
        FUltima = k;
        FX = x0, FY = y0;
    }

  private:
    struct Clave {
        int w, h;
        TColor penColor;
        int penPx; // -1: no pen
        TColor brushColor;
        TBrushStyle brushStyle;
        bool operator==(const Clave& o) const {
            return w == o.w && h == o.h && penColor == o.penColor && penPx == o.penPx &&
                   brushColor == o.brushColor && brushStyle == o.brushStyle;
        }
        friend size_t qHash(const Clave& k, size_t seed = 0) {
            return ::qHash(k.w * 131 + k.h, seed) ^
                   ::qHash(k.penColor ^ (k.brushColor << 1), seed) ^
                   ::qHash(k.penPx * 7 + int(k.brushStyle), seed);
        }
    };
    QPainter& FP;
    const TTransformacion& FT;
    QHash<Clave, QPixmap> FSellos;
    bool FHayUltimo = false;
    Clave FUltima{};
    int FX = 0, FY = 0;
};
} // namespace

// ---------------------------------------------------------------- the node's side

void TTrackNode::BringToFront() {
    if (FMarcas)
        FMarcas->nodoAlFrente(this);
    else
        TEllipticNode::BringToFront();
}

void TTrackNode::Changed(bool geometry) {
    if (FMarcas)
        FMarcas->nodoCambiado(this, geometry);
    TEllipticNode::Changed(geometry);
}

// ---------------------------------------------------------------- the marks

TTrackPointMarks::TTrackPointMarks(TGraphScene* owner) : TGraphObject(owner) {}

TTrackPointMarks::~TTrackPointMarks() {
    // The nodes go with the marks and must not report it.
    for (auto& [i, nodo] : FNodos) {
        nodo->FMarcas = nullptr;
        nodo->FOwner = nullptr;
    }
}

int TTrackPointMarks::minimo() const {
    return FOwner ? FOwner->MinNodeSize : 1;
}

double TTrackPointMarks::alcanceEn(const QRectF& area) const {
    // Near the edges of the canvas the placement rule pushes marks inward, up to their
    // whole size away from their centres.
    const int tam = std::max(2 * FMitad, minimo());
    const double borde = 2.0 * tam + 2;
    constexpr double maximo = 65535; // the greatest coordinate a node may reach
    const bool cerca = area.left() - borde < 0 || area.top() - borde < 0 ||
                       area.right() + borde > maximo || area.bottom() + borde > maximo;
    return cerca ? std::max(FAlcance, tam + 1) : FAlcance;
}

void TTrackPointMarks::SetPoints(std::vector<QPoint> centres, const TTablaMedidas* tabla) {
    Changing();
    for (auto& [i, nodo] : FNodos) {
        nodo->FMarcas = nullptr;
        nodo->FOwner = nullptr;
    }
    FNodos.clear();
    FElevados.clear();
    FCentros = std::move(centres);
    FTabla = tabla;
    FConNodo.assign(FCentros.size(), false);
    FExtensionCentros = QRect();
    if (!FCentros.empty()) {
        int x0 = FCentros[0].x(), x1 = x0, y0 = FCentros[0].y(), y1 = y0;
        for (const QPoint& c : FCentros) {
            x0 = std::min(x0, c.x()), x1 = std::max(x1, c.x());
            y0 = std::min(y0, c.y()), y1 = std::max(y1, c.y());
        }
        FExtensionCentros = QRect(QPoint(x0, y0), QPoint(x1, y1));
    }
    FAlcance = std::max(FMitad, minimo() - FMitad) + 1;
    FRectValido = false;
    FCeldasValidas = false;
    FInicio.clear();
    FIndices.clear();
    Changed(true);
}

QRect TTrackPointMarks::marcaPorDefecto(int i) const {
    const QPoint c = FCentros[size_t(i)];
    return TGraphNode::Colocar(c.x() - FMitad, c.y() - FMitad, 2 * FMitad, 2 * FMitad, minimo(),
                               false);
}

QRect TTrackPointMarks::MarkRect(int i) const {
    if (const TTrackNode* n = NodeIfMade(i))
        return n->BoundsRect();
    return marcaPorDefecto(i);
}

void TTrackPointMarks::SetLook(int halfWidth, const TGraphPen& pen, const TGraphBrush& brush) {
    Changing();
    FMitad = halfWidth;
    FPen = pen;
    FBrush = brush;
    FAlcance = std::max(FMitad, minimo() - FMitad) + 1;
    for (auto& [i, nodo] : FNodos) {
        nodo->FPen = pen;
        nodo->FBrush = brush;
        nodo->FVisible = true;
        nodo->FElevado = 0;
        nodo->FBounds = marcaPorDefecto(i);
    }
    FElevados.clear();
    FRectValido = false;
    Changed(true);
}

TTrackNode* TTrackPointMarks::NodeIfMade(int i) const {
    if (i < 0 || size_t(i) >= FConNodo.size() || !FConNodo[size_t(i)])
        return nullptr;
    return FNodos.find(i)->second.get();
}

TTrackNode* TTrackPointMarks::Node(int i) {
    if (TTrackNode* n = NodeIfMade(i))
        return n;
    if (i < 0 || i >= Count())
        return nullptr;
    auto nodo = std::make_unique<TTrackNode>(FOwner);
    nodo->Center = FCentros[size_t(i)];
    nodo->Tag = i + 1;
    nodo->FOptions &= ~goSelectable;
    nodo->SetMedidas(FTabla, i);
    nodo->FPen = FPen;
    nodo->FBrush = FBrush;
    nodo->FBounds = marcaPorDefecto(i);
    nodo->FMarcas = this;
    TTrackNode* raw = nodo.get();
    FNodos.emplace(i, std::move(nodo));
    FConNodo[size_t(i)] = true;
    return raw;
}

void TTrackPointMarks::nodoCambiado(TTrackNode* nodo, bool geometry) {
    if (!geometry)
        return;
    FRectValido = false;
    const QRect r = conPluma(nodo->BoundsRect(), nodo->Pen());
    const QPoint c = FCentros[size_t(nodo->FIndice)];
    const int lejos = std::max(
        {c.x() - r.left(), r.right() + 1 - c.x(), c.y() - r.top(), r.bottom() + 1 - c.y()});
    FAlcance = std::max(FAlcance, lejos + 1);
    // The canvas's bounds and pointer index follow from the node's own change.
}

void TTrackPointMarks::nodoAlFrente(TTrackNode* nodo) {
    if (nodo->FElevado != 0) {
        if (!FElevados.empty() && FElevados.back() == nodo)
            return;
        FElevados.erase(std::find(FElevados.begin(), FElevados.end(), nodo));
    }
    nodo->FElevado = FSiguienteElevado++;
    FElevados.push_back(nodo);
    // Above whatever else the canvas holds, as the node itself would be.
    TGraphObject::BringToFront();
    nodo->Invalidate();
}

QRect TTrackPointMarks::DrawRect() const {
    if (FRectValido)
        return FRectCache;
    QRect r;
    if (!FCentros.empty()) {
        // Placement only ever moves a mark toward the inside, so the extreme centres give
        // the extreme marks.
        const QRect a =
            TGraphNode::Colocar(FExtensionCentros.left() - FMitad, FExtensionCentros.top() - FMitad,
                                2 * FMitad, 2 * FMitad, minimo(), false);
        const QRect b = TGraphNode::Colocar(FExtensionCentros.right() - FMitad,
                                            FExtensionCentros.bottom() - FMitad, 2 * FMitad,
                                            2 * FMitad, minimo(), false);
        // Extent as right/bottom edges, as a node's: a mark 4 wide at 0 reaches 4.
        r = conPluma(QRect(a.x(), a.y(), b.x() + b.width() - a.x(), b.y() + b.height() - a.y()),
                     FPen);
        for (const auto& [i, nodo] : FNodos)
            if (nodo->Visible())
                r = r.united(nodo->DrawRect());
    } else {
        r = QRect(0, 0, -1, -1); // nothing drawn
    }
    FRectCache = r;
    FRectValido = true;
    return r;
}

void TTrackPointMarks::construirCeldas() const {
    FCeldasValidas = true;
    FInicio.clear();
    FIndices.clear();
    FColumnas = FFilas = 0;
    if (FCentros.empty())
        return;
    const QRect& e = FExtensionCentros;
    // At most about 512 cells a side, none smaller than 4 units.
    FCelda = std::max(4, std::max(e.width(), e.height()) / 512 + 1);
    FColumnas = e.width() / FCelda + 1;
    FFilas = e.height() / FCelda + 1;
    const size_t celdas = size_t(FColumnas) * size_t(FFilas);
    auto celdaDe = [&](const QPoint& c) {
        return size_t((c.y() - e.top()) / FCelda) * size_t(FColumnas) +
               size_t((c.x() - e.left()) / FCelda);
    };
    FInicio.assign(celdas + 1, 0);
    for (const QPoint& c : FCentros)
        ++FInicio[celdaDe(c) + 1];
    for (size_t c = 0; c < celdas; ++c)
        FInicio[c + 1] += FInicio[c];
    FIndices.resize(FCentros.size());
    std::vector<std::uint32_t> lleno(FInicio.begin(), FInicio.end() - 1);
    for (size_t i = 0; i < FCentros.size(); ++i)
        FIndices[lleno[celdaDe(FCentros[i])]++] = std::uint32_t(i);
}

template <class F> void TTrackPointMarks::recorrerArea(const QRectF& area, F f) const {
    if (!FCeldasValidas)
        construirCeldas();
    if (FColumnas == 0)
        return;
    const QRect& e = FExtensionCentros;
    if (area.right() < e.left() || area.left() > e.right() || area.bottom() < e.top() ||
        area.top() > e.bottom())
        return;
    const int c0 = std::clamp(int(std::floor((area.left() - e.left()) / FCelda)), 0, FColumnas - 1);
    const int c1 =
        std::clamp(int(std::floor((area.right() - e.left()) / FCelda)), 0, FColumnas - 1);
    const int f0 = std::clamp(int(std::floor((area.top() - e.top()) / FCelda)), 0, FFilas - 1);
    const int f1 = std::clamp(int(std::floor((area.bottom() - e.top()) / FCelda)), 0, FFilas - 1);
    for (int fila = f0; fila <= f1; ++fila)
        for (int c = c0; c <= c1; ++c) {
            const size_t celda = size_t(fila) * size_t(FColumnas) + size_t(c);
            for (std::uint32_t k = FInicio[celda]; k < FInicio[celda + 1]; ++k)
                f(int(FIndices[k]));
        }
}

std::vector<int> TTrackPointMarks::enArea(const QRectF& area) const {
    std::vector<int> r;
    recorrerArea(area, [&r](int i) { r.push_back(i); });
    std::sort(r.begin(), r.end());
    return r;
}

int TTrackPointMarks::PointAt(const QPointF& p) const {
    if (!Visible() || FCentros.empty())
        return -1;
    const double a = alcanceEn(QRectF(p, QSizeF(0, 0)));
    int mejor = -1;
    std::uint64_t elevadoMejor = 0;
    recorrerArea(QRectF(p.x() - a, p.y() - a, 2 * a, 2 * a), [&](int i) {
        const TTrackNode* n = FConNodo[size_t(i)] ? FNodos.find(i)->second.get() : nullptr;
        const std::uint64_t elevado = n ? n->FElevado : 0;
        // On top: the node brought forward last, else the latest point.
        if (mejor >= 0 && (elevado < elevadoMejor || (elevado == elevadoMejor && i < mejor)))
            return;
        const bool hit = n ? n->Visible() && dentroElipse(n->BoundsRect(), p)
                           : dentroElipse(marcaPorDefecto(i), p);
        if (hit) {
            mejor = i;
            elevadoMejor = elevado;
        }
    });
    return mejor;
}

bool TTrackPointMarks::HitTest(const QPointF& p) const {
    return PointAt(p) >= 0;
}

TGraphObject* TTrackPointMarks::Pick(const QPointF& p) {
    const int i = PointAt(p);
    return i < 0 ? nullptr : Node(i);
}

void TTrackPointMarks::Draw(QPainter& painter, const TTransformacion& t) const {
    if (FCentros.empty())
        return;
    // The painter's clip in graph units, widened by the largest mark.
    QRectF zona;
    if (painter.hasClipping()) {
        const QRectF c = painter.clipBoundingRect();
        const QRectF g((c.left() + t.Origen.x()) / t.Escala, (c.top() + t.Origen.y()) / t.Escala,
                       c.width() / t.Escala, c.height() / t.Escala);
        const double m = alcanceEn(g) + 2 + 2 / t.Escala;
        zona = g.adjusted(-m, -m, m, m);
    }
    auto fuera = [&](const QRect& b) {
        return !zona.isNull() && (b.x() + b.width() < zona.left() || b.x() > zona.right() ||
                                  b.y() + b.height() < zona.top() || b.y() > zona.bottom());
    };
    TSellador sellador(painter, t);
    auto dibujarNodo = [&](const TTrackNode* n) {
        if (n->Visible() && !fuera(n->BoundsRect()))
            sellador.Dibujar(n->BoundsRect(), n->Pen(), n->Brush());
    };
    auto dibujarPunto = [&](int i) {
        if (FConNodo[size_t(i)]) {
            const TTrackNode* n = FNodos.find(i)->second.get();
            if (n->FElevado == 0)
                dibujarNodo(n);
            return;
        }
        const QRect b = marcaPorDefecto(i);
        if (!fuera(b))
            sellador.Dibujar(b, FPen, FBrush);
    };
    if (seVe(FPen, FBrush)) {
        // A small area (a moving point, the animation's current point) takes the points
        // of its cells; a large one goes through them all.
        const QRectF todo = FExtensionCentros;
        if (!zona.isNull() &&
            zona.width() * zona.height() * 16 < std::max(1.0, todo.width() * todo.height())) {
            for (int i : enArea(zona))
                dibujarPunto(i);
        } else {
            for (int i = 0; i < Count(); ++i)
                dibujarPunto(i);
        }
    } else {
        for (const auto& [i, nodo] : FNodos)
            if (nodo->FElevado == 0)
                dibujarNodo(nodo.get());
    }
    for (const TTrackNode* n : FElevados)
        dibujarNodo(n);
}
