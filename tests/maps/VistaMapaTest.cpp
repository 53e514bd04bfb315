#include "AppPaths.h"
#include "FormData.h"
#include "PaginaMapa.h"
#include "PuntosPrueba.h"
#include "VistaMapa.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {
// A program folder of its own with the page's script files, so the cache is private.
class VistaMapa : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(dir.filePath("mapa")));
        for (const QString& name : FicherosSoportePagina())
            ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/mapa/") + name,
                                    dir.filePath("mapa/" + name)));
        SetAppDirOverride(dir.path());
        view.resize(800, 600);
        view.show();
    }
    void TearDown() override { SetAppDirOverride(QString()); }

    QVariant js(const QString& script) {
        QVariant result;
        bool done = false;
        view.page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return result;
    }

    bool cargar(const QString& puntos) {
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        MostrarMapa(&view, QString(), QString(), puntos, QStringLiteral("G_PHYSICAL_MAP"), 1,
                    [this](const QString& m) { errors << m; });
        return loaded.wait(20000) && loaded.first().first().toBool();
    }

    QTemporaryDir dir;
    QWebEngineView view;
    QStringList errors;
};

QString puntosMuestra() {
    TFormData data;
    data.CarpetaMapeo = QStringLiteral(SENDERAL_APP_DIR);
    data.XMLDataFile = QStringLiteral(SENDERAL_APP_DIR "/samples/Montseny.gpx");
    data.OpenData();
    return UnirLineas(ListaPuntosMapa(data.cdsPoints));
}
} // namespace

TEST_F(VistaMapa, TheSampleRouteIsDrawnAsARedLineWithoutNetwork) {
    const QString puntos = puntosMuestra();
    ASSERT_FALSE(puntos.isEmpty());
    ASSERT_TRUE(cargar(puntos));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(view.url(), QUrl::fromLocalFile(CacheDir() + "~dat.html"));

    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return js("document.querySelectorAll('.leaflet-overlay-pane path').length").toInt() ==
                   1;
        },
        10000));
    EXPECT_EQ(js("document.querySelector('.leaflet-overlay-pane path').getAttribute('stroke')")
                  .toString(),
              "#ff0000");
    // Fitted to the route: the line spans a good part of the view.
    const QVariantList box =
        js("(function(){var r=document.querySelector('.leaflet-overlay-pane path')"
           ".getBoundingClientRect();return [r.width,r.height];})()")
            .toList();
    ASSERT_EQ(box.size(), 2);
    EXPECT_GT(std::max(box[0].toDouble(), box[1].toDouble()), 300.0);
    EXPECT_EQ(js("document.querySelectorAll('.leaflet-control-zoom a').length").toInt(), 2);
    EXPECT_EQ(js("document.querySelectorAll('.senderal-tipos a').length").toInt(), 4);
    EXPECT_EQ(js("map.getCurrentMapType().getName()").toString(), "Relieve");
    EXPECT_NE(js("document.querySelector('.leaflet-control-attribution').textContent")
                  .toString()
                  .indexOf("OpenStreetMap"),
              -1);

    // The picture of the view shows the line.
    QTest::qWait(300);
    const QString png = dir.filePath("mapa.png");
    ASSERT_TRUE(GrabarImagenNavegador(&view, png));
    const QImage image(png);
    ASSERT_EQ(image.size(), view.size());
    int red = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    EXPECT_GT(red, 50) << "no red line in the picture";
    EXPECT_FALSE(GrabarImagenNavegador(&view, dir.filePath("mapa.jpeg")));
}

TEST_F(VistaMapa, OnePointRouteShowsWithoutScriptErrors) {
    ASSERT_TRUE(cargar("          new GLatLng(41.33651,2.103968)\r\n"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return js("typeof map.getZoom() === 'number' && map.getZoom() > 10").toBool(); },
        5000));
}

TEST_F(VistaMapa, NothingToShowLeavesTheBrowserAlone) {
    MostrarMapa(&view, QString(), QString(), QString(), "G_PHYSICAL_MAP", 1,
                [this](const QString& m) { errors << m; });
    EXPECT_TRUE(view.url().isEmpty());
    EXPECT_FALSE(QFile::exists(CacheDir() + "~dat.html"));
    EXPECT_FALSE(GrabarImagenNavegador(&view, dir.filePath("x.png"))) << "no page, no picture";
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

TEST_F(VistaMapa, AFailureIsShownAndTheBrowserKeepsItsPage) {
    QFile::remove(dir.filePath("mapa/senderal-mapa.js"));
    MostrarMapa(&view, QString(), QString(), "          new GLatLng(1,2)\r\n", "G_PHYSICAL_MAP", 1,
                [this](const QString& m) { errors << m; });
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Se ha producido un error crear al generar el mapa."));
    EXPECT_TRUE(view.url().isEmpty());
}
