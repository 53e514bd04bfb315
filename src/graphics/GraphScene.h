#pragma once

#include "GraphObjects.h"

#include <QRect>
#include <QRectF>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

// The objects of one canvas, in z-order, with what every canvas needs regardless of
// the window: bounds, pointer lookup, and rendering onto any painter.
class TGraphScene {
  public:
    TGraphScene();
    ~TGraphScene();
    TGraphScene(const TGraphScene&) = delete;
    TGraphScene& operator=(const TGraphScene&) = delete;

    // A new object is appended at the top of the z-order.
    template <class T> T* Crear() {
        auto obj = std::make_unique<T>(this);
        T* raw = obj.get();
        agregar(std::move(obj));
        return raw;
    }

    void Clear();
    int ObjectCount() const { return int(FObjetos.size()); }
    // Object by index in z-order.
    TGraphObject* Object(int index) const;

    int MinNodeSize = 1;
    int MarkerSize = 3;
    // Nodes stay inside these bounds.
    QRect PlacementBounds{0, 0, 65536, 65536};

    // Enclosing rectangle of the visible objects' drawn extent; (0,0,0,0) when none.
    QRect GraphBounds() const;
    // The topmost visible object under graph point p, or none.
    TGraphObject* ObjectAt(const QPointF& p) const;

    // Draws the visible objects whose extent meets `areaGrafica` (graph units), in z-order;
    // selection handles too when asked.
    void Render(QPainter& painter, const TTransformacion& t, const QRectF& areaGrafica,
                bool handles) const;

    // Called with the area (graph units) that needs repainting; a null rectangle means
    // everything.
    std::function<void(const QRect&)> OnCambio;
    // Nothing but the stored state changes while it is above 0.
    int UpdateCount = 0;

    // Every visible object in z-order.
    template <class F> void ForEach(F f) const {
        ordenar();
        for (const auto& o : FObjetos)
            f(o.get());
    }

  private:
    friend class TGraphObject;
    friend class TGraphNode;
    friend class TGraphLink;
    void agregar(std::unique_ptr<TGraphObject> obj);
    void cambio(TGraphObject* obj, bool geometry);
    void antesDeCambio(TGraphObject* obj);
    void alFrente(TGraphObject* obj);
    void ordenar() const;
    void construirIndice() const;
    // The objects whose index cells meet `area`, in z-order.
    std::vector<TGraphObject*> candidatos(const QRectF& area) const;

    mutable std::vector<std::unique_ptr<TGraphObject>> FObjetos;
    mutable bool FDesordenado = false;
    std::uint64_t FSiguienteZ = 1;

    mutable QRect FBounds;
    mutable bool FBoundsValidos = true;

    // Pointer lookup: a uniform grid of cells over the objects' extents; a link
    // enters every cell its segments cross.
    struct Entrada {
        TGraphObject* obj;
        int segmento; // -1 for a node
    };
    // Cell c holds FEntradas[FInicio[c] .. FInicio[c + 1]).
    mutable std::vector<std::uint32_t> FInicio;
    mutable std::vector<Entrada> FEntradas;
    mutable std::uint32_t FVisitaActual = 0;
    mutable QRect FAreaIndice;
    mutable int FCelda = 64, FColumnas = 0, FFilas = 0;
    mutable bool FIndiceValido = false;
};
