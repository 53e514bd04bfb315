#pragma once

#include "GraphObjects.h"

#include <map>
#include <memory>
#include <vector>

// The marks of every point of a route as one canvas object. Each point is drawn as an
// ellipse of 2w x 2w around its centre with the look the marks share; a point keeps no
// object of its own until one is asked for (the pointer over it, the inspection, the
// animation): its TTrackNode is then made once and lives as long as the marks, and from
// then on its own look and place are the ones drawn and hit. Points lie in point order,
// later points on top, except nodes brought forward one by one, which lie above all the
// others in the order they came forward.
class TTrackPointMarks : public TGraphObject {
  public:
    explicit TTrackPointMarks(TGraphScene* owner);
    ~TTrackPointMarks() override;

    // The points' centres (graph units) and the table their nodes read, which must
    // outlive the marks.
    void SetPoints(std::vector<QPoint> centres, const TTablaMedidas* tabla);
    int Count() const { return int(FCentros.size()); }
    QPoint Centre(int i) const { return FCentros[size_t(i)]; }

    // Every mark 2w x 2w around its centre (through the canvas's placement rule) with
    // the marks' pen and brush, in point order: nodes made so far take it too.
    void SetLook(int halfWidth, const TGraphPen& pen, const TGraphBrush& brush);
    int HalfWidth() const { return FMitad; }

    // The node of point i (0 <= i < Count()), made on first use.
    TTrackNode* Node(int i);
    // The node of point i if it was made, else none.
    TTrackNode* NodeIfMade(int i) const;
    // Point i's mark as placed (its node's bounds once it has one).
    QRect MarkRect(int i) const;
    // The node brought forward last (drawn above every other mark), if any.
    TTrackNode* TopNode() const { return FElevados.empty() ? nullptr : FElevados.back(); }
    // The topmost point whose visible mark contains graph point p, or -1.
    int PointAt(const QPointF& p) const;

    QRect DrawRect() const override;
    bool HitTest(const QPointF& p) const override;
    void Draw(QPainter& painter, const TTransformacion& t) const override;
    TGraphObject* Pick(const QPointF& p) override;

  private:
    friend class TTrackNode;
    void nodoCambiado(TTrackNode* nodo, bool geometry);
    void nodoAlFrente(TTrackNode* nodo);
    QRect marcaPorDefecto(int i) const;
    void construirCeldas() const;
    // Calls f(index) for every point whose centre lies in the cells meeting `area`.
    template <class F> void recorrerArea(const QRectF& area, F f) const;
    // The same points, in point order.
    std::vector<int> enArea(const QRectF& area) const;
    int minimo() const;
    // How far from its centre a mark may reach into `area` (graph units).
    double alcanceEn(const QRectF& area) const;

    std::vector<QPoint> FCentros;
    const TTablaMedidas* FTabla = nullptr;
    int FMitad = 0;
    // Made nodes by point index; which indices have one.
    std::map<int, std::unique_ptr<TTrackNode>> FNodos;
    std::vector<bool> FConNodo;
    // Nodes brought forward one by one, lowest first.
    std::vector<TTrackNode*> FElevados;
    std::uint64_t FSiguienteElevado = 1;
    // How far from its centre any mark reaches; grows when a node is placed apart.
    int FAlcance = 0;
    QRect FExtensionCentros;
    mutable QRect FRectCache;
    mutable bool FRectValido = false;

    // Pointer and repaint lookup: centres binned into square cells; cell c holds
    // FIndices[FInicio[c] .. FInicio[c + 1]), in point order.
    mutable std::vector<std::uint32_t> FInicio;
    mutable std::vector<std::uint32_t> FIndices;
    mutable int FCelda = 0, FColumnas = 0, FFilas = 0;
    mutable bool FCeldasValidas = false;
};

// The nodes of a route's points in point order, each made when it is first asked for.
class TTrackNodeList {
  public:
    explicit TTrackNodeList(TTrackPointMarks* marks = nullptr) : FMarcas(marks) {}
    size_t size() const { return FMarcas ? size_t(FMarcas->Count()) : 0; }
    bool empty() const { return size() == 0; }
    TTrackNode* operator[](size_t i) const { return FMarcas->Node(int(i)); }
    TTrackNode* back() const { return (*this)[size() - 1]; }
    void clear() { FMarcas = nullptr; }
    TTrackPointMarks* Marks() const { return FMarcas; }

    class iterator {
      public:
        iterator(const TTrackNodeList* l, size_t i) : FLista(l), FI(i) {}
        TTrackNode* operator*() const { return (*FLista)[FI]; }
        iterator& operator++() {
            ++FI;
            return *this;
        }
        bool operator!=(const iterator& o) const { return FI != o.FI; }
        bool operator==(const iterator& o) const { return FI == o.FI; }

      private:
        const TTrackNodeList* FLista;
        size_t FI;
    };
    iterator begin() const { return iterator(this, 0); }
    iterator end() const { return iterator(this, size()); }

  private:
    TTrackPointMarks* FMarcas;
};
