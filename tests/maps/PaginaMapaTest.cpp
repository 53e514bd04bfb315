#include "PaginaMapa.h"
#include "PuntosPrueba.h"
#include "SenderalError.h"
#include "TablaMedidas.h"
#include "TrackStores.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace {
QByteArray leer(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TParametrosMapa parametrosPrograma(const QString& puntos) {
    return *ParametrosMostrarMapa(QString(), QString(), puntos, QStringLiteral("G_PHYSICAL_MAP"),
                                  1);
}

QString supportFolder() {
    return QStringLiteral(SENDERAL_APP_DIR "/mapa");
}
} // namespace

TEST(PlantillaMapa, HasTheNinetySevenLinesEndedByCrLf) {
    const QByteArray bytes = leer(QStringLiteral(":/RES_HTML_PAGEMAP"));
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\r\n"), 97);
    EXPECT_EQ(bytes.count('\n'), 97) << "a bare LF line end";
    EXPECT_TRUE(bytes.endsWith("</html>\r\n\r\n\r\n\r\n\r\n"));

    const QStringList lines = LineasPlantilla(CargarPlantillaMapa());
    ASSERT_EQ(lines.size(), 97);
    struct Row {
        int line;
        const char* text;
    } rows[] = {
        {13, "        map = new GMap2(document.getElementById(\"map\"));\t"},
        {14, "\t\t//##CONTROLS##"},
        {16, "        "},
        {44, "\t\t// No a\xC3\xB1"
             "adimos la marca"},
        {56, "    GEvent.addListener(map, \"zoomend\", function (oldLevel, newLevel){           "},
        {63, "    GEvent.addListener(map, \"mousemove\", function(latlng) {      \t\t\t\t\t\t\t"},
        {72, "        });             "},
        {83, "    //##TAMANYO##    "},
        {92, " </body>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        EXPECT_EQ(lines[r.line - 1], QString::fromUtf8(r.text));
    }
    // Line 5 loads the map interface with the version-2 query.
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("    <script src=\"")));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("?file=api&amp;v=2.x&amp;key=")));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("\" type=\"text/javascript\"></script>")));
}

TEST(ListaPuntosMapa, BuildsTheBlockLineByLine) {
    struct Case {
        const char* name;
        std::initializer_list<TPuntoPrueba> points;
        QStringList expected;
    } cases[] = {
        {"coordinates cut to 12, the short ones whole, comma from the second point",
         {{"41.3363171017184", "2.1025514602661133"}, {"41.33651", "2.103968"}},
         {"          new GLatLng(41.336317101,2.1025514602)",
          "          ,new GLatLng(41.33651,2.103968)"}},
        {"one point has no comma",
         {{"-5.185547", "39.97712"}},
         {"          new GLatLng(-5.185547,39.97712)"}},
        {"empty track gives no lines", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTrackPointStore store;
        LlenarPuntos(store, c.points);
        EXPECT_EQ(ListaPuntosMapa(store), c.expected);
    }
    EXPECT_EQ(UnirLineas({"a", "b"}), QStringLiteral("a\r\nb\r\n"));
}

TEST(ListaPuntosMapa, RefusesTextsThatAreNotNumbersBeforeTheyReachTheScript) {
    TTrackPointStore store;
    LlenarPuntos(store, {{"41.3", "2.1"}, {"alert(1)", "2.1"}});
    EXPECT_THROW(ListaPuntosMapa(store), ESenderalError);
}

TEST(ParametrosMostrarMapa, NeedsACentreOrPoints) {
    struct Case {
        const char* name;
        const char *lat, *lon, *points;
        int zoom;
        bool generated;
        int expectedZoom;
    } cases[] = {
        {"nothing to show", "", "", "", 1, false, 0},
        {"half a centre is no centre", "41.3", "", "", 1, false, 0},
        {"points only", "", "", "x\r\n", 1, true, 1},
        {"centre only, zoom 0 becomes 14", "41.3", "2.1", "", 0, true, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto p = ParametrosMostrarMapa(c.lat, c.lon, c.points, "G_PHYSICAL_MAP", c.zoom);
        ASSERT_EQ(p.has_value(), c.generated);
        if (p) {
            EXPECT_EQ(p->zoom, c.expectedZoom);
            EXPECT_EQ(p->controles, QStringList({"GLargeMapControl", "GMapTypeControl"}));
            EXPECT_FALSE(p->mostrarVentana);
        }
    }
}

TEST(RellenarPlantillaMapa, TheProgramsPageMatchesTheExpectedFileLineByLine) {
    TTrackPointStore store;
    LlenarPuntos(store, {{"41.3363171017184", "2.1025514602661133"}, {"41.33651", "2.103968"}});
    const QStringList entries =
        RellenarPlantillaMapa(LineasPlantilla(CargarPlantillaMapa()),
                              parametrosPrograma(UnirLineas(ListaPuntosMapa(store))));
    const QList<QByteArray> got = BytesPagina(entries).split('\n');
    const QList<QByteArray> expected =
        leer(QStringLiteral(SENDERAL_SOURCE_DIR "/tests/maps/data/mapa_dos_puntos.html"))
            .split('\n');
    ASSERT_FALSE(expected.isEmpty());
    for (int i = 0; i < std::min(got.size(), expected.size()); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(got[i].toStdString(), expected[i].toStdString());
    }
    EXPECT_EQ(got.size(), expected.size());
}

TEST(RellenarPlantillaMapa, MarkerRules) {
    const QStringList tmpl = LineasPlantilla(CargarPlantillaMapa());
    TParametrosMapa p =
        *ParametrosMostrarMapa("39.97712", "-5.185547", QString(), "G_PHYSICAL_MAP", 6);
    p.mostrarVentana = true;
    p.controles = {"A", "B", "C"};
    const QStringList page = RellenarPlantillaMapa(tmpl, p);

    EXPECT_TRUE(page.contains("        map.setCenter(new GLatLng(39.97712,-5.185547),6);"));
    EXPECT_FALSE(page.join('\n').contains("//##SETCENTER##"));
    EXPECT_TRUE(page.contains("       marker.openInfoWindowHtml(html);"));
    const int a = page.indexOf("        map.addControl(new A());");
    EXPECT_EQ(page.indexOf("        map.addControl(new C());"), a - 2) << "reverse order";
    EXPECT_EQ(page.indexOf("        map.addControl(new B());"), a - 1);
    // Without points the track marker stays, and so do the two that are never replaced.
    EXPECT_TRUE(page.contains("\t\t//##TRACK##"));
    EXPECT_TRUE(page.contains("\t\t//##MARCA##"));
    EXPECT_TRUE(page.contains("\t\t//##OTROS##"));

    // A marker that no line holds changes nothing.
    QStringList bare = tmpl;
    bare.removeAt(bare.indexOf("\t\t//##MAPTYPE##"));
    const QStringList noType = RellenarPlantillaMapa(bare, p);
    EXPECT_FALSE(noType.join('\n').contains("setMapType"));
    EXPECT_FALSE(noType.join('\n').contains("addMapType"));
}

TEST(EscribirMapa, WritesBothPagesAndThePagesScriptsIntoTheFolder) {
    QTemporaryDir dir;
    TTrackPointStore first, second;
    LlenarPuntos(first, {{"41.1", "2.1"}, {"41.2", "2.2"}});
    LlenarPuntos(second, {{"42.5", "1.5"}});
    const QString folder = dir.filePath("cache");
    EscribirMapa(parametrosPrograma(UnirLineas(ListaPuntosMapa(first))), folder, supportFolder());
    const TResultadoMapa r = EscribirMapa(parametrosPrograma(UnirLineas(ListaPuntosMapa(second))),
                                          folder, supportFolder());
    ASSERT_TRUE(r.ok()) << r.Mensaje().toStdString();
    EXPECT_EQ(r.paginaDatos, QDir(folder).filePath("~dat.html"));
    const QByteArray dat = leer(QDir(folder).filePath("~dat.html"));
    EXPECT_EQ(dat, leer(QDir(folder).filePath("~map.html")));
    EXPECT_TRUE(dat.contains("new GLatLng(42.5,1.5)")) << "second generation wins";
    EXPECT_FALSE(dat.contains("41.1"));
    for (const QString& name : FicherosSoportePagina())
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath(name))) << name.toStdString();
}

TEST(EscribirMapa, FailuresCarryTheirMessages) {
    QTemporaryDir dir;
    const TParametrosMapa p = parametrosPrograma(QStringLiteral("          new GLatLng(1,2)\r\n"));

    // The folder is a file: the page cannot be created.
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TResultadoMapa r = EscribirMapa(p, dir.filePath("blocked"), supportFolder());
    EXPECT_EQ(r.fallo, TFalloMapa::fmFichero);
    EXPECT_TRUE(r.Mensaje().startsWith(
        "Se ha producido un error crear el mapa. Consulta con el Administrador del sistema. "
        "\r\nError: "));
    EXPECT_TRUE(r.paginaDatos.isEmpty());

    // The page's script is missing from the program folder.
    r = EscribirMapa(p, dir.filePath("cache"), dir.filePath("no-such-folder"));
    EXPECT_EQ(r.fallo, TFalloMapa::fmOtro);
    EXPECT_TRUE(r.Mensaje().startsWith("Se ha producido un error crear al generar el mapa. "
                                       "Consulta con el Administrador del sistema. \r\nError: "));
    EXPECT_TRUE(r.Mensaje().contains("senderal-mapa.js"));

    TResultadoMapa tmpl;
    tmpl.fallo = TFalloMapa::fmPlantilla;
    EXPECT_EQ(tmpl.Mensaje(), "No se ha podido acceder a la página para mostrar el mapa.");
}

namespace {
// A walk of `n` points about a metre apart with a small sway, starting at (lat0, lon0),
// with a 3 m out-and-back spike at point `pico` and a 0.6 m side step from `escalon` on.
struct Paseo {
    TTrackPointStore store;
    int pico = 0;
};

void paseo(Paseo& p, int n, double lat0, double lon0, int pico, int escalon) {
    p.pico = pico;
    const double mLat = 1.0 / 111320.0, mLon = mLat / std::cos(lat0 * M_PI / 180.0);
    double este = 0, norte = 0;
    for (int i = 0; i < n; ++i) {
        double e = este, nn = norte;
        if (i == pico)
            nn += 3.0;
        if (i >= escalon)
            nn += 0.6;
        char la[32], lo[32];
        std::snprintf(la, sizeof la, "%.9f", lat0 + nn * mLat);
        std::snprintf(lo, sizeof lo, "%.9f", lon0 + e * mLon);
        p.store.NuevoPunto();
        p.store.FijarCampo(CampoPunto::Lat, la);
        p.store.FijarCampo(CampoPunto::Lon, lo);
        p.store.FijarCampo(CampoPunto::Ele, "100");
        p.store.FijarCampo(CampoPunto::Time, "");
        este += 1.0;
        norte += 0.05 * std::sin(i / 40.0); // a sway of a few centimetres a step
    }
    p.store.Open();
}

// Ground distance in metres from point p to the segment a-b, on a plane tangent at p.
double distanciaSuelo(const TTablaMedidas& t, int p, int a, int b) {
    const double k = RadioTierraM * M_PI / 180.0, c = std::cos(t.Latitud(p) * M_PI / 180.0);
    auto xy = [&](int i) {
        return std::pair{k * c * (t.Longitud(i) - t.Longitud(p)),
                         k * (t.Latitud(i) - t.Latitud(p))};
    };
    const auto [ax, ay] = xy(a);
    const auto [bx, by] = xy(b);
    const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    const double s = l2 > 0 ? std::clamp(-(ax * dx + ay * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(ax + s * dx, ay + s * dy);
}
} // namespace

TEST(PuntosLineaMapa, UpToTwentyThousandPointsTheMapGetsEveryPoint) {
    Paseo p;
    paseo(p, PuntosMapaCompleto, 41.77, 2.43, 500, 700);
    const auto tabla = TTablaMedidas::Calcular(p.store);
    EXPECT_EQ(PuntosLineaMapa(*tabla).size(), size_t(PuntosMapaCompleto));
    const QStringList lines = ListaPuntosMapa(p.store, *tabla);
    ASSERT_EQ(lines.size(), PuntosMapaCompleto);
    EXPECT_EQ(lines[1].toStdString(),
              QStringLiteral("          ,new GLatLng(%1,%2)")
                  .arg(QString::fromStdString(
                           std::string(p.store.texto(1, CampoPunto::Lat).substr(0, 12))),
                       QString::fromStdString(
                           std::string(p.store.texto(1, CampoPunto::Lon).substr(0, 12))))
                  .toStdString());
}

TEST(PuntosLineaMapa, PastTwentyThousandTheLineStaysWithinToleranceOfEveryDroppedPoint) {
    const struct {
        const char* guarda;
        double lat, lon;
    } casos[] = {
        {"north-east", 41.77, 2.43}, {"south-west", -33.45, -70.66}, {"far north", 69.6, 18.9}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        Paseo p;
        const int n = 60000;
        paseo(p, n, c.lat, c.lon, 31000, 45000);
        const auto tabla = TTablaMedidas::Calcular(p.store);
        const std::vector<int> kept = PuntosLineaMapa(*tabla);
        ASSERT_GE(kept.size(), 2u);
        EXPECT_EQ(kept.front(), 0);
        EXPECT_EQ(kept.back(), n - 1);
        EXPECT_LT(kept.size(), size_t(n / 4)) << "the line was not simplified";
        EXPECT_TRUE(std::binary_search(kept.begin(), kept.end(), p.pico)) << "the spike was lost";
        double peor = 0;
        for (size_t k = 0; k + 1 < kept.size(); ++k) {
            ASSERT_LT(kept[k], kept[k + 1]);
            for (int i = kept[k] + 1; i < kept[k + 1]; ++i)
                peor = std::max(peor, distanciaSuelo(*tabla, i, kept[k], kept[k + 1]));
        }
        EXPECT_LE(peor, ToleranciaMapaM + 1e-6);
        EXPECT_GT(peor, ToleranciaMapaM / 10) << "the tolerance is not used at all";

        const QStringList lines = ListaPuntosMapa(p.store, *tabla);
        ASSERT_EQ(lines.size(), qsizetype(kept.size()));
        EXPECT_TRUE(lines.front().startsWith(QStringLiteral("          new GLatLng(")));
        EXPECT_TRUE(lines.last().startsWith(QStringLiteral("          ,new GLatLng(")));
    }
}

TEST(PuntosLineaMapa, AnUnreadableCoordinateStillNeverReachesThePage) {
    Paseo p;
    paseo(p, PuntosMapaCompleto + 10, 41.77, 2.43, 10, 20);
    p.store.NuevoPunto();
    p.store.FijarCampo(CampoPunto::Lat, "alert(1)");
    p.store.FijarCampo(CampoPunto::Lon, "2");
    p.store.Open();
    EXPECT_THROW(ListaPuntosMapa(p.store), ESenderalError);
}
