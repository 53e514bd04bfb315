// Filtered climb, moving time, grade and the figures of a stretch of the track.
#include "Figuras.h"

#include "Geodesia.h"
#include "TablaMedidas.h"
#include "TrackStores.h"

#include <QDateTime>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {
struct Punto {
    double lat, lon, ele;
    qint64 segundos; // from the start; negative: no time
};

std::string texto(double v) {
    return QString::number(v, 'f', 7).toStdString();
}

std::shared_ptr<const TTablaFiguras> figuras(const std::vector<Punto>& pts,
                                             TAjustesFiguras ajustes = {}) {
    TTrackPointStore store;
    const QDateTime inicio(QDate(2023, 6, 1), QTime(8, 0), Qt::UTC);
    for (const Punto& p : pts) {
        store.NuevoPunto();
        store.FijarCampo(CampoPunto::Lat, texto(p.lat));
        store.FijarCampo(CampoPunto::Lon, texto(p.lon));
        store.FijarCampo(CampoPunto::Ele, texto(p.ele));
        store.FijarCampo(CampoPunto::Time,
                         p.segundos < 0
                             ? std::string()
                             : inicio.addSecs(p.segundos).toString(Qt::ISODate).toStdString());
    }
    store.Open();
    return TTablaFiguras::Calcular(TTablaMedidas::Calcular(store), ajustes);
}

// A climb of 500 m and the way back down along a meridian, 1 m of elevation every
// 10 m, with up to 2 m of noise on every point.
std::vector<Punto> subidaConRuido() {
    std::mt19937 gen(18);
    std::uniform_real_distribution<double> ruido(-2.0, 2.0);
    std::vector<Punto> pts;
    const double paso = 10.0 / 111319.49; // degrees of latitude for 10 m
    for (int i = 0; i <= 1000; ++i) {
        const double real = i <= 500 ? 1000 + i : 1000 + (1000 - i);
        pts.push_back({41 + i * paso, 2, real + ruido(gen), i * 5});
    }
    return pts;
}
} // namespace

TEST(Figuras, HysteresisKeepsANoisyClimbCloseToTheRealOne) {
    const auto f = figuras(subidaConRuido());
    const TFigurasTramo t = f->Total();
    EXPECT_NEAR(t.AscensoFiltradoM, 500, 15);
    EXPECT_NEAR(t.DescensoFiltradoM, 500, 15);
    EXPECT_GT(t.AscensoM, 700) << "every difference counts in the raw figure";
    EXPECT_GT(t.DescensoM, 700);
}

TEST(Figuras, FilterCases) {
    const struct {
        const char* guarda;
        std::vector<double> ele;
        double umbral, asc, desc;
    } casos[] = {
        {"wiggles under the threshold count nothing", {100, 104, 100, 103, 99, 102}, 5, 0, 0},
        {"a run counts from the lowest point before it", {100, 97, 103, 110}, 5, 13, 0},
        {"a turn closes the climb at its top", {100, 120, 118, 110, 112}, 5, 20, 10},
        {"descent first", {300, 290, 280, 285, 286}, 5, 6, 20},
        {"threshold 0 counts every change", {500, 510, 505, 505, 520}, 0, 25, 5},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        TFiltroDesnivel filtro(c.umbral);
        for (double e : c.ele)
            filtro.Agregar(e);
        EXPECT_DOUBLE_EQ(filtro.Ascenso(), c.asc);
        EXPECT_DOUBLE_EQ(filtro.Descenso(), c.desc);
    }
}

TEST(Figuras, FilteredTotalsUpToEachPointNeverGoBack) {
    const auto f = figuras(subidaConRuido());
    for (int i = 1; i < f->Puntos(); ++i) {
        ASSERT_GE(f->AscensoFiltrado(i), f->AscensoFiltrado(i - 1)) << i;
        ASSERT_GE(f->DescensoFiltrado(i), f->DescensoFiltrado(i - 1)) << i;
    }
    EXPECT_NEAR(f->AscensoFiltrado(500), 500, 5) << "at the top, the whole climb";
    EXPECT_LT(f->DescensoFiltrado(500), 5);
}

TEST(Figuras, TenMinuteStopIsNotMovingTime) {
    // 20 m every 10 s (7.2 km/h), a 10-minute stop at the same place with a point every
    // 10 s and a little GPS drift, then 20 m every 10 s again.
    std::vector<Punto> pts;
    const double paso = 20.0 / 111319.49;
    qint64 t = 0;
    double lat = 41;
    for (int i = 0; i < 30; ++i, t += 10, lat += paso)
        pts.push_back({lat, 2, 100, t});
    for (int i = 0; i < 60; ++i, t += 10)
        pts.push_back({lat + (i % 2) * 0.5 / 111319.49, 2, 100, t});
    for (int i = 0; i < 30; ++i, t += 10, lat += paso)
        pts.push_back({lat, 2, 100, t});
    const TFigurasTramo total = figuras(pts)->Total();
    EXPECT_DOUBLE_EQ(total.DuracionS, double(t - 10));
    EXPECT_DOUBLE_EQ(total.MovimientoS, double(t - 10 - 600));
    EXPECT_DOUBLE_EQ(total.ParadoS, 600);
    EXPECT_NEAR(total.VelocidadMovimientoKmh, 7.2, 0.01);

    // The same stop as one gap of ten minutes between two points: a pause.
    std::vector<Punto> salto;
    for (int i = 0; i < 10; ++i)
        salto.push_back({41 + i * paso, 2, 100, i * 10});
    salto.push_back({41 + 10 * paso, 2, 100, 90 + 600});
    const TFigurasTramo conSalto = figuras(salto)->Total();
    EXPECT_DOUBLE_EQ(conSalto.DuracionS, 690);
    EXPECT_DOUBLE_EQ(conSalto.MovimientoS, 90);
}

TEST(Figuras, TrackWithoutTimesHasNoTimeFigures) {
    const TFigurasTramo t = figuras({{41, 2, 100, -1}, {41.001, 2, 110, -1}})->Total();
    EXPECT_TRUE(std::isnan(t.DuracionS));
    EXPECT_TRUE(std::isnan(t.MovimientoS));
    EXPECT_TRUE(std::isnan(t.VelocidadMovimientoKmh));
    EXPECT_NEAR(t.DistanciaM, 111.32, 0.01) << "the other figures are still there";
}

TEST(Figuras, StretchFiguresAreTheSumsOfItsOwnPoints) {
    // Uneven steps along a meridian, with times and elevations of the fixture's own.
    const std::vector<Punto> pts = {
        {41.0000, 2, 500, 0},   {41.0004, 2, 506, 20},  {41.0010, 2, 515, 50},
        {41.0011, 2, 514, 200}, {41.0020, 2, 530, 240}, {41.0031, 2, 541, 300},
        {41.0033, 2, 538, 320}, {41.0040, 2, 545, 360},
    };
    const auto f = figuras(pts);
    const int desde = 1, hasta = 6;
    double dist = 0, asc = 0, desc = 0, mov = 0, distMov = 0;
    for (int i = desde + 1; i <= hasta; ++i) {
        const double d = GeoDistance(TPuntoGeo(pts[i - 1].lat, 2), TPuntoGeo(pts[i].lat, 2));
        const double s = double(pts[i].segundos - pts[i - 1].segundos);
        dist += d;
        const double de = pts[i].ele - pts[i - 1].ele;
        (de > 0 ? asc : desc) += std::fabs(de);
        if (d / s * 3.6 > 1) {
            mov += s;
            distMov += d;
        }
    }
    for (const auto& [a, b] : {std::pair{desde, hasta}, std::pair{hasta, desde}}) {
        SCOPED_TRACE(a < b ? "forward" : "chosen backwards");
        const TFigurasTramo t = f->Tramo(a, b);
        EXPECT_EQ(t.Desde, desde);
        EXPECT_EQ(t.Hasta, hasta);
        EXPECT_NEAR(t.DistanciaM, dist, 1e-6);
        EXPECT_NEAR(t.AscensoM, asc, 1e-9);
        EXPECT_NEAR(t.DescensoM, desc, 1e-9);
        EXPECT_DOUBLE_EQ(t.DuracionS, 300);
        EXPECT_DOUBLE_EQ(t.MovimientoS, mov);
        EXPECT_DOUBLE_EQ(t.ParadoS, 300 - mov);
        EXPECT_NEAR(t.VelocidadMediaKmh, dist / 300 * 3.6, 1e-9);
        EXPECT_NEAR(t.VelocidadMovimientoKmh, distMov / mov * 3.6, 1e-9);
        EXPECT_NEAR(t.PendienteMediaPct, (538.0 - 506.0) / dist * 100, 1e-9);
        // Steepest over 100 m: point 5 against point 4 is 122 m at 11 m, point 4 against
        // point 2 is 111 m at 15 m; the table holds the longest window of at least 100 m.
        double maxima = 0;
        for (int j = desde; j <= hasta; ++j) {
            int i = -1;
            for (int k = desde; k < j; ++k)
                if (GeoDistance(TPuntoGeo(pts[k].lat, 2), TPuntoGeo(pts[j].lat, 2)) >= 100)
                    i = k;
            if (i < 0)
                continue;
            const double g = (pts[j].ele - pts[i].ele) /
                             GeoDistance(TPuntoGeo(pts[i].lat, 2), TPuntoGeo(pts[j].lat, 2)) * 100;
            if (std::fabs(g) > std::fabs(maxima))
                maxima = g;
        }
        EXPECT_NEAR(t.PendienteMaximaPct, maxima, 1e-9);
    }
}

TEST(Figuras, GradeAtAPointOverTheLast50Metres) {
    // 30 m steps: point 2 is the first 50 m past a point.
    const double paso = 30.0 / 111319.49;
    const auto f = figuras({{41, 2, 100, 0},
                            {41 + paso, 2, 103, 10},
                            {41 + 2 * paso, 2, 106, 20},
                            {41 + 3 * paso, 2, 100, 30}});
    EXPECT_TRUE(std::isnan(f->Pendiente(0)));
    EXPECT_TRUE(std::isnan(f->Pendiente(1))) << "only 30 m behind it";
    EXPECT_NEAR(f->Pendiente(2), 6.0 / 60 * 100, 0.01);
    EXPECT_NEAR(f->Pendiente(3), -3.0 / 60 * 100, 0.01) << "from point 1, the last 50 m back";
}

TEST(Figuras, ThresholdComesFromTheSettings) {
    TAjustesFiguras a;
    a.UmbralDesnivelM = 0;
    const TFigurasTramo t = figuras(subidaConRuido(), a)->Total();
    EXPECT_DOUBLE_EQ(t.AscensoFiltradoM, t.AscensoM) << "threshold 0 is the raw figure";
}
