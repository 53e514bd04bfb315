#include "Trazado.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {
struct Punto {
    double lat, lon;
};

std::vector<QPoint> proyectar(const std::vector<Punto>& pts) {
    TProyeccion p;
    for (const Punto& q : pts)
        p.Incluir(CoordenadaEntera(q.lat), CoordenadaEntera(q.lon));
    std::vector<QPoint> r;
    for (const Punto& q : pts)
        r.push_back(p.Posicion(CoordenadaEntera(q.lat), CoordenadaEntera(q.lon)));
    return r;
}
} // namespace

TEST(Proyeccion, TresPuntosConTruncado) {
    // 2.002 * 10000 is 20019.999... in double precision and is cut to 20019.
    EXPECT_EQ(CoordenadaEntera(2.002), 20019);
    const auto r = proyectar({{41.0, 2.0}, {41.001, 2.002}, {41.0005, 2.004}});
    ASSERT_EQ(r.size(), 3u);
    // East-west offsets 0, 19 and 40 units times cos(41.0005 degrees) = 0.7547.
    EXPECT_EQ(r[0], QPoint(15, 10));
    EXPECT_EQ(r[1], QPoint(29, 0));
    EXPECT_EQ(r[2], QPoint(45, 5));
}

TEST(Proyeccion, OesteYSurComoCualquierOtra) {
    struct Caso {
        const char* nombre;
        std::vector<Punto> pts;
        int norte; // index of the northernmost point
        int oeste; // index of the westernmost point
        int ancho; // (maxLonI - minLonI) times the cosine of the middle latitude
    };
    const Caso casos[] = {
        {"west of Greenwich", {{40.0, -3.7}, {40.01, -3.69}, {39.995, -3.72}}, 1, 2, 230},
        {"south of the equator", {{-33.45, -70.66}, {-33.44, -70.65}, {-33.46, -70.67}}, 1, 2, 167},
        {"straddling Greenwich", {{51.47, -0.01}, {51.48, 0.02}}, 1, 0, 187},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const auto r = proyectar(c.pts);
        EXPECT_EQ(r[size_t(c.norte)].y(), 0);
        EXPECT_EQ(r[size_t(c.oeste)].x(), c.ancho / 2);
        for (const QPoint& p : r) {
            EXPECT_GE(p.x(), c.ancho / 2);
            EXPECT_LE(p.x(), c.ancho + c.ancho / 2);
            EXPECT_GE(p.y(), 0);
        }
    }
}

TEST(Proyeccion, RutaEnormeCabeEnElLienzo) {
    // 10 degrees east-west and 8 north-south would pass 65535 units: the route keeps its
    // shape at a coarser unit and stays inside the canvas instead of piling on the edge.
    const auto r = proyectar({{40.0, -5.0}, {48.0, 5.0}, {44.0, 0.0}});
    for (const QPoint& p : r) {
        EXPECT_LE(p.x(), 65535 - 10);
        EXPECT_LE(p.y(), 65535 - 10);
    }
    EXPECT_EQ(r[1].y(), 0);
    // the middle point stays in the middle
    EXPECT_NEAR(r[2].x(), (r[0].x() + r[1].x()) / 2.0, 1.0);
    EXPECT_NEAR(r[2].y(), (r[0].y() + r[1].y()) / 2.0, 1.0);
    // 80000 units north-south at half the unit (east-west 100000 times cos 44 degrees)
    EXPECT_EQ(r[0].y(), 80000 / 2);
}

// A square on the ground is a square in the plan view, as on a map: x is scaled by the
// cosine of the track's middle latitude.
TEST(Proyeccion, UnCuadradoSobreElTerrenoEsUnCuadrado) {
    for (const double lat : {0.0, 23.5, 46.0, 60.0, -46.0, 70.0}) {
        SCOPED_TRACE(lat);
        // 0.02 degrees of latitude north-south, the same length east-west.
        const double dLon = 0.02 / std::cos(lat * M_PI / 180);
        const auto r =
            proyectar({{lat, 7.0}, {lat + 0.02, 7.0}, {lat + 0.02, 7.0 + dLon}, {lat, 7.0 + dLon}});
        const int alto = r[0].y() - r[1].y();
        const int ancho = r[3].x() - r[0].x();
        EXPECT_NEAR(alto, 200, 1); // south of the equator the cut toward zero may add one
        EXPECT_NEAR(ancho, alto, alto * 0.02);
        EXPECT_EQ(r[0].x(), ancho / 2) << "the westernmost point still lies at half the width";
    }
}

TEST(AnchoLineaAutomatico, PorAnchoDelGrafico) {
    struct Caso {
        const char* nombre;
        int ancho;
        int esperado;
    } casos[] = {
        {"150 units: 1.8 rounds to 2", 150, 2},
        {"250 units: 3", 250, 3},
        {"1000 units: 12 (the box clamps it to 10)", 1000, 12},
        {"tiny route: never below 2", 20, 2},
        {"625 units: 7.5 goes to the even 8", 625, 8},
        {"875 units: 10.5 goes to the even 10", 875, 10},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(AnchoLineaAutomatico(c.ancho), c.esperado);
    }
}

TEST(CoordenadasGraficos, AlturaYVelocidad) {
    EXPECT_EQ(YAltura(850, 850), 10);
    EXPECT_EQ(YAltura(850, 820), 40);
    // all at or below 0: the highest stays 0, so -5 m lies at 15
    EXPECT_EQ(YAltura(0, -5), 15);
    EXPECT_EQ(YVelocidad(35.7, 30.2), 50); // trunc(5.5) = 5, times 10
    EXPECT_EQ(YVelocidad(35.7, 35.7), 0);
}

TEST(CoordenadasGraficos, XRepartidaPorElAnchoVisible) {
    struct Caso {
        const char* nombre;
        double ancho;
        std::vector<int> xs;
    } casos[] = {
        {"400 units visible", 400, {10, 143, 277}},
        {"600 units visible", 600, {10, 210, 410}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const double s = c.ancho / 3;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(XGrafico(i, s), c.xs[size_t(i)]);
    }
    // a half goes to the even neighbour
    EXPECT_EQ(XGrafico(1, 2.5), 12);
    EXPECT_EQ(XGrafico(1, 3.5), 14);
}
