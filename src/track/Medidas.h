#pragma once

#include "FechaHora.h"
#include "Geodesia.h"

#include <QString>
#include <string_view>
#include <vector>

class TTrackPointStore;

// The numbers a track point may hold. Every reader of a point's lat, lon and ele goes
// through LeerValorPunto, so this is the one place that says what is in range.
enum class TMagnitudPunto { Latitud, Longitud, Elevacion };

// Why `value` cannot be this quantity of a point (a latitude outside [-90, 90], a
// longitude outside [-180, 180], an elevation that is not finite); empty when it can.
QString ValorPuntoFueraDeRango(TMagnitudPunto quantity, double value);

// A point's number read from its text: throws ESenderalError with the conversion error
// for a text that is not a number or a number out of range.
double LeerValorPunto(TMagnitudPunto quantity, std::string_view text);

// One track point as measured: the nine values a plan-view node carries, plus its
// 1-based number (the node's tag).
struct TMedidasPunto {
    double Latitud = 0;
    double Longitud = 0;
    TFechaHora FechaHora = 0;
    double Elevacion = 0;
    TFechaHora FechaHoraIni = 0;
    double Distancia = 0; // cumulative metres, fraction dropped
    double DescAcumulado = 0;
    double AscAcumulado = 0;
    double VelocidadInstant = 0; // smoothed km/h
    int Tag = 0;

    // General number format with the decimal separator of the user's locale.
    QString LatitudAsString() const;
    QString LongitudAsString() const;
    // The coordinate times 10000, cut toward zero.
    int LatitudAsInteger() const;
    int LongitudAsInteger() const;
    // Both return the whole date-time value.
    TFechaHora Fecha() const { return FechaHora; }
    TFechaHora Hora() const { return FechaHora; }
};

// The per-point measure pass, fed one point at a time in file order.
// A point without elevation takes the elevation of the point before it (points before
// the first elevation take `elevacionRelleno`), so it adds neither ascent nor descent.
// A lat, lon or ele text that is not a number throws ESenderalError; the points already
// fed keep their values.
class TCalculadorMedidas {
  public:
    explicit TCalculadorMedidas(double elevacionRelleno = 0);

    TMedidasPunto Agregar(std::string_view lat, std::string_view lon, std::string_view ele,
                          std::string_view time);

    double AlturaMaxima() const { return FAlturaMaxima; }
    double VelocidadMaxima() const { return FVelocidadMaxima; }
    int Puntos() const { return FIndice; }
    // The running distance sum, not yet cut to whole metres.
    double DistanciaAcumulada() const { return FDistancia; }

    // A point's lat and lon as the pass reads them; throws ESenderalError as Agregar does.
    static void LeerCoordenadas(std::string_view lat, std::string_view lon, double& latDeg,
                                double& lonDeg);

  private:
    int FIndice = 0;
    double FElePrev = 0;
    TPuntoGeo FGeoPrev;
    TFechaHora FTiempoPrev = 0;
    TFechaHora FFechaHoraIni = 0;
    double FDistancia = 0, FAsc = 0, FDesc = 0, FVelPrev = 0;
    double FAlturaMaxima = 0, FVelocidadMaxima = 0;
};

// The elevation that points before the first one with an elevation take: the first
// elevation found, 0 for a track without any.
double ElevacionRelleno(const TTrackPointStore& points);

struct TResultadoMedidas {
    std::vector<TMedidasPunto> puntos;
    double AlturaMaxima = 0;
    double VelocidadMaxima = 0;
};

// The whole pass over a store; throws on the first unreadable number.
TResultadoMedidas CalcularMedidasRuta(const TTrackPointStore& points);

// A distance already cut to whole metres as the program's integer total; a sum past the
// integer range stays at its maximum.
int DistanciaEnteraMetros(double wholeMetres);

// Total distance in whole metres over consecutive pairs of points (fraction dropped).
// Throws ESenderalError on an unreadable lat or lon.
int CalcularDistanciaTotal(const TTrackPointStore& points);
