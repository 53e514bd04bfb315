#pragma once

#include "Medidas.h"

#include <QString>
#include <memory>
#include <vector>

class TTrackPointStore;

// The numbers of the loaded track, worked out once right after the read: every point's
// coordinates and measures in plain arrays, read by every view instead of the texts of
// the point store. The pass is the one the views used to run themselves, with the same
// number rules, so every figure is the same to the last bit.
//
// A text that is not a number does not stop the pass: the table remembers where the
// first one was and what the user is told, and each reader raises that error at the
// moment it reaches the point, as it did when it read the texts itself.
class TTablaMedidas {
  public:
    // Never throws.
    static std::shared_ptr<const TTablaMedidas> Calcular(const TTrackPointStore& points);

    int Puntos() const { return FPuntos; }

    // Leading points whose lat and lon are numbers; the rest of the coordinates are
    // unknown. Latitud and Longitud answer for these points.
    int PuntosConCoordenadas() const { return int(FLat.size()); }
    // Leading points whose lat, lon and ele are numbers; the measures answer for these.
    int PuntosMedidos() const { return int(FEle.size()); }
    bool CoordenadasCompletas() const { return PuntosConCoordenadas() == FPuntos; }
    bool MedidasCompletas() const { return PuntosMedidos() == FPuntos; }
    // Throw the conversion error of the first unreadable lat or lon (of lat, lon or
    // ele) when there is one.
    void ComprobarCoordenadas() const;
    void ComprobarMedidas() const;
    const QString& ErrorCoordenadas() const { return FErrorCoordenadas; }
    const QString& ErrorMedidas() const { return FErrorMedidas; }

    double Latitud(int i) const { return FLat[size_t(i)]; }
    double Longitud(int i) const { return FLon[size_t(i)]; }
    double Elevacion(int i) const { return FEle[size_t(i)]; }
    TFechaHora FechaHora(int i) const { return FTiempo[size_t(i)]; }
    TFechaHora FechaHoraIni() const { return FFechaHoraIni; }
    double Distancia(int i) const { return FDistancia[size_t(i)]; } // whole metres
    double AscAcumulado(int i) const { return FAsc[size_t(i)]; }
    double DescAcumulado(int i) const { return FDesc[size_t(i)]; }
    double VelocidadInstant(int i) const { return FVelocidad[size_t(i)]; }
    // Everything about measured point i at once, with its 1-based number as tag.
    TMedidasPunto Punto(int i) const;

    // Over the measured points.
    double AlturaMaxima() const { return FAlturaMaxima; }
    double VelocidadMaxima() const { return FVelocidadMaxima; }

    // The total distance in whole metres over every consecutive pair of points; throws
    // the coordinate error when a lat or lon is not a number.
    int DistanciaTotal() const;

  private:
    int FPuntos = 0;
    std::vector<double> FLat, FLon;
    std::vector<double> FEle, FTiempo, FDistancia, FAsc, FDesc, FVelocidad;
    TFechaHora FFechaHoraIni = 0;
    double FAlturaMaxima = 0, FVelocidadMaxima = 0;
    double FSumaDistancia = 0; // unrounded, over all pairs when the coordinates allow
    QString FErrorCoordenadas, FErrorMedidas;
};
