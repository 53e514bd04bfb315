// Local times here are Madrid's (see ZonaHorariaFija.cpp).
#include "Medidas.h"
#include "FechaHora.h"
#include "Geodesia.h"
#include "PuntosPrueba.h"
#include "SenderalError.h"
#include "TrackStores.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using Punto = TPuntoPrueba;

TResultadoMedidas medir(const std::vector<Punto>& pts) {
    TTrackPointStore store;
    LlenarPuntos(store, pts);
    return CalcularMedidasRuta(store);
}

std::string num(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.12f", v);
    return buf;
}

// Latitude in degrees that lies `m` metres north of the equator along a meridian.
double norteM(double m) {
    return m / RadioTierraM * 180.0 / M_PI;
}

// Points on one spot with these elevations and no time.
std::vector<Punto> elevaciones(std::initializer_list<const char*> eles) {
    std::vector<Punto> pts;
    for (const char* e : eles)
        pts.push_back({"41.5", "2.1", e, ""});
    return pts;
}
} // namespace

TEST(CalcularMedidasRuta, AscentAndDescentCountEveryDifference) {
    const auto r = medir(elevaciones({"500", "510", "505", "505", "520"}));
    const double asc[] = {0, 10, 10, 10, 25};
    const double desc[] = {0, 0, 5, 5, 5};
    ASSERT_EQ(r.puntos.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.puntos[i].AscAcumulado, asc[i]);
        EXPECT_EQ(r.puntos[i].DescAcumulado, desc[i]);
        EXPECT_EQ(r.puntos[i].Tag, int(i) + 1);
    }
    EXPECT_EQ(r.AlturaMaxima, 520);
}

TEST(CalcularMedidasRuta, MissingElevationIsFilledAndAddsNothing) {
    const struct {
        const char* guarda;
        std::vector<Punto> pts;
        std::vector<double> elevacion;
        double asc, desc, alturaMaxima;
    } casos[] = {
        {"a gap takes the previous elevation",
         elevaciones({"500", "", "510", "", "505"}),
         {500, 500, 510, 510, 505},
         10,
         5,
         510},
        {"leading points take the first elevation found",
         elevaciones({"", " ", "620.5", "630"}),
         {620.5, 620.5, 620.5, 630},
         9.5,
         0,
         630},
        {"a track with no elevation at all is flat at 0",
         elevaciones({"", "", ""}),
         {0, 0, 0},
         0,
         0,
         0},
        {"an element written over several lines",
         elevaciones({"\n  100\n", "110"}),
         {100, 110},
         10,
         0,
         110},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const auto r = medir(c.pts);
        ASSERT_EQ(r.puntos.size(), c.elevacion.size());
        for (size_t i = 0; i < c.elevacion.size(); ++i)
            EXPECT_EQ(r.puntos[i].Elevacion, c.elevacion[i]) << "point " << i;
        EXPECT_EQ(r.puntos.back().AscAcumulado, c.asc);
        EXPECT_EQ(r.puntos.back().DescAcumulado, c.desc);
        EXPECT_EQ(r.AlturaMaxima, c.alturaMaxima);
    }
}

TEST(CalcularMedidasRuta, AllNegativeElevationsKeepMaximumAtZero) {
    const auto r = medir(elevaciones({"-5", "-10", "-3"}));
    EXPECT_EQ(r.AlturaMaxima, 0);
    EXPECT_EQ(r.puntos.back().AscAcumulado, 7);
    EXPECT_EQ(r.puntos.back().DescAcumulado, 5);
}

TEST(CalcularMedidasRuta, OnePointTrack) {
    const struct {
        const char* guarda;
        const char* ele;
        double alturaMaxima;
    } casos[] = {{"above sea level", "350", 350}, {"below sea level", "-20", 0}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const auto r = medir({{"41.5", "2.1", c.ele, "2011-05-01T10:00:00Z"}});
        ASSERT_EQ(r.puntos.size(), 1u);
        const TMedidasPunto& p = r.puntos[0];
        EXPECT_EQ(p.Distancia, 0);
        EXPECT_EQ(p.AscAcumulado, 0);
        EXPECT_EQ(p.DescAcumulado, 0);
        EXPECT_EQ(p.VelocidadInstant, 0);
        EXPECT_EQ(p.Tag, 1);
        EXPECT_EQ(p.FechaHoraIni, p.FechaHora);
        EXPECT_EQ(r.VelocidadMaxima, 0);
        EXPECT_EQ(r.AlturaMaxima, c.alturaMaxima);
    }
}

TEST(CalcularMedidasRuta, SpeedIsSmoothedAndMaximumIsRaw) {
    // Steps of 10, 20 and 30 km along a meridian, one hour apart: 10, 20, 30 km/h.
    const double a = norteM(10000), b = norteM(30000), c = norteM(60000);
    const auto r = medir({{"0", "0", "0", "2011-05-01T10:00:00Z"},
                          {num(a), "0", "0", "2011-05-01T11:00:00Z"},
                          {num(b), "0", "0", "2011-05-01T12:00:00Z"},
                          {num(c), "0", "0", "2011-05-01T13:00:00Z"}});
    const double smoothed[] = {0, 5, 12.5, 21.25};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(r.puntos[i].VelocidadInstant, smoothed[i], 1e-6) << "point " << i;
    EXPECT_NEAR(r.VelocidadMaxima, 30, 1e-6);
    for (const TMedidasPunto& p : r.puntos)
        EXPECT_EQ(p.FechaHoraIni, r.puntos[0].FechaHora);
}

TEST(CalcularMedidasRuta, StepSpeeds) {
    const double cien = norteM(100), mil = norteM(1000);
    const struct {
        const char* guarda;
        std::vector<Punto> pts;
        double maxima, ultima;
    } casos[] = {
        {"100 m in one second is 360 km/h",
         {{"0", "0", "", "2011-05-01T10:00:00Z"}, {num(cien), "0", "", "2011-05-01T10:00:01Z"}},
         360,
         180},
        {"10:00:06 to 10:00:07 is a whole second though 07 is not exact in days",
         {{"0", "0", "", "2011-05-01T10:00:06Z"}, {num(cien), "0", "", "2011-05-01T10:00:07Z"}},
         360,
         180},
        {"the same time stamp gives 0 whatever the length",
         {{"0", "0", "", "2011-05-01T10:00:00Z"}, {num(mil), "0", "", "2011-05-01T10:00:00Z"}},
         0,
         0},
        {"no elapsed time halves the previous speed",
         {{"0", "0", "", "2011-05-01T10:00:00Z"},
          {num(cien), "0", "", "2011-05-01T10:00:01Z"},
          {num(2 * cien), "0", "", "2011-05-01T10:00:01Z"}},
         360,
         90},
        {"less than a second apart counts as no time",
         {{"0", "0", "", "2011-05-01T10:00:00.2Z"}, {num(cien), "0", "", "2011-05-01T10:00:00.9Z"}},
         0,
         0},
        {"a step back in time counts its length",
         {{"0", "0", "", "2011-05-01T10:00:01Z"}, {num(cien), "0", "", "2011-05-01T10:00:00Z"}},
         360,
         180},
    };
    // The law of cosines resolves 100 m only to a few tenths of a millimetre.
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const auto r = medir(c.pts);
        EXPECT_NEAR(r.VelocidadMaxima, c.maxima, 1e-3);
        EXPECT_NEAR(r.puntos.back().VelocidadInstant, c.ultima, 1e-3);
    }
}

TEST(CalcularMedidasRuta, DistanceIsCutToWholeMetres) {
    const auto r = medir({{"0", "0", "0", ""}, {num(norteM(1234.9)), "0", "0", ""}});
    EXPECT_EQ(r.puntos[1].Distancia, 1234) << "1234.9 m is stored as 1234, not 1235";

    TTrackPointStore store;
    LlenarPuntos(store,
                 {{"41", "2", "", ""}, {"41.001", "2.002", "", ""}, {"41.0005", "2.004", "", ""}});
    const auto tres = CalcularMedidasRuta(store);
    EXPECT_EQ(tres.puntos.back().Distancia, 378);
    EXPECT_EQ(CalcularDistanciaTotal(store), 378) << "the total and the pass must agree";
}

TEST(CalcularDistanciaTotal, FewerThanTwoPointsIsZero) {
    TTrackPointStore vacio;
    EXPECT_EQ(CalcularDistanciaTotal(vacio), 0);
    TTrackPointStore uno;
    LlenarPuntos(uno, {{"41", "2", "", ""}});
    EXPECT_EQ(CalcularDistanciaTotal(uno), 0);
    TTrackPointStore malo;
    LlenarPuntos(malo, {{"41", "2", "", ""}, {"41.1", "", "", ""}});
    EXPECT_THROW(CalcularDistanciaTotal(malo), ESenderalError);
}

TEST(TCalculadorMedidas, ConversionErrorKeepsEarlierPoints) {
    const struct {
        const char* guarda;
        Punto malo;
        const char* enElMensaje;
    } casos[] = {
        {"non-numeric elevation", {"41.2", "2.1", "abc", ""}, "abc"},
        {"empty latitude", {"", "2.1", "500", ""}, "''"},
        {"latitude with a decimal comma", {"41,2", "2.1", "500", ""}, "41,2"},
        {"non-numeric longitude", {"41.2", "east", "500", ""}, "east"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        TCalculadorMedidas calc(500);
        const TMedidasPunto p0 = calc.Agregar("41.0", "2.1", "500", "2011-05-01T10:00:00Z");
        const TMedidasPunto p1 = calc.Agregar("41.1", "2.1", "510", "2011-05-01T10:10:00Z");
        try {
            calc.Agregar(c.malo.lat, c.malo.lon, c.malo.ele, c.malo.time);
            ADD_FAILURE() << "no conversion error";
        } catch (const ESenderalError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.enElMensaje)))
                << e.text().toStdString();
        }
        EXPECT_EQ(calc.Puntos(), 2);
        EXPECT_EQ(p1.Tag, 2);
        EXPECT_EQ(p1.AscAcumulado, 10);
        EXPECT_EQ(p0.Latitud, 41.0);
        EXPECT_EQ(calc.AlturaMaxima(), 510);
        // The pass carries on from the last good point.
        const TMedidasPunto p2 = calc.Agregar("41.1", "2.1", "505", "");
        EXPECT_EQ(p2.Tag, 3);
        EXPECT_EQ(p2.DescAcumulado, 5);
    }

    TTrackPointStore store;
    LlenarPuntos(store, {{"41", "2", "500", ""}, {"41", "2", "abc", ""}});
    EXPECT_THROW(CalcularMedidasRuta(store), ESenderalError);
}

TEST(TMedidasPunto, DerivedProperties) {
    const QLocale antes;
    TMedidasPunto p;
    p.Latitud = 41.00019;
    p.Longitud = -2.00019;
    p.FechaHora = 40664.5;
    EXPECT_EQ(p.LatitudAsInteger(), 410001) << "cut toward zero";
    EXPECT_EQ(p.LongitudAsInteger(), -20001) << "cut toward zero west of Greenwich";
    EXPECT_EQ(p.Fecha(), 40664.5);
    EXPECT_EQ(p.Hora(), 40664.5);
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(p.LatitudAsString(), QStringLiteral("41,00019"));
    EXPECT_EQ(p.LongitudAsString(), QStringLiteral("-2,00019"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(p.LatitudAsString(), QStringLiteral("41.00019"));
    QLocale::setDefault(antes);
}
