#pragma once

#include "TablaMedidas.h"

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <vector>

class QBrush;
class QPainter;
class QPen;
class TGraphScene;
class TTrackPointMarks;

// Colours as the program stores them: 0x00BBGGRR; a top byte 0xFF marks a system colour
// whose index is the low byte.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clBtnText = 0xFF000012;  // system colour 18
constexpr TColor clHotLight = 0xFF00001A; // system colour 26

QColor ColorAQColor(TColor c);
TColor ColorDesdeQColor(const QColor& c);

enum TPenStyle { psSolid, psClear };
enum TBrushStyle { bsSolid, bsClear };

struct TGraphPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

struct TGraphBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// The painter's pen and brush for an object's, at a drawing scale (a pen is never
// thinner than one pixel).
QPen QPenDe(const TGraphPen& p, double escala);
QBrush QBrushDe(const TGraphBrush& b);

enum TGraphObjectOption { goLinkable = 1, goSelectable = 2, goShowCaption = 4 };
using TGraphObjectOptions = int;

enum TLinkBeginEndStyle { lsNone };

// How an object is drawn on a device: graph point p lands on p * Escala - Origen.
struct TTransformacion {
    double Escala = 1;
    QPointF Origen;
    // Pictures for a printer or a file keep exact shapes instead of the raster shortcuts.
    bool Vectorial = false;

    QPointF Mapear(double x, double y) const {
        return {x * Escala - Origen.x(), y * Escala - Origen.y()};
    }
};

// Base of everything placed on a canvas. Objects belong to their scene, which frees them.
class TGraphObject {
  public:
    virtual ~TGraphObject() = default;
    TGraphObject(const TGraphObject&) = delete;
    TGraphObject& operator=(const TGraphObject&) = delete;

    const TGraphPen& Pen() const { return FPen; }
    void SetPenColor(TColor c);
    void SetPenWidth(int w);
    void SetPenStyle(TPenStyle s);
    const TGraphBrush& Brush() const { return FBrush; }
    void SetBrushColor(TColor c);
    void SetBrushStyle(TBrushStyle s);

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TGraphObjectOptions Options() const { return FOptions; }
    void SetOptions(TGraphObjectOptions o);
    bool Selected() const { return FSelected; }
    // Only an object with goSelectable can be selected.
    void SetSelected(bool s);

    int Tag = 0;

    virtual void BringToFront();
    void Invalidate();

    TGraphScene* Owner() const { return FOwner; }

    // The drawn extent in graph units (shape plus pen).
    virtual QRect DrawRect() const = 0;
    // Whether graph point p lies on the object (visibility is the caller's concern).
    virtual bool HitTest(const QPointF& p) const = 0;
    virtual void Draw(QPainter& painter, const TTransformacion& t) const = 0;
    // What the pointer finds at p: the object itself, or for an object that stands for
    // many (the marks of every track point) the one under p; none when nothing is hit.
    virtual TGraphObject* Pick(const QPointF& p) { return HitTest(p) ? this : nullptr; }

    // What kind of shape this is, without a type query in the drawing loops.
    enum class TForma { Otra, Rectangulo, Elipse, Linea };
    virtual TForma Forma() const { return TForma::Otra; }

  protected:
    explicit TGraphObject(TGraphScene* owner) : FOwner(owner) {}
    // Called before a change of the drawn extent, so that the old place is repainted.
    void Changing();
    // Tells the scene what changed: a geometry change also moves the object in the
    // pointer index and the bounds.
    virtual void Changed(bool geometry);

    TGraphScene* FOwner;

  private:
    friend class TGraphScene;
    friend class TTrackPointMarks;
    TGraphPen FPen;
    TGraphBrush FBrush;
    bool FVisible = true;
    bool FSelected = false;
    TGraphObjectOptions FOptions = goLinkable | goSelectable | goShowCaption;
    std::uint64_t FZ = 0;              // z-order stamp: larger lies on top
    mutable std::uint32_t FVisita = 0; // last lookup that collected it
};

class TGraphNode : public TGraphObject {
  public:
    int Left() const { return FBounds.left(); }
    int Top() const { return FBounds.top(); }
    int Width() const { return FBounds.width(); }
    int Height() const { return FBounds.height(); }
    QRect BoundsRect() const { return FBounds; }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v);
    void SetHeight(int v);
    // Goes through the placement rule of the canvas.
    void SetBounds(int left, int top, int width, int height);
    // Where the placement rule puts a node asked for at (left, top, width, height);
    // `sizeChanges` when only its size changes (it shrinks rather than moves back).
    static QRect Colocar(int left, int top, int width, int height, int minSize, bool sizeChanges);

    QRect DrawRect() const override;

    // The shape on the device, from the node's bounds.
    QRectF DeviceRect(const TTransformacion& t) const;

  protected:
    explicit TGraphNode(TGraphScene* owner) : TGraphObject(owner) {}
    void Place(int left, int top, int width, int height, bool sizeChanges);
    QRect FBounds{0, 0, 0, 0};
};

class TRectangularNode : public TGraphNode {
  public:
    explicit TRectangularNode(TGraphScene* owner) : TGraphNode(owner) {}
    TForma Forma() const override { return TForma::Rectangulo; }
    bool HitTest(const QPointF& p) const override;
    void Draw(QPainter& painter, const TTransformacion& t) const override;
};

class TEllipticNode : public TGraphNode {
  public:
    explicit TEllipticNode(TGraphScene* owner) : TGraphNode(owner) {}
    TForma Forma() const override { return TForma::Elipse; }
    bool HitTest(const QPointF& p) const override;
    void Draw(QPainter& painter, const TTransformacion& t) const override;
};

// One track point as measured and drawn. The measures stay in the track's table (which
// the plan view keeps alive while its nodes exist); the node holds where to find them.
// On the plan view a node is made by the route's marks (TTrackPointMarks) only when a
// point is asked for, and its look and place are those of its mark.
class TTrackNode : public TEllipticNode {
  public:
    explicit TTrackNode(TGraphScene* owner) : TEllipticNode(owner) {}

    void SetMedidas(const TTablaMedidas* tabla, int indice) {
        FTabla = tabla;
        FIndice = indice;
    }
    TMedidasPunto Datos() const { return FTabla ? FTabla->Punto(FIndice) : TMedidasPunto(); }
    QPoint Center;

    double Latitud() const { return FTabla ? FTabla->Latitud(FIndice) : 0; }
    double Longitud() const { return FTabla ? FTabla->Longitud(FIndice) : 0; }
    TFechaHora FechaHora() const { return FTabla ? FTabla->FechaHora(FIndice) : 0; }
    TFechaHora FechaHoraIni() const { return FTabla ? FTabla->FechaHoraIni() : 0; }
    double Elevacion() const { return FTabla ? FTabla->Elevacion(FIndice) : 0; }
    double Distancia() const { return FTabla ? FTabla->Distancia(FIndice) : 0; }
    double AscAcumulado() const { return FTabla ? FTabla->AscAcumulado(FIndice) : 0; }
    double DescAcumulado() const { return FTabla ? FTabla->DescAcumulado(FIndice) : 0; }
    double VelocidadInstant() const { return FTabla ? FTabla->VelocidadInstant(FIndice) : 0; }
    QString LatitudAsString() const { return Datos().LatitudAsString(); }
    QString LongitudAsString() const { return Datos().LongitudAsString(); }
    int LatitudAsInteger() const { return Datos().LatitudAsInteger(); }
    int LongitudAsInteger() const { return Datos().LongitudAsInteger(); }
    TFechaHora Fecha() const { return FechaHora(); }
    TFechaHora Hora() const { return FechaHora(); }

    // The marks this node belongs to, if any, and its point's index there.
    TTrackPointMarks* Marks() const { return FMarcas; }
    int Indice() const { return FIndice; }
    // Within its marks: above every mark that was not brought forward after it.
    void BringToFront() override;

  protected:
    void Changed(bool geometry) override;

  private:
    friend class TTrackPointMarks;
    const TTablaMedidas* FTabla = nullptr;
    int FIndice = 0;
    TTrackPointMarks* FMarcas = nullptr;
    // Order among the marks brought forward one by one; 0 = in point order.
    std::uint64_t FElevado = 0;
};

// A polyline through integer points; link points are not confined by the canvas.
class TGraphLink : public TGraphObject {
  public:
    explicit TGraphLink(TGraphScene* owner) : TGraphObject(owner) {}
    TForma Forma() const override { return TForma::Linea; }

    TLinkBeginEndStyle BeginStyle = lsNone;
    TLinkBeginEndStyle EndStyle = lsNone;

    void AddPoint(const QPoint& p);
    int PointCount() const { return int(FPoints.size()); }
    // Any index outside 0 .. PointCount-1 throws "Invalid point index. (%d)".
    QPoint Point(int index) const;
    void SetPoint(int index, const QPoint& p);
    const std::vector<QPoint>& Points() const { return FPoints; }
    // Changes many points at once without a notification per point.
    void SetPoints(std::vector<QPoint> points);
    void Reserve(int n) { FPoints.reserve(size_t(n)); }

    // Hit distance: the larger of half the pen width and the canvas's marker size.
    int HitDistance() const;

    QRect DrawRect() const override;
    bool HitTest(const QPointF& p) const override;
    void Draw(QPainter& painter, const TTransformacion& t) const override;
    bool SegmentHit(int segment, const QPointF& p) const;

  private:
    void comprobarIndice(int index) const;
    std::vector<QPoint> FPoints;
    void invalidarCaches() {
        FCacheValido = false;
        FTramos.clear();
    }
    mutable QRect FCacheRect;
    mutable bool FCacheValido = false;
    // Bounding boxes of runs of points, so that drawing a small area skips the rest.
    static constexpr int PuntosTramo = 64;
    mutable std::vector<QRect> FTramos;
    friend class TGraphScene;
};

// The text of a bad link point index.
QString TextoIndicePuntoInvalido(int index);
