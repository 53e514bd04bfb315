// The profile, map and export commands wired into the main window, on the sample track.
#include "AppPaths.h"
#include "EscritoresRuta.h"
#include "FormData.h"
#include "FormMain.h"
#include "GraficoPerfil.h"
#include "Log.h"
#include "PaginaExportarRuta.h"
#include "PaginaGoogleMaps.h"
#include "PanelGrafico.h"
#include "Ribbon.h"

#include <QAction>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {
struct TDialogoVisto {
    QString title;
    QStringList filters;
    int chosen = -1;
    QString suffix;
    QString initial;
};

class MapasVentana : public ::testing::Test {
  protected:
    void SetUp() override {
        // A program folder of its own: the mapping file, the page's scripts, the sample.
        for (const char* f :
             {"GpxDS.dll", "mapa/senderal-mapa.js", "mapa/leaflet.css", "samples/Montseny.gpx"}) {
            const QString target = dir.filePath(QString::fromLatin1(f));
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/") + f, target)) << f;
        }
        SetAppDirOverride(dir.path() + QLatin1Char('/'));
        QDir().mkpath(CacheDir());
        window = std::make_unique<TFMain>(QStringList{QStringLiteral("senderal")});
        data = std::make_unique<TFormData>(window->Log);
        window->SetFormData(data.get());
        auto collect = [this](const QString& t) { errors << t; };
        window->MensajeError = collect;
        window->MensajeAviso = collect;
        window->MensajeInfo = [](const QString&) {};
        window->MensajePregunta = [](const QString&) { return false; };
        TFMain::ManejadorErrorGlobal = collect;
        window->DialogoGuardar = [this](const QString& title, const QStringList& filters,
                                        int chosen, const QString& suffix, const QString& initial) {
            seen = {title, filters, chosen, suffix, initial};
            return answer;
        };
        window->AbrirConAsociado = [this](const QString& path) {
            opened << path;
            return true;
        };
        window->resize(1000, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->DoneVisualization; }, 10000));
        errors.clear(); // start-up's own complaints (no format catalogue here) are not ours
    }
    void TearDown() override {
        // The plan panel goes first, while the ribbon box it was handed still exists.
        delete window->PanelGrafico;
        window->PanelGrafico = nullptr;
        window.reset();
        data.reset();
        TFMain::ManejadorErrorGlobal = nullptr;
        SetAppDirOverride(QString());
    }

    QString sample() const { return dir.filePath("samples/Montseny.gpx"); }

    bool cargarYEsperarMapa() {
        QSignalSpy loaded(window->PaginaGoogleMaps->wbMapaGoogle, &QWebEngineView::loadFinished);
        window->CargarRuta(sample());
        // The map loads when its page is opened.
        window->ActionVerGraficoMaps->trigger();
        return loaded.wait(20000);
    }

    QTemporaryDir dir;
    std::unique_ptr<TFMain> window;
    std::unique_ptr<TFormData> data;
    QStringList errors;
    QStringList opened;
    TDialogoVisto seen;
    QString answer;
};
} // namespace

TEST_F(MapasVentana, LoadingDrawsTheProfileAndTheMapAndClosingEmptiesThem) {
    ASSERT_TRUE(cargarYEsperarMapa());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const int points = data->cdsPoints.RecordCount();
    ASSERT_GT(points, 2);

    TGraficoPerfil* chart = window->dbchtPerfil;
    EXPECT_EQ(chart->Series1()->count(), points);
    EXPECT_EQ(chart->SerieSuperiorArea()->count(), points);
    EXPECT_NEAR(chart->EjeY()->max(), window->AlturaMaxima * 1.2, 1e-6);
    EXPECT_EQ(chart->EjeX()->categoriesLabels().size(), 3);

    EXPECT_TRUE(QFile::exists(CacheDir() + "~dat.html"));
    EXPECT_TRUE(QFile::exists(CacheDir() + "~map.html"));
    EXPECT_EQ(window->rpGoogleMaps->caption(), "&Google Maps");

    window->ActionCerrarRutaExecute();
    EXPECT_EQ(chart->Series1()->count(), 0);
    EXPECT_EQ(chart->SerieSuperiorArea()->count(), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return window->PaginaGoogleMaps->wbMapaGoogle->url() == QUrl("about:blank"); },
        5000));
    QTest::qWait(300);
    EXPECT_EQ(window->rpGoogleMaps->caption(), "Generando...")
        << "the blank page does not bring the caption back";
}

// The browser engine is heavy: a load writes the page, and the browser loads it only
// when the user opens the map (or in time for a picture of it).
TEST_F(MapasVentana, TheMapLoadsWhenItsPageIsOpenedNotWithTheTrack) {
    QSignalSpy started(window->PaginaGoogleMaps->wbMapaGoogle, &QWebEngineView::loadStarted);
    window->CargarRuta(sample());
    ASSERT_TRUE(window->HabilitadoTrack());
    EXPECT_TRUE(QFile::exists(CacheDir() + "~dat.html"));
    QTest::qWait(500);
    EXPECT_EQ(started.count(), 0) << "the map browser started with the load";
    EXPECT_TRUE(window->PaginaGoogleMaps->wbMapaGoogle->url().isEmpty());
    EXPECT_TRUE(window->PaginaGoogleMaps->wbMapaGoogle->isHidden())
        << "a browser put on screen starts its engine even with nothing to show";
    EXPECT_EQ(window->rpGoogleMaps->caption(), "&Google Maps")
        << "the page is ready: the tab does not say it is still being generated";

    QSignalSpy loaded(window->PaginaGoogleMaps->wbMapaGoogle, &QWebEngineView::loadFinished);
    window->ActionVerGraficoMaps->trigger();
    ASSERT_TRUE(loaded.wait(20000));
    EXPECT_EQ(window->PaginaGoogleMaps->wbMapaGoogle->url(),
              QUrl::fromLocalFile(CacheDir() + "~dat.html"));
    EXPECT_TRUE(window->PaginaGoogleMaps->wbMapaGoogle->isVisible());

    // Closing empties a browser that holds a page at once, and a second track waits for
    // the page to be opened again.
    window->ActionCerrarRutaExecute();
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return window->PaginaGoogleMaps->wbMapaGoogle->url() == QUrl("about:blank"); },
        5000));
    window->CargarRuta(sample());
    QTest::qWait(300);
    EXPECT_EQ(window->PaginaGoogleMaps->wbMapaGoogle->url(), QUrl("about:blank"));
    QSignalSpy again(window->PaginaGoogleMaps->wbMapaGoogle, &QWebEngineView::loadFinished);
    window->ActionVerGraficoMaps->trigger();
    ASSERT_TRUE(again.wait(20000));
    EXPECT_EQ(window->PaginaGoogleMaps->wbMapaGoogle->url(),
              QUrl::fromLocalFile(CacheDir() + "~dat.html"));
}

TEST_F(MapasVentana, ProfileCommands) {
    ASSERT_TRUE(cargarYEsperarMapa());
    window->ActionPerfilVerRelleno->trigger();
    EXPECT_FALSE(window->dbchtPerfil->RellenoVisible());
    EXPECT_TRUE(window->dbchtPerfil->Series1()->isVisible());
    window->ActionPerfilVerRelleno->trigger();
    EXPECT_TRUE(window->dbchtPerfil->RellenoVisible());

    const int before = window->Log->Lineas().size();
    window->cbZoomPerfil->setCurrentIndex(window->cbZoomPerfil->findText("200%"));
    ASSERT_GT(window->Log->Lineas().size(), before);
    EXPECT_EQ(window->Log->Lineas().last(), "ZOOM: 200%");

    answer = dir.filePath("perfil.png");
    window->ActionGrabarPerfilImagen->trigger();
    EXPECT_EQ(seen.title, "Guardar imagen del perfil...");
    EXPECT_TRUE(seen.initial.endsWith("/Perfil1"));
    EXPECT_EQ(QImage(answer).size(), window->dbchtPerfil->size());
}

TEST_F(MapasVentana, MapPictureDialogAndItsRunningNumber) {
    ASSERT_TRUE(cargarYEsperarMapa());
    window->ActionVerGraficoMaps->trigger();
    answer.clear(); // cancelled: nothing changes
    window->ActionGrabarImagen->trigger();
    EXPECT_EQ(window->PaginaGoogleMaps->ImageIndex, 1);
    EXPECT_EQ(seen.title, "Guardar imagen del mapa...");
    EXPECT_EQ(seen.filters, QStringList({"Bitmap (*.bmp)", "Jpeg image (*.jpg)",
                                         "Portable Network Graphics (*.png)"}));
    EXPECT_EQ(seen.chosen, 1);
    EXPECT_EQ(seen.suffix, "png");
    EXPECT_TRUE(seen.initial.endsWith("/Image1"));
    EXPECT_FALSE(seen.initial.startsWith(CacheDir())) << "the cache folder is deleted at exit";

    answer = dir.filePath("mapa.JPG");
    window->ActionGrabarImagen->trigger();
    EXPECT_EQ(window->PaginaGoogleMaps->ImageIndex, 2);
    QFile jpg(answer);
    ASSERT_TRUE(jpg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpg.readAll().startsWith("\xFF\xD8"));

    answer = dir.filePath("mapa.jpeg");
    window->ActionGrabarImagen->trigger();
    EXPECT_EQ(window->PaginaGoogleMaps->ImageIndex, 3)
        << "the number grows even when nothing is written";
    EXPECT_FALSE(QFile::exists(answer));
    EXPECT_TRUE(seen.initial.endsWith("/Image2"));
}

TEST_F(MapasVentana, ExportsWriteTheTracksOwnNameAndGoogleEarthThePath) {
    ASSERT_TRUE(cargarYEsperarMapa());
    answer = dir.filePath("salida.kml");
    window->ActionConvertKML->trigger();
    EXPECT_EQ(seen.title, "Exportar track...");
    EXPECT_EQ(seen.filters, QStringList({"Google Earth (*.kml)"}));
    EXPECT_EQ(seen.suffix, QString());
    EXPECT_EQ(seen.initial, dir.filePath("samples/Montseny.KML"));
    QFile kml(answer);
    ASSERT_TRUE(kml.open(QIODevice::ReadOnly));
    const QByteArray kmlBytes = kml.readAll();
    EXPECT_EQ(kmlBytes,
              BytesRuta(TFormatoRuta::frKML, LineasExportacion(TFormatoRuta::frKML, *data)));
    EXPECT_TRUE(kmlBytes.contains("<name>Montseny circular</name>"));
    EXPECT_TRUE(window->PaginaExportarRuta->mmConvertTrack->toPlainText().startsWith("<?xml"));

    answer.clear(); // cancelled: the memo keeps the lines, nothing written
    window->ActionConvertPLT->trigger();
    EXPECT_EQ(seen.initial, dir.filePath("samples/Montseny.PLT"));
    EXPECT_EQ(seen.filters, QStringList({"Ozi Track File (*.plt)"}));
    EXPECT_TRUE(window->PaginaExportarRuta->mmConvertTrack->toPlainText().startsWith(
        "OziExplorer Track Point File Version 2.1"));

    window->ActionVerGoogleEarth->trigger();
    ASSERT_EQ(opened, QStringList({CacheDir() + "~gm.kml"}));
    QFile gm(opened[0]);
    ASSERT_TRUE(gm.open(QIODevice::ReadOnly));
    EXPECT_TRUE(gm.readAll().contains(("<name>" + window->FTrackPath + "</name>").toUtf8()));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
