#include "Medidas.h"

#include "Geodesia.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TrackStores.h"

#include <QLocale>
#include <cmath>
#include <limits>

QString ValorPuntoFueraDeRango(TMagnitudPunto quantity, double value) {
    switch (quantity) {
    case TMagnitudPunto::Latitud:
        return value >= -90.0 && value <= 90.0
                   ? QString()
                   : QStringLiteral("la latitud debe estar entre -90 y 90 grados");
    case TMagnitudPunto::Longitud:
        return value >= -180.0 && value <= 180.0
                   ? QString()
                   : QStringLiteral("la longitud debe estar entre -180 y 180 grados");
    case TMagnitudPunto::Elevacion:
        break;
    }
    return std::isfinite(value) ? QString()
                                : QStringLiteral("la altitud debe ser un número finito");
}

namespace {
[[noreturn]] void errorDeConversion(std::string_view text, const QString& why) {
    QString e = TextoErrorNumero(QString::fromUtf8(text.data(), qsizetype(text.size())));
    if (!why.isEmpty())
        e += QStringLiteral(": ") + why;
    throw ESenderalError(e);
}
} // namespace

double LeerValorPunto(TMagnitudPunto quantity, std::string_view text) {
    double v = 0;
    if (!IntentarLeerNumero(text, v))
        errorDeConversion(text, QString());
    const QString why = ValorPuntoFueraDeRango(quantity, v);
    if (!why.isEmpty())
        errorDeConversion(text, why);
    return v;
}

namespace {
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
    latDeg = LeerValorPunto(TMagnitudPunto::Latitud, latText);
    lonDeg = LeerValorPunto(TMagnitudPunto::Longitud, lonText);
}

TMedidasPunto TCalculadorMedidas::Agregar(std::string_view latText, std::string_view lonText,
                                          std::string_view eleText, std::string_view timeText) {
    TMedidasPunto p;
    LeerCoordenadas(latText, lonText, p.Latitud, p.Longitud);
    p.Elevacion = vacio(eleText) ? FElePrev : LeerValorPunto(TMagnitudPunto::Elevacion, eleText);
    p.FechaHora = LeerFechaHoraGPX(timeText);
    if (FIndice == 0)
        FFechaHoraIni = p.FechaHora; // and point 0 adds no ascent or descent
    p.FechaHoraIni = FFechaHoraIni;

    const double elePrev = FIndice == 0 ? p.Elevacion : FElePrev;
    const double d = std::fabs(p.Elevacion - elePrev);
    const double asc = p.Elevacion > elePrev ? FAsc + d : FAsc;
    const double desc = p.Elevacion > elePrev ? FDesc : FDesc + d;
    // Finite elevations far apart can still sum past every number: that is as unusable
    // as an elevation that is no number, and stops the pass the same way.
    if (!std::isfinite(asc) || !std::isfinite(desc))
        errorDeConversion(eleText, QStringLiteral("la suma de desniveles no cabe en un número"));
    FAsc = asc;
    FDesc = desc;
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
        double lat = 0, lon = 0;
        TCalculadorMedidas::LeerCoordenadas(points.texto(i, CampoPunto::Lat),
                                            points.texto(i, CampoPunto::Lon), lat, lon);
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
