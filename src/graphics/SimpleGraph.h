#pragma once

#include "GraphScene.h"

#include <QAbstractScrollArea>
#include <QMetaType>
#include <QPointer>
#include <vector>

class QPrinter;
class QRubberBand;

Q_DECLARE_METATYPE(TGraphObject*)

enum TGraphCommandMode { cmEdit, cmViewOnly, cmPan };

// A mark the canvas draws above its objects, such as a chosen stretch of the track. It is
// not an object: the pointer never finds it, it adds nothing to the bounds, and exported
// or printed pictures leave it out.
struct TResalte {
    std::vector<QPoint> Puntos; // a polyline in graph units
    QColor Color;               // when valid, the polyline is drawn over the objects...
    int AnchoPx = 4;            // ...this wide on screen, whatever the zoom
    QColor ColorBanda;          // when valid, the columns from the first to the last point
                                // are shaded with it behind the objects, top to bottom
    bool Vacio() const { return Puntos.empty(); }
};
enum TGraphZoomOrigin { zoCenter, zoCursor };

// The canvas control: a scrollable, zoomable view of a scene of nodes and links in
// integer graph units. A graph point shows at pixel point * Zoom / 100 - scroll.
class TSimpleGraph : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TSimpleGraph(QWidget* parent = nullptr);
    ~TSimpleGraph() override;

    TGraphScene& Scene() { return FScene; }
    const TGraphScene& Scene() const { return FScene; }

    template <class T> T* Crear() { return FScene.Crear<T>(); }
    int ObjectCount() const { return FScene.ObjectCount(); }
    TGraphObject* Object(int index) const { return FScene.Object(index); }
    void Clear();

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FScene.UpdateCount; }

    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool v);
    int GridSize = 8;
    TColor GridColor = clGray;
    int MinNodeSize() const { return FScene.MinNodeSize; }
    void SetMinNodeSize(int v) { FScene.MinNodeSize = v; }
    int MarkerSize() const { return FScene.MarkerSize; }

    static constexpr int ZoomMin = 5;
    static constexpr int ZoomMax = 36863;
    // The zoom in whole percent (at least 1).
    int Zoom() const;
    // The zoom as it is: a graph too large to fit at ZoomMin is fitted at a fraction.
    double ZoomExacto() const { return FZoom; }
    // The least zoom now: ZoomMin, or half the zoom that shows GraphBounds whole when
    // even ZoomMin would cut the graph, so that a graph of any size can be seen whole.
    double ZoomMinimo() const;
    // Clamped to ZoomMinimo() .. ZoomMax; keeps the graph point at the view's centre.
    void SetZoom(int z) { SetZoomExacto(z); }
    void SetZoomExacto(double z);
    void ChangeZoomBy(int delta, TGraphZoomOrigin origin);
    // zoCursor around a given client point (the wheel knows where the pointer is).
    void ChangeZoomBy(int delta, TGraphZoomOrigin origin, const QPoint& clientPos);
    // Fits GraphBounds into the client area and centres it; nothing on an empty canvas.
    void ZoomGraph();
    // Fits and centres a graph rectangle.
    void ZoomRect(const QRect& r);

    TGraphCommandMode CommandMode() const { return FMode; }
    void SetCommandMode(TGraphCommandMode m);

    // Whether the canvas shows its scroll bars when the graph does not fit.
    void SetScrollBarsAllowed(bool allowed);

    QRect GraphBounds() const { return FScene.GraphBounds(); }
    // The client area in graph units at the current zoom and scroll position.
    QRect VisibleBounds() const;
    QPoint ScrollPos() const { return QPoint(FScrollX, FScrollY); }
    void SetScrollPos(const QPoint& p);
    int ClientWidth() const;
    int ClientHeight() const;
    QPoint ScreenToClient(const QPoint& screen) const;
    QPointF ClientToGraph(const QPointF& client) const;
    QPointF GraphToClient(const QPointF& graph) const;

    void SetResalte(TResalte r);
    void QuitarResalte();
    const TResalte& Resalte() const { return FResalte; }

    // The object under the pointer as tracked on the last mouse move.
    TGraphObject* ObjetoBajoPuntero() const { return FActual; }
    // Pointer tracking for a client position, as a mouse move does.
    void SeguirPuntero(const QPoint& clientPos);

    // 24-bit BMP of GraphBounds + 1 at 100 %, white background, no grid or handles.
    // Throws ESenderalError when the picture cannot be made or written.
    void SaveAsBitmap(const QString& fileName) const;
    QImage Imagen() const;
    // All objects scaled uniformly and centred into `rect` of the painter's device.
    void Print(QPainter& painter, const QRect& rect) const;

  signals:
    void ObjectMouseEnter(TSimpleGraph* sender, TGraphObject* object);
    void ObjectMouseLeave(TSimpleGraph* sender, TGraphObject* object);
    void DblClick();
    void Exit();
    // A wheel turn; a handler that takes care of it sets *handled.
    void MouseWheelDown(const QPoint& screenPos, bool* handled);
    void MouseWheelUp(const QPoint& screenPos, bool* handled);
    void Redimensionado();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool viewportEvent(QEvent* e) override;

  private:
    void actualizarBarras();
    void repintar(const QRect& areaGrafica);
    void fijarScroll(double x, double y);
    void cancelarArrastre();
    void pintarGrid(QPainter& p, const QRect& clip);
    void pintarBandaResalte(QPainter& p) const;
    void pintarLineaResalte(QPainter& p, const QRect& clip) const;
    double escala() const { return FZoom / 100.0; }

    TGraphScene FScene;
    TColor FColor = clWhite;
    bool FShowGrid = false;
    double FZoom = 100;
    int FScrollX = 0, FScrollY = 0;
    bool FBarrasPermitidas = true;
    bool FAjustandoBarras = false;
    bool FRepintarTodo = false;
    TGraphCommandMode FMode = cmEdit;
    TGraphObject* FActual = nullptr;

    enum class Arrastre { Ninguno, Mano, Banda };
    Arrastre FArrastre = Arrastre::Ninguno;
    QPoint FInicioArrastre;
    QPoint FScrollInicio;
    QRubberBand* FBanda = nullptr;
    TResalte FResalte;
};
