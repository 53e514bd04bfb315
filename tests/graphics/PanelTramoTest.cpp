// The plan page's sensor rows, the right-hand graph's quantity list and the choice of a
// stretch with the mouse, driven by events delivered to the page's own canvases.
#include "Figuras.h"
#include "Geodesia.h"
#include "Numeros.h"
#include "PanelGrafico.h"
#include "TablaMedidas.h"
#include "TrackStores.h"
#include "Trazado.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>
#include <cctype>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
const double kNada = std::nan("");

// Twelve points going north-east in steps of about 70 m every 20 s, with a 10-minute stop
// between points 6 and 7 (0-based).
struct Fixture {
    std::vector<double> lat, lon, ele, seg, pulso, cadencia;
};

Fixture fixture() {
    Fixture f;
    f.ele = {100, 110, 120, 118, 130, 150, 140, 120, 121, 100, 100, 105};
    f.seg = {0, 20, 40, 60, 80, 100, 120, 720, 740, 760, 780, 800};
    f.pulso = {120, 125, 130, kNada, 140, 150, 155, 100, 110, 115, 118, 120};
    f.cadencia = {80, 82, 84, 86, 88, 90, 92, 70, 72, 74, 76, 78};
    for (int i = 0; i < 12; ++i) {
        f.lat.push_back(41.0 + 0.0005 * i);
        f.lon.push_back(2.0 + 0.0003 * i);
    }
    return f;
}

std::string num(double v, int decimales) {
    return QString::number(v, 'f', decimales).toStdString();
}

void llenar(TTrackPointStore& s, const Fixture& f, bool sensores) {
    for (size_t i = 0; i < f.lat.size(); ++i) {
        s.NuevoPunto();
        s.FijarCampo(CampoPunto::Lat, num(f.lat[i], 4));
        s.FijarCampo(CampoPunto::Lon, num(f.lon[i], 4));
        s.FijarCampo(CampoPunto::Ele, num(f.ele[i], 0));
        const int t = int(f.seg[i]);
        s.FijarCampo(CampoPunto::Time, QStringLiteral("2021-05-01T10:%1:%2Z")
                                           .arg(t / 60, 2, 10, QLatin1Char('0'))
                                           .arg(t % 60, 2, 10, QLatin1Char('0'))
                                           .toStdString());
        if (sensores) {
            s.FijarSensor(Sensor::Pulso, f.pulso[i]); // NaN is not stored
            s.FijarSensor(Sensor::Cadencia, f.cadencia[i]);
        }
    }
    s.Open();
}

// The page on screen with the fixture built as the load builds it.
struct Pagina {
    TPanelGrafico panel;
    TTrackPointStore puntos;
    Fixture f = fixture();
    std::shared_ptr<const TTablaFiguras> figuras;

    explicit Pagina(bool sensores = true, Fixture otra = fixture()) {
        f = std::move(otra);
        llenar(puntos, f, sensores);
        figuras = TTablaFiguras::Calcular(TTablaMedidas::Calcular(puntos), TAjustesFiguras());
        panel.Figuras = [this] { return figuras; };
        panel.Sensores = [this] { return &puntos.Sensores(); };
        panel.Locale = QLocale::c();
        panel.resize(1100, 750);
        panel.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&panel));
        panel.CrearGraficoRuta(puntos);
        panel.CrearGraficoAltura();
        panel.CrearGraficoVelocidad();
        panel.AjustarGraficos();
        QCoreApplication::processEvents();
    }

    TGraphLink* linea(TSimpleGraph* g) const { return dynamic_cast<TGraphLink*>(g->Object(0)); }
    // Where point i shows on a canvas, in its viewport's coordinates.
    QPoint enPlano(int i) const {
        return panel.sgTrack->GraphToClient(panel.liRuta->Point(i)).toPoint();
    }
    QPoint enGrafico(TSimpleGraph* g, int i) const {
        return QPoint(g->GraphToClient(linea(g)->Point(i)).toPoint().x(),
                      g->viewport()->height() / 2);
    }

    void clic(TSimpleGraph* g, const QPoint& p, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, mods, p);
    }
    void arrastrar(TSimpleGraph* g, const QPoint& desde, const QPoint& hasta) {
        QWidget* vp = g->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, desde);
        for (int paso = 1; paso <= 4; ++paso) {
            const QPoint p = desde + (hasta - desde) * paso / 4;
            QMouseEvent mover(QEvent::MouseMove, p, vp->mapToGlobal(p), Qt::NoButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(vp, &mover);
        }
        QTest::mouseRelease(vp, Qt::LeftButton, {}, hasta);
    }

    // The test's own sums over points a..b of the fixture.
    double distancia(int a, int b) const {
        double d = 0;
        for (int i = a + 1; i <= b; ++i)
            d += GeoDistance(TPuntoGeo(f.lat[size_t(i - 1)], f.lon[size_t(i - 1)]),
                             TPuntoGeo(f.lat[size_t(i)], f.lon[size_t(i)]));
        return d;
    }
    double movimiento(int a, int b) const {
        double s = 0;
        for (int i = a + 1; i <= b; ++i) {
            const double dt = f.seg[size_t(i)] - f.seg[size_t(i - 1)];
            if (dt <= 120 && distancia(i - 1, i) / dt * 3.6 > 1)
                s += dt;
        }
        return s;
    }
};

QString hms(double s) {
    const int v = int(std::lround(s));
    return QStringLiteral("%1:%2:%3")
        .arg(v / 3600)
        .arg(v / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(v % 60, 2, 10, QLatin1Char('0'));
}

// "+43.0 / -32.0 m" into its two numbers.
std::pair<double, double> desnivel(const QString& texto) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^\\+?([\\d.,]+) / -?([\\d.,]+) m$")).match(texto);
    EXPECT_TRUE(m.hasMatch()) << texto.toStdString();
    return {m.captured(1).remove(',').toDouble(), m.captured(2).remove(',').toDouble()};
}
double numero(const QString& texto) {
    return texto.section(' ', 0, 0).remove(',').toDouble();
}

struct CasoTramo {
    const char* guarda;
    int a, b;                         // the stretch the gestures choose
    double ascFiltrado, descFiltrado; // worked out by hand from the fixture's elevations
    void (*gestos)(Pagina&, int a, int b);
};

const CasoTramo casosTramo[] = {
    {"click and shift-click on the plan view", 1, 8, 40, 30,
     [](Pagina& p, int a, int b) {
         p.clic(p.panel.sgTrack, p.enPlano(a));
         p.clic(p.panel.sgTrack, p.enPlano(b), Qt::ShiftModifier);
     }},
    {"the same from the far end", 1, 8, 40, 30,
     [](Pagina& p, int a, int b) {
         p.clic(p.panel.sgTrack, p.enPlano(b));
         p.clic(p.panel.sgTrack, p.enPlano(a), Qt::ShiftModifier);
     }},
    {"drag across the altitude graph", 2, 9, 32, 50,
     [](Pagina& p, int a, int b) {
         p.arrastrar(p.panel.sgAltura, p.enGrafico(p.panel.sgAltura, a),
                     p.enGrafico(p.panel.sgAltura, b));
     }},
    {"drag backwards across the speed graph", 2, 9, 32, 50,
     [](Pagina& p, int a, int b) {
         p.arrastrar(p.panel.sgVelocidad, p.enGrafico(p.panel.sgVelocidad, b),
                     p.enGrafico(p.panel.sgVelocidad, a));
     }},
    {"click on a graph, shift-click on the plan view", 2, 9, 32, 50,
     [](Pagina& p, int a, int b) {
         p.clic(p.panel.sgVelocidad, p.enGrafico(p.panel.sgVelocidad, a));
         p.clic(p.panel.sgTrack, p.enPlano(b), Qt::ShiftModifier);
     }},
};

class Tramo : public ::testing::TestWithParam<CasoTramo> {};

TEST_P(Tramo, TheGesturesChooseTheStretchAndThePanelShowsItsFigures) {
    const CasoTramo& c = GetParam();
    Pagina p;
    ASSERT_TRUE(p.panel.pnlTramo->isHidden());
    c.gestos(p, c.a, c.b);
    ASSERT_EQ(p.panel.TramoDesde(), c.a);
    ASSERT_EQ(p.panel.TramoHasta(), c.b);
    ASSERT_TRUE(p.panel.pnlTramo->isVisible());

    const auto& f = p.f;
    const double dist = p.distancia(c.a, c.b);
    const double segundos = f.seg[size_t(c.b)] - f.seg[size_t(c.a)];
    double asc = 0, desc = 0;
    for (int i = c.a + 1; i <= c.b; ++i) {
        const double d = f.ele[size_t(i)] - f.ele[size_t(i - 1)];
        (d > 0 ? asc : desc) += std::fabs(d);
    }
    EXPECT_EQ(p.panel.lblTramoPuntos->text(),
              QStringLiteral("Puntos %1 a %2").arg(c.a + 1).arg(c.b + 1));
    EXPECT_NEAR(numero(p.panel.lblTramoDistancia->text()), dist / 1000, 0.0051);
    EXPECT_EQ(p.panel.lblTramoTiempo->text(), hms(segundos));
    EXPECT_EQ(p.panel.lblTramoMovimiento->text(), hms(p.movimiento(c.a, c.b)));
    const auto [subida, bajada] = desnivel(p.panel.lblTramoDesnivel->text());
    EXPECT_NEAR(subida, asc, 0.051);
    EXPECT_NEAR(bajada, desc, 0.051);
    const auto [subidaF, bajadaF] = desnivel(p.panel.lblTramoDesnivelFiltrado->text());
    EXPECT_NEAR(subidaF, c.ascFiltrado, 0.051);
    EXPECT_NEAR(bajadaF, c.descFiltrado, 0.051);
    EXPECT_NEAR(numero(p.panel.lblTramoVelocidad->text()), dist / segundos * 3.6, 0.051);
    EXPECT_NEAR(numero(p.panel.lblTramoPendienteMedia->text()),
                (f.ele[size_t(c.b)] - f.ele[size_t(c.a)]) / dist * 100, 0.051);
    EXPECT_EQ(
        p.panel.lblTramoPendienteMaxima->text(),
        FormatoPatron(p.figuras->Tramo(c.a, c.b).PendienteMaximaPct, u"#,#0.0 %", u",", u"."));

    // One highlight per canvas over exactly the stretch's part of its line (the graphs
    // shade from one end to the other).
    const auto& ruta = p.panel.sgTrack->Resalte().Puntos;
    ASSERT_EQ(int(ruta.size()), c.b - c.a + 1);
    EXPECT_EQ(ruta.front(), p.panel.liRuta->Point(c.a));
    EXPECT_EQ(ruta.back(), p.panel.liRuta->Point(c.b));
    for (TSimpleGraph* g : {p.panel.sgAltura, p.panel.sgVelocidad}) {
        SCOPED_TRACE(g->objectName().toStdString());
        const auto& r = g->Resalte().Puntos;
        ASSERT_FALSE(r.empty());
        EXPECT_EQ(r.front(), p.linea(g)->Point(c.a));
        EXPECT_EQ(r.back(), p.linea(g)->Point(c.b));
    }
    // The highlight is drawn: the plan view's pixel halfway along the stretch is no
    // longer the route's red.
    const QImage vista = p.panel.sgTrack->viewport()->grab().toImage();
    const QPoint medio = p.enPlano((c.a + c.b) / 2);
    EXPECT_NE(QColor(vista.pixel(medio)), QColor(Qt::red));
}

INSTANTIATE_TEST_SUITE_P(Gestos, Tramo, ::testing::ValuesIn(casosTramo), [](const auto& info) {
    std::string n = info.param.guarda;
    for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return n;
});

TEST(TramoQuitar, EscapeAClickAwayANewClickOrClosingForgetsTheStretch) {
    const struct {
        const char* guarda;
        void (*quitar)(Pagina&);
    } casos[] = {
        {"Escape on the plan view",
         [](Pagina& p) { QTest::keyClick(p.panel.sgTrack, Qt::Key_Escape); }},
        {"a click on empty canvas",
         [](Pagina& p) {
             p.clic(p.panel.sgTrack, QPoint(p.panel.sgTrack->viewport()->width() - 3, 3));
         }},
        {"a plain click on another point",
         [](Pagina& p) { p.clic(p.panel.sgTrack, p.enPlano(10)); }},
        {"closing the track", [](Pagina& p) { p.panel.Limpiar(); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        Pagina p;
        p.clic(p.panel.sgTrack, p.enPlano(1));
        p.clic(p.panel.sgTrack, p.enPlano(5), Qt::ShiftModifier);
        ASSERT_EQ(p.panel.TramoDesde(), 1);
        ASSERT_FALSE(p.panel.sgTrack->Resalte().Vacio());
        c.quitar(p);
        EXPECT_EQ(p.panel.TramoDesde(), -1);
        EXPECT_EQ(p.panel.TramoHasta(), -1);
        EXPECT_TRUE(p.panel.pnlTramo->isHidden());
        for (TSimpleGraph* g : {p.panel.sgTrack, p.panel.sgAltura, p.panel.sgVelocidad})
            EXPECT_TRUE(g->Resalte().Vacio()) << g->objectName().toStdString();
    }
}

TEST(TramoQuitar, AfterAPlainClickAShiftClickStretchesFromTheNewPoint) {
    Pagina p;
    p.clic(p.panel.sgTrack, p.enPlano(1));
    p.clic(p.panel.sgTrack, p.enPlano(5), Qt::ShiftModifier);
    p.clic(p.panel.sgAltura, p.enGrafico(p.panel.sgAltura, 7));
    EXPECT_EQ(p.panel.TramoDesde(), -1);
    p.clic(p.panel.sgAltura, p.enGrafico(p.panel.sgAltura, 10), Qt::ShiftModifier);
    EXPECT_EQ(p.panel.TramoDesde(), 7);
    EXPECT_EQ(p.panel.TramoHasta(), 10);
    // A further shift-click moves the far end only.
    p.clic(p.panel.sgTrack, p.enPlano(3), Qt::ShiftModifier);
    EXPECT_EQ(p.panel.TramoDesde(), 3);
    EXPECT_EQ(p.panel.TramoHasta(), 7);
}

TEST(TramoQuitar, OnALoopAClickWhereItStartsAndEndsTakesTheStart) {
    Fixture vuelta = fixture();
    vuelta.lat.back() = vuelta.lat.front();
    vuelta.lon.back() = vuelta.lon.front();
    Pagina p(true, vuelta);
    p.clic(p.panel.sgTrack, p.enPlano(11));
    p.clic(p.panel.sgTrack, p.enPlano(5), Qt::ShiftModifier);
    EXPECT_EQ(p.panel.TramoDesde(), 0);
    EXPECT_EQ(p.panel.TramoHasta(), 5);
}

// ------------------------------------------------------------------ point panel rows

TEST(FilasPunto, TheInspectedPointShowsItsSensorValuesFilteredTotalsAndGrade) {
    Pagina p;
    auto& pl = p.panel;
    EXPECT_TRUE(pl.pnlGraficoDatos->lbldgPulso->isVisibleTo(&pl));
    EXPECT_TRUE(pl.pnlGraficoDatos->lbldgCadencia->isVisibleTo(&pl));
    EXPECT_FALSE(pl.pnlGraficoDatos->lbldgPotencia->isVisibleTo(&pl));
    EXPECT_FALSE(pl.pnlGraficoDatos->lbldgTemperatura->isVisibleTo(&pl));
    const struct {
        int punto;
        const char* pulso;
        const char* cadencia;
        const char* ascFiltrado;
        const char* descFiltrado;
    } casos[] = {
        // Filtered totals by hand: the climb from 100 counts once past 5 m; the run down
        // from 150 once it passes 145.
        {0, "120 ppm", "80 rpm", "0.00 metros (filtrado)", "0.00 metros (filtrado)"},
        {1, "125 ppm", "82 rpm", "10.00 metros (filtrado)", "0.00 metros (filtrado)"},
        {2, "130 ppm", "84 rpm", "20.00 metros (filtrado)", "0.00 metros (filtrado)"},
        {3, "", "86 rpm", "20.00 metros (filtrado)", "0.00 metros (filtrado)"},
        {6, "155 ppm", "92 rpm", "50.00 metros (filtrado)", "10.00 metros (filtrado)"},
        {9, "115 ppm", "74 rpm", "50.00 metros (filtrado)", "50.00 metros (filtrado)"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.punto);
        // The pointer comes over the point as the window system moves it.
        QTest::mouseMove(pl.sgTrack->viewport(), p.enPlano(c.punto));
        ASSERT_EQ(pl.pnlGraficoDatos->lblEnterMouse->text(),
                  QStringLiteral("Punto: %1").arg(c.punto + 1));
        EXPECT_EQ(pl.pnlGraficoDatos->lbldgPulso->text(), QString::fromUtf8(c.pulso));
        EXPECT_EQ(pl.pnlGraficoDatos->lbldgCadencia->text(), QString::fromUtf8(c.cadencia));
        EXPECT_EQ(pl.pnlGraficoDatos->lbldgAscFiltrado->text(), QString::fromUtf8(c.ascFiltrado));
        EXPECT_EQ(pl.pnlGraficoDatos->lbldgDescFiltrado->text(), QString::fromUtf8(c.descFiltrado));
        // Points are about 70 m apart: the grade over the last 50 m is the last step's.
        if (c.punto == 0) {
            EXPECT_EQ(pl.pnlGraficoDatos->lbldgPendiente->text(), QString());
        } else {
            const double g = (p.f.ele[size_t(c.punto)] - p.f.ele[size_t(c.punto - 1)]) /
                             p.distancia(c.punto - 1, c.punto) * 100;
            EXPECT_NEAR(numero(pl.pnlGraficoDatos->lbldgPendiente->text()), g, 0.051)
                << pl.pnlGraficoDatos->lbldgPendiente->text().toStdString();
        }
    }
    // Leaving the canvas empties the new rows with the others.
    pl.sgTrackExit();
    EXPECT_TRUE(pl.pnlGraficoDatos->lbldgPulso->text().isEmpty());
    EXPECT_TRUE(pl.pnlGraficoDatos->lbldgAscFiltrado->text().isEmpty());
}

TEST(FilasPunto, ATrackWithoutSensorsHasNoSensorRowsNorList) {
    Pagina p(false);
    for (QLabel* l :
         {p.panel.pnlGraficoDatos->lbldgPulso, p.panel.pnlGraficoDatos->lbldgCadencia,
          p.panel.pnlGraficoDatos->lbldgPotencia, p.panel.pnlGraficoDatos->lbldgTemperatura})
        EXPECT_FALSE(l->isVisibleTo(&p.panel)) << l->objectName().toStdString();
    EXPECT_FALSE(p.panel.cbGraficoDerecho->isVisibleTo(&p.panel));
    EXPECT_TRUE(p.panel.pnlGraficoDatos->lbldgAscFiltrado->isVisibleTo(&p.panel));
}

// ------------------------------------------------------------------ right-hand graph

TEST(GraficoDerecho, TheListOnItsTitleSwitchesBetweenSpeedAndTheTracksQuantities) {
    Pagina p;
    auto& pl = p.panel;
    QComboBox* lista = pl.cbGraficoDerecho;
    ASSERT_TRUE(lista->isVisible());
    QStringList items;
    for (int i = 0; i < lista->count(); ++i)
        items << lista->itemText(i);
    EXPECT_EQ(items, QStringList({"Velocidad", "Pulso", "Cadencia"}));
    EXPECT_EQ(lista->currentText(), QStringLiteral("Velocidad"));
    const QString tituloVelocidad = pl.pnlAuxVelocidad->title();

    // The keyboard on the list itself, as the window system delivers it, while point 4
    // is inspected: the marker stays on it in the new graph.
    QTest::mouseMove(pl.sgTrack->viewport(), p.enPlano(4));
    QTest::keyClick(lista, Qt::Key_Down);
    ASSERT_EQ(pl.MagnitudGrafico(), TPanelGrafico::mgPulso);
    auto* marca = dynamic_cast<TGraphNode*>(pl.sgVelocidad->Object(1));
    ASSERT_TRUE(marca && marca->Visible());
    EXPECT_NEAR(marca->BoundsRect().center().x(), p.linea(pl.sgVelocidad)->Point(4).x(), 1);
    EXPECT_EQ(pl.pnlAuxVelocidad->title(), QStringLiteral("Gráfico de Pulso"));
    TGraphLink* l = p.linea(pl.sgVelocidad);
    ASSERT_EQ(l->PointCount(), 12);
    // Higher heart rate higher up the graph; point 3 has none and keeps point 2's.
    EXPECT_LT(l->Point(6).y(), l->Point(5).y()); // 155 over 150
    EXPECT_GT(l->Point(7).y(), l->Point(6).y()); // 100 under 155
    EXPECT_EQ(l->Point(3).y(), l->Point(2).y());
    EXPECT_EQ(l->Point(6).y(), 10); // the highest value on the top line
    // The marker follows the inspected point as on the speed graph.
    QTest::mouseMove(pl.sgTrack->viewport(), p.enPlano(6));
    ASSERT_TRUE(marca->Visible());
    EXPECT_NEAR(marca->BoundsRect().center().x(), l->Point(6).x(), 1);

    QTest::keyClick(lista, Qt::Key_Up);
    ASSERT_EQ(pl.MagnitudGrafico(), TPanelGrafico::mgVelocidad);
    EXPECT_EQ(pl.pnlAuxVelocidad->title(), tituloVelocidad);
    l = p.linea(pl.sgVelocidad);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(l->Point(i).y(),
                  YVelocidad(pl.VelocidadMaxima, pl.pList[size_t(i)]->VelocidadInstant()));

    // A close brings speed back for the next track.
    QTest::keyClick(lista, Qt::Key_Down);
    pl.Limpiar();
    EXPECT_EQ(pl.MagnitudGrafico(), TPanelGrafico::mgVelocidad);
    EXPECT_EQ(pl.pnlAuxVelocidad->title(), tituloVelocidad);
}
} // namespace
