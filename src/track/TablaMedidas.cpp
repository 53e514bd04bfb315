#include "TablaMedidas.h"

#include "SenderalError.h"
#include "TrackStores.h"

#include <cmath>

namespace {
// "línea L, columna C: " of the point in its file, as the reader's own errors begin.
QString lugarDelPunto(const TTrackPointStore& points, int i) {
    int linea = 0, columna = 0;
    if (!points.Posicion(i, linea, columna))
        return QString();
    return QStringLiteral("línea %1, columna %2: ").arg(linea).arg(columna);
}
} // namespace

std::shared_ptr<const TTablaMedidas> TTablaMedidas::Calcular(const TTrackPointStore& points) {
    auto t = std::make_shared<TTablaMedidas>();
    const int n = points.RecordCount();
    t->FPuntos = n;
    for (auto* v : {&t->FLat, &t->FLon, &t->FEle, &t->FTiempo, &t->FDistancia, &t->FAsc, &t->FDesc,
                    &t->FVelocidad})
        v->reserve(size_t(n));

    TCalculadorMedidas calc(ElevacionRelleno(points));
    int i = 0;
    try {
        for (; i < n; ++i) {
            const TMedidasPunto m =
                calc.Agregar(points.texto(i, CampoPunto::Lat), points.texto(i, CampoPunto::Lon),
                             points.texto(i, CampoPunto::Ele), points.texto(i, CampoPunto::Time));
            t->FLat.push_back(m.Latitud);
            t->FLon.push_back(m.Longitud);
            t->FEle.push_back(m.Elevacion);
            t->FTiempo.push_back(m.FechaHora);
            t->FDistancia.push_back(m.Distancia);
            t->FAsc.push_back(m.AscAcumulado);
            t->FDesc.push_back(m.DescAcumulado);
            t->FVelocidad.push_back(m.VelocidadInstant);
            if (i == 0)
                t->FFechaHoraIni = m.FechaHoraIni;
        }
        t->FAlturaMaxima = calc.AlturaMaxima();
        t->FVelocidadMaxima = calc.VelocidadMaxima();
        if (n > 0)
            t->FSumaDistancia = calc.DistanciaAcumulada();
        return t;
    } catch (const ESenderalError& e) {
        t->FErrorMedidas = lugarDelPunto(points, i) + e.text();
    }
    t->FAlturaMaxima = calc.AlturaMaxima();
    t->FVelocidadMaxima = calc.VelocidadMaxima();

    // The measures stop at point i; the coordinates go on as far as they can be read,
    // for the readers that need no more than them.
    try {
        for (; i < n; ++i) {
            double lat = 0, lon = 0;
            TCalculadorMedidas::LeerCoordenadas(points.texto(i, CampoPunto::Lat),
                                                points.texto(i, CampoPunto::Lon), lat, lon);
            t->FLat.push_back(lat);
            t->FLon.push_back(lon);
        }
    } catch (const ESenderalError& e) {
        t->FErrorCoordenadas = lugarDelPunto(points, i) + e.text();
        return t;
    }
    // The same consecutive pairs in the same order as the measure pass.
    double sum = 0;
    TPuntoGeo prev;
    for (int k = 0; k < n; ++k) {
        const TPuntoGeo geo(t->FLat[size_t(k)], t->FLon[size_t(k)]);
        if (k > 0)
            sum += GeoDistance(prev, geo);
        prev = geo;
    }
    t->FSumaDistancia = sum;
    return t;
}

void TTablaMedidas::ComprobarCoordenadas() const {
    if (!CoordenadasCompletas())
        throw ESenderalError(FErrorCoordenadas);
}

void TTablaMedidas::ComprobarMedidas() const {
    if (!MedidasCompletas())
        throw ESenderalError(FErrorMedidas);
}

TMedidasPunto TTablaMedidas::Punto(int i) const {
    TMedidasPunto p;
    p.Latitud = Latitud(i);
    p.Longitud = Longitud(i);
    p.FechaHora = FechaHora(i);
    p.Elevacion = Elevacion(i);
    p.FechaHoraIni = FFechaHoraIni;
    p.Distancia = Distancia(i);
    p.DescAcumulado = DescAcumulado(i);
    p.AscAcumulado = AscAcumulado(i);
    p.VelocidadInstant = VelocidadInstant(i);
    p.Tag = i + 1;
    return p;
}

int TTablaMedidas::DistanciaTotal() const {
    ComprobarCoordenadas();
    return DistanciaEnteraMetros(std::trunc(FSumaDistancia));
}
