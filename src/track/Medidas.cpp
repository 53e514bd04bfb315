#include "Medidas.h"

#include "Geodesia.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TrackStores.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {
double numero(std::string_view text) {
    double v = 0;
    if (!IntentarLeerNumero(text, v))
        throw ESenderalError(
            TextoErrorNumero(QString::fromUtf8(text.data(), qsizetype(text.size()))));
    return v;
}

bool vacio(std::string_view text) {
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    return true;
}

qint64 aMilisegundos(TFechaHora t) {
    return std::llround(t * 86400000.0);
}
} // namespace

QString TMedidasPunto::LatitudAsString() const {
    return FormatoGeneral(Latitud, QLocale().decimalPoint().at(0));
}
QString TMedidasPunto::LongitudAsString() const {
    return FormatoGeneral(Longitud, QLocale().decimalPoint().at(0));
}
int TMedidasPunto::LatitudAsInteger() const {
    return int(std::trunc(Latitud * 10000));
}
int TMedidasPunto::LongitudAsInteger() const {
    return int(std::trunc(Longitud * 10000));
}

TCalculadorMedidas::TCalculadorMedidas(double elevacionRelleno) : FElePrev(elevacionRelleno) {}

void TCalculadorMedidas::LeerCoordenadas(std::string_view latText, std::string_view lonText,
                                         double& latDeg, double& lonDeg) {
    latDeg = numero(latText);
    lonDeg = numero(lonText);
}

TMedidasPunto TCalculadorMedidas::Agregar(std::string_view latText, std::string_view lonText,
                                          std::string_view eleText, std::string_view timeText) {
    TMedidasPunto p;
    LeerCoordenadas(latText, lonText, p.Latitud, p.Longitud);
    p.Elevacion = vacio(eleText) ? FElePrev : numero(eleText);
    p.FechaHora = LeerFechaHoraGPX(timeText);
    if (FIndice == 0) {
        FFechaHoraIni = p.FechaHora;
        FElePrev = p.Elevacion; // point 0 adds nothing
    }
    p.FechaHoraIni = FFechaHoraIni;

    const double d = std::fabs(p.Elevacion - FElePrev);
    if (p.Elevacion > FElePrev)
        FAsc += d;
    else
        FDesc += d;
    if (p.Elevacion > FAlturaMaxima)
        FAlturaMaxima = p.Elevacion;

    const TPuntoGeo geo(p.Latitud, p.Longitud);
    double step = 0;
    qint64 seconds = 0;
    if (FIndice > 0) {
        step = GeoDistance(FGeoPrev, geo);
        FDistancia += step;
        seconds = std::llabs(aMilisegundos(p.FechaHora) - aMilisegundos(FTiempoPrev)) / 1000;
    }
    const double raw = seconds == 0 ? 0.0 : step / double(seconds) * 3600.0 / 1000.0;
    if (raw > FVelocidadMaxima)
        FVelocidadMaxima = raw;
    FVelPrev = (raw + FVelPrev) / 2.0;

    p.Distancia = std::trunc(FDistancia);
    p.AscAcumulado = FAsc;
    p.DescAcumulado = FDesc;
    p.VelocidadInstant = FVelPrev;
    p.Tag = FIndice + 1;

    FGeoPrev = geo;
    FElePrev = p.Elevacion;
    FTiempoPrev = p.FechaHora;
    ++FIndice;
    return p;
}

double ElevacionRelleno(const TTrackPointStore& points) {
    for (int i = 0; i < points.RecordCount(); ++i) {
        const std::string_view ele = points.texto(i, CampoPunto::Ele);
        if (!vacio(ele)) {
            double v = 0;
            return IntentarLeerNumero(ele, v) ? v : 0.0;
        }
    }
    return 0.0;
}

TResultadoMedidas CalcularMedidasRuta(const TTrackPointStore& points) {
    TResultadoMedidas r;
    TCalculadorMedidas calc(ElevacionRelleno(points));
    r.puntos.reserve(size_t(points.RecordCount()));
    for (int i = 0; i < points.RecordCount(); ++i)
        r.puntos.push_back(
            calc.Agregar(points.texto(i, CampoPunto::Lat), points.texto(i, CampoPunto::Lon),
                         points.texto(i, CampoPunto::Ele), points.texto(i, CampoPunto::Time)));
    r.AlturaMaxima = calc.AlturaMaxima();
    r.VelocidadMaxima = calc.VelocidadMaxima();
    return r;
}

int CalcularDistanciaTotal(const TTrackPointStore& points) {
    double sum = 0;
    TPuntoGeo prev;
    for (int i = 0; i < points.RecordCount(); ++i) {
        const double lat = numero(points.texto(i, CampoPunto::Lat));
        const double lon = numero(points.texto(i, CampoPunto::Lon));
        const TPuntoGeo geo(lat, lon);
        if (i > 0)
            sum += GeoDistance(prev, geo);
        prev = geo;
    }
    return DistanciaEnteraMetros(std::trunc(sum));
}

int DistanciaEnteraMetros(double whole) {
    if (whole > double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(whole);
}
