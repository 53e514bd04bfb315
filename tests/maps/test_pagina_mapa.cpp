#include "PaginaMapa.h"
#include "PuntosPrueba.h"
#include "SenderalError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
