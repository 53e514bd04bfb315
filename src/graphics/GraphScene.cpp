#include "GraphScene.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

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
    FInicio.clear();
    FEntradas.clear();
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
    if (!FDesordenado && UpdateCount == 0) {
        // One object at a time (the animation's current point): move it to the end
        // rather than sort the whole list at the next paint.
        auto it = std::find_if(FObjetos.begin(), FObjetos.end(),
                               [obj](const auto& o) { return o.get() == obj; });
        if (it != FObjetos.end())
            std::rotate(it, it + 1, FObjetos.end());
    } else {
        FDesordenado = true;
    }
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
    FInicio.clear();
    FEntradas.clear();
    FIndiceValido = true;
    FColumnas = FFilas = 0;
    // The extent of all objects, drawn or not, sets the grid.
    bool alguno = false;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const auto& o : FObjetos) {
        QRect d = o->DrawRect();
        if (d.width() < 0 || d.height() < 0)
            continue;
        if (o->Forma() == TGraphObject::TForma::Linea) {
            const int m = static_cast<const TGraphLink*>(o.get())->HitDistance();
            d = d.adjusted(-m, -m, m, m);
        }
        const int l = d.x(), t = d.y(), r = d.x() + d.width(), b = d.y() + d.height();
        if (!alguno) {
            x0 = l, y0 = t, x1 = r, y1 = b;
            alguno = true;
        } else {
            x0 = std::min(x0, l), y0 = std::min(y0, t), x1 = std::max(x1, r), y1 = std::max(y1, b);
        }
    }
    if (!alguno)
        return;
    FAreaIndice = QRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    // About 256 cells a side, none smaller than 4 units.
    FCelda = std::max(4, std::max(FAreaIndice.width(), FAreaIndice.height()) / 256 + 1);
    FColumnas = FAreaIndice.width() / FCelda + 1;
    FFilas = FAreaIndice.height() / FCelda + 1;
    const size_t celdas = size_t(FColumnas) * size_t(FFilas);

    // Two rounds over the same rectangles: count per cell, then fill one flat array.
    auto recorrer = [this](auto&& porCelda) {
        auto celdasDe = [&](double l, double t, double r, double b, const Entrada& e) {
            const int c0 =
                std::clamp(int(std::floor((l - FAreaIndice.left()) / FCelda)), 0, FColumnas - 1);
            const int c1 =
                std::clamp(int(std::floor((r - FAreaIndice.left()) / FCelda)), 0, FColumnas - 1);
            const int f0 =
                std::clamp(int(std::floor((t - FAreaIndice.top()) / FCelda)), 0, FFilas - 1);
            const int f1 =
                std::clamp(int(std::floor((b - FAreaIndice.top()) / FCelda)), 0, FFilas - 1);
            for (int f = f0; f <= f1; ++f)
                for (int c = c0; c <= c1; ++c)
                    porCelda(size_t(f) * size_t(FColumnas) + size_t(c), e);
        };
        for (const auto& o : FObjetos) {
            if (o->Forma() == TGraphObject::TForma::Linea) {
                const auto* l = static_cast<const TGraphLink*>(o.get());
                const double m = l->HitDistance();
                const auto& pts = l->Points();
                for (size_t i = 0; i < pts.size(); ++i) {
                    const QPoint a = pts[i];
                    const QPoint b = i + 1 < pts.size() ? pts[i + 1] : a;
                    celdasDe(std::min(a.x(), b.x()) - m, std::min(a.y(), b.y()) - m,
                             std::max(a.x(), b.x()) + m, std::max(a.y(), b.y()) + m,
                             {o.get(), int(i)});
                }
            } else {
                const QRect d = o->DrawRect();
                if (d.width() < 0 || d.height() < 0)
                    continue;
                celdasDe(d.left(), d.top(), d.left() + d.width(), d.top() + d.height(),
                         {o.get(), -1});
            }
        }
    };
    FInicio.assign(celdas + 1, 0);
    recorrer([this](size_t c, const Entrada&) { ++FInicio[c + 1]; });
    for (size_t c = 0; c < celdas; ++c)
        FInicio[c + 1] += FInicio[c];
    FEntradas.resize(FInicio[celdas]);
    std::vector<std::uint32_t> lleno(FInicio.begin(), FInicio.end() - 1);
    recorrer([this, &lleno](size_t c, const Entrada& e) { FEntradas[lleno[c]++] = e; });
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
    const size_t celda = size_t(f) * size_t(FColumnas) + size_t(c);
    // The object found, and the z of the object whose hit test found it.
    TGraphObject* mejor = nullptr;
    std::uint64_t zMejor = 0;
    for (std::uint32_t k = FInicio[celda]; k < FInicio[celda + 1]; ++k) {
        const Entrada& e = FEntradas[k];
        if (!e.obj->Visible() || (mejor && e.obj->FZ <= zMejor))
            continue;
        TGraphObject* hit =
            e.segmento >= 0
                ? (static_cast<const TGraphLink*>(e.obj)->SegmentHit(e.segmento, p) ? e.obj
                                                                                    : nullptr)
                : e.obj->Pick(p);
        if (hit) {
            mejor = hit;
            zMejor = e.obj->FZ;
        }
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
           ::qHash(int(k.pen.Style) * 7 + int(k.brush.Style) * 3 + int(k.elipse) + k.penPx * 11,
                   seed);
}
} // namespace

std::vector<TGraphObject*> TGraphScene::candidatos(const QRectF& area) const {
    std::vector<TGraphObject*> r;
    if (!FIndiceValido)
        construirIndice();
    if (FColumnas == 0)
        return r;
    const int c0 =
        std::clamp(int(std::floor((area.left() - FAreaIndice.left()) / FCelda)), 0, FColumnas - 1);
    const int c1 =
        std::clamp(int(std::floor((area.right() - FAreaIndice.left()) / FCelda)), 0, FColumnas - 1);
    const int f0 =
        std::clamp(int(std::floor((area.top() - FAreaIndice.top()) / FCelda)), 0, FFilas - 1);
    const int f1 =
        std::clamp(int(std::floor((area.bottom() - FAreaIndice.top()) / FCelda)), 0, FFilas - 1);
    ++FVisitaActual;
    for (int f = f0; f <= f1; ++f)
        for (int c = c0; c <= c1; ++c) {
            const size_t celda = size_t(f) * size_t(FColumnas) + size_t(c);
            for (std::uint32_t k = FInicio[celda]; k < FInicio[celda + 1]; ++k) {
                TGraphObject* o = FEntradas[k].obj;
                if (o->FVisita != FVisitaActual) {
                    o->FVisita = FVisitaActual;
                    r.push_back(o);
                }
            }
        }
    std::sort(r.begin(), r.end(),
              [](const TGraphObject* a, const TGraphObject* b) { return a->FZ < b->FZ; });
    return r;
}

void TGraphScene::Render(QPainter& painter, const TTransformacion& t, const QRectF& area,
                         bool handles) const {
    ordenar();
    // A small area (a moving marker, the animation's current point) draws only what the
    // pointer index finds there.
    std::vector<TGraphObject*> lista;
    bool parcial = false;
    // Only with an index at hand: rebuilding it costs more than one pass over the objects.
    if (!area.isNull() && FObjetos.size() > 256 && FIndiceValido) {
        if (FColumnas > 0 && area.width() * area.height() * 16 <
                                 double(FAreaIndice.width()) * FAreaIndice.height()) {
            lista = candidatos(area);
            parcial = true;
        }
    }
    if (!parcial) {
        lista.reserve(FObjetos.size());
        for (const auto& o : FObjetos)
            lista.push_back(o.get());
    }
    QHash<ClaveSello, QPixmap> sellos;
    bool hayUltimo = false;
    int ux = 0, uy = 0, uw = 0, uh = 0;
    const TGraphObject* ultimo = nullptr;
    const double e = t.Escala, ox = t.Origen.x(), oy = t.Origen.y();
    for (const TGraphObject* o : lista) {
        if (!o->Visible())
            continue;
        const TGraphObject::TForma forma = o->Forma();
        const bool nodo =
            forma == TGraphObject::TForma::Elipse || forma == TGraphObject::TForma::Rectangulo;
        if (nodo && o->Pen().Style == psClear && o->Brush().Style == bsClear)
            continue; // nothing to see; it still answers the pointer
        const QRect d = o->DrawRect();
        if (!area.isNull() && (d.x() + d.width() + 1 < area.left() || d.x() > area.right() ||
                               d.y() + d.height() + 1 < area.top() || d.y() > area.bottom()))
            continue;
        if (nodo && !t.Vectorial) {
            const QRect& b = static_cast<const TGraphNode*>(o)->BoundsRect();
            const int x0 = int(std::lrint(b.x() * e - ox)), y0 = int(std::lrint(b.y() * e - oy));
            const int w = std::max(1, int(std::lrint((b.x() + b.width()) * e - ox)) - x0);
            const int h = std::max(1, int(std::lrint((b.y() + b.height()) * e - oy)) - y0);
            if (w <= 48 && h <= 48) {
                // Stamping the same picture twice in a row on the same pixel changes nothing.
                if (hayUltimo && x0 == ux && y0 == uy && w == uw && h == uh &&
                    ultimo->Forma() == forma && ultimo->Pen().Color == o->Pen().Color &&
                    ultimo->Pen().Style == o->Pen().Style &&
                    ultimo->Pen().Width == o->Pen().Width &&
                    ultimo->Brush().Color == o->Brush().Color &&
                    ultimo->Brush().Style == o->Brush().Style)
                    continue;
                const ClaveSello k{w,
                                   h,
                                   o->Pen(),
                                   o->Brush(),
                                   forma == TGraphObject::TForma::Elipse,
                                   int(std::lrint(std::max(1.0, o->Pen().Width * e)))};
                const int m = k.pen.Style == psClear ? 0 : k.penPx;
                auto it = sellos.find(k);
                if (it == sellos.end()) {
                    QPixmap px(w + 2 * m + 1, h + 2 * m + 1);
                    px.fill(Qt::transparent);
                    QPainter sp(&px);
                    sp.setRenderHint(QPainter::Antialiasing, true);
                    sp.setPen(QPenDe(k.pen, e));
                    sp.setBrush(QBrushDe(k.brush));
                    const QRectF rr(m, m, w, h);
                    if (k.elipse)
                        sp.drawEllipse(rr);
                    else
                        sp.drawRect(rr);
                    sp.end();
                    it = sellos.insert(k, px);
                }
                painter.drawPixmap(x0 - m, y0 - m, it.value());
                hayUltimo = true;
                ultimo = o;
                ux = x0, uy = y0, uw = w, uh = h;
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
    for (const TGraphObject* o : lista) {
        if (!o->Visible() || !o->Selected())
            continue;
        const TGraphObject::TForma forma = o->Forma();
        if (forma != TGraphObject::TForma::Elipse && forma != TGraphObject::TForma::Rectangulo)
            continue;
        const QRectF r = static_cast<const TGraphNode*>(o)->DeviceRect(t);
        const double xs[3] = {r.left(), r.center().x(), r.right()};
        const double ys[3] = {r.top(), r.center().y(), r.bottom()};
        for (double x : xs)
            for (double y : ys)
                if (!(x == xs[1] && y == ys[1]))
                    painter.drawRect(QRectF(x - ms / 2.0, y - ms / 2.0, ms, ms));
    }
}
