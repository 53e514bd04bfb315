#pragma once

#include <QPoint>
#include <cstdint>

// The arithmetic of the plan view and of the two small graphs, free of any canvas.

// A coordinate in graph units: degrees times 10000, cut toward zero.
int CoordenadaEntera(double grados);

// Round to the nearest integer, a half going to the even neighbour.
int RedondeoPar(double v);

// The plan view's projection: one unit is 0.0001 degree of latitude, north up, the
// northernmost point on y = 0 and the route shifted right by half its east-west extent.
// East-west offsets are scaled by the cosine of the track's middle latitude (rounded to
// the nearest unit), so that the route keeps the proportions it has on a map.
//
// A canvas holds coordinates up to 65535. A route too large for that (about 4.3 degrees
// east-west or 6.5 degrees north-south) is shown whole at a coarser unit instead of
// being squashed against the edge: every offset is divided by `Factor`, the smallest
// integer that lets the route fit. Normal routes keep Factor 1 and the exact rule above.
class TProyeccion {
  public:
    // First pass: every point once.
    void Incluir(int latI, int lonI);
    int MaxLatI() const { return FMaxLat; }
    int MinLonI() const { return FMinLon; }
    int MaxLonI() const { return FMaxLon; }
    int Factor() const;
    // Second pass: the position of a point.
    QPoint Posicion(int latI, int lonI) const;
    // Units of x per 0.0001 degree of longitude.
    double EscalaX() const;

  private:
    std::int64_t xEscalada(std::int64_t dLon) const;
    bool FAlguno = false;
    mutable int FFactor = 0; // 0 until asked after the first pass
    int FMaxLat = 0, FMinLat = 0, FMinLon = 0, FMaxLon = 0;
};

// The line width that suits a route of the given width in graph units; at least 2 (the
// width box clamps the top to 10).
int AnchoLineaAutomatico(int anchoGrafico);

// x of point i in the altitude and speed graphs, with s units between points.
int XGrafico(int i, double s);
// One unit per metre under the highest point, which lies at y = 10.
int YAltura(double alturaMaxima, double elevacion);
// Ten units per whole km/h under the highest speed.
int YVelocidad(double velocidadMaxima, double velocidad);
