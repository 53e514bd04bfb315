#pragma once

#include <QString>
#include <memory>
#include <vector>

class TTablaMedidas;

// How the figures below read a track; the climb threshold comes from the settings file.
struct TAjustesFiguras {
    double UmbralDesnivelM = 5;    // a change of elevation counts once it goes past this
    double VelocidadParadoKmh = 1; // a step at or below this speed is standing still
    double PausaMaximaS = 120;     // a longer gap between two points is a pause
};

// Ascent and descent without the GPS noise: a change of elevation counts only once it
// has gone more than `umbral` metres past the last turning point (hysteresis). Fed one elevation
// at a time; the totals include the run in progress once it has passed the threshold.
class TFiltroDesnivel {
  public:
    explicit TFiltroDesnivel(double umbralM) : FUmbral(umbralM) {}
    void Agregar(double eleM);
    double Ascenso() const;
    double Descenso() const;

  private:
    enum { Ninguno, Subiendo, Bajando } FSentido = Ninguno;
    double FUmbral;
    bool FPrimero = true;
    double FGiro = 0;                // elevation of the last turning point
    double FExtremo = 0;             // highest (climbing) or lowest (descending) since it
    double FMinimo = 0, FMaximo = 0; // before the first run: the range seen so far
    double FAsc = 0, FDesc = 0;      // runs already closed by a turn
};

// The figures of the points from `desde` to `hasta`. A figure that the track cannot give
// (times on a track without them, the steepest grade of a stretch under 100 m) is NaN.
struct TFigurasTramo {
    int Desde = 0, Hasta = 0;
    double DistanciaM = 0;
    double AscensoM = 0, DescensoM = 0;                 // every difference counts
    double AscensoFiltradoM = 0, DescensoFiltradoM = 0; // TFiltroDesnivel
    double DuracionS = 0, MovimientoS = 0, ParadoS = 0;
    double VelocidadMediaKmh = 0;      // distance over elapsed time
    double VelocidadMovimientoKmh = 0; // distance while moving over moving time
    double PendienteMediaPct = 0;      // end elevation minus start over distance
    double PendienteMaximaPct = 0;     // steepest over 100 m, sign kept
};

// Per-point figures beside the measure table: filtered climb up to each point, the
// grade over the last 50 m, moving time up to each point. Worked out from the table's
// measured points.
class TTablaFiguras {
  public:
    static std::shared_ptr<const TTablaFiguras> Calcular(std::shared_ptr<const TTablaMedidas> m,
                                                         const TAjustesFiguras& ajustes);

    int Puntos() const { return int(FAscFiltrado.size()); }
    double AscensoFiltrado(int i) const { return FAscFiltrado[size_t(i)]; }
    double DescensoFiltrado(int i) const { return FDescFiltrado[size_t(i)]; }
    // NaN within the first 50 m.
    double Pendiente(int i) const { return FPendiente[size_t(i)]; }
    // Whether any two points carry a time.
    bool TieneTiempos() const { return FTieneTiempos; }
    const TAjustesFiguras& Ajustes() const { return FAjustes; }

    // Points `desde` to `hasta` (0-based, in either order, clamped to the track).
    TFigurasTramo Tramo(int desde, int hasta) const;
    TFigurasTramo Total() const { return Tramo(0, Puntos() - 1); }

  private:
    std::shared_ptr<const TTablaMedidas> FMedidas;
    TAjustesFiguras FAjustes;
    bool FTieneTiempos = false;
    std::vector<double> FDistancia; // cumulative metres, unrounded
    std::vector<double> FAscFiltrado, FDescFiltrado, FPendiente;
};

// A length of time as h:mm:ss (hours past 24 keep counting); empty when unknown (NaN).
QString TextoDuracion(double segundos);
