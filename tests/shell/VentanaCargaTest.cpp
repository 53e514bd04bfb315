// The main window's life of a track: the four ways in, the load sequence, closing.
#include "AppPaths.h"
#include "FormData.h"
#include "FormMain.h"
#include "GpxPrueba.h"
#include "GraficoPerfil.h"
#include "ImprimirQt.h"
#include "Log.h"
#include "PaginaDatos.h"
#include "PanelGrafico.h"
#include "PointsModel.h"
#include "Ribbon.h"
#include "SenderalError.h"
#include "TextosVentana.h"
#include "VentanaPrueba.h"
#include "Verbario.h"
#include "VistaPerfil.h"

#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <QUrl>
#include <QValueAxis>
#include <cmath>
#include <gtest/gtest.h>

namespace {
const QByteArray GpxTresPuntos = PistaTresPuntos();

class VentanaCarga : public ::testing::Test, public TVentanaPrueba {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetAppDirOverride(dir.path());
        CopiarDatosPrograma(dir.path());
        EscribirAjustesSinRed();
        TFMain::ManejadorErrorGlobal = [this](const QString& t) { erroresGlobales << t; };
    }
    void TearDown() override {
        TFMain::ManejadorErrorGlobal = nullptr;
        cerrar();
        SetAppDirOverride(QString());
    }

    QString escribir(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }

    int lineaLog(const QString& text) const {
        const QStringList& lines = ventana->Log->Lineas();
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].endsWith(text))
                return i;
        return -1;
    }

    QTemporaryDir dir;
    QStringList erroresGlobales;
};

TEST_F(VentanaCarga, CommandLineLoadRunsEveryStepInOrderWithTimeStamps) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear({path, QStringLiteral("segundo")});
    w.ArranqueDiferido();

    EXPECT_TRUE(errores.isEmpty()) << errores.join('\n').toStdString();
    EXPECT_GE(lineaLog(QStringLiteral("PARAM 0: senderal")), 0);
    EXPECT_GE(lineaLog(QStringLiteral("PARAM 1: ") + path), 0);
    EXPECT_GE(lineaLog(QStringLiteral("PARAM 2: segundo")), 0);
    const char* pasos[] = {"iniciando Add",
                           "XMLDataFile= ",
                           "+ FormData.OpenData",
                           "- FormData.OpenData",
                           "Se va a cargar la ruta...",
                           "Se va a crear la ruta gráficamente...",
                           "Se va a crear el gráfico de altura...",
                           "Se va a crear el gráfico de velocidad...",
                           "Completados gráficos",
                           "Lanza la carga de Google Maps...",
                           "Pintar el perfil de ruta...",
                           "Iniciar el Query a IBPIndex..."};
    int previa = -1;
    for (const char* paso : pasos) {
        SCOPED_TRACE(paso);
        const QStringList& lines = w.Log->Lineas();
        int found = -1;
        for (int i = previa + 1; i < lines.size() && found < 0; ++i)
            if (lines[i].contains(QString::fromUtf8(paso)))
                found = i;
        ASSERT_GT(found, previa);
        // "hh:nn:ss " then " -->  " then the text.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  -->  "))
                        .match(lines[found])
                        .hasMatch())
            << lines[found].toStdString();
        previa = found;
    }
    EXPECT_EQ(w.FTrackPath, path);
    EXPECT_EQ(w.PaginaDatos->Caja(QStringLiteral("name"))->text(), QStringLiteral("Tres"));
    EXPECT_EQ(w.PaginaDatos->Modelo->rowCount(), 3);
    EXPECT_EQ(w.DistanciaTotal, 378);
    // The command line load runs after the start-up applied the language (English by default).
    EXPECT_EQ(w.PaginaDatos->edtDistanciaRuta->text(),
              QStringLiteral("378 ") +
                  LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros")));
    EXPECT_TRUE(w.ActionCerrarRuta->isEnabled());
    EXPECT_TRUE(w.ActionZoomIn->isEnabled());
    EXPECT_TRUE(w.RibbonMain->isPageVisible(w.rpGrafico));
    EXPECT_TRUE(w.RibbonMain->isPageVisible(w.rpIBPIndex));
    EXPECT_EQ(w.Recientes(), QStringList{path});
    EXPECT_EQ(w.pcCentral->currentWidget(), w.tsDatosRuta);
    EXPECT_FALSE(w.pnlArrastrar->isVisibleTo(&w));
}

TEST_F(VentanaCarga, OpeningTwiceClosesFirstAndGrowsTheRecentListByOneEach) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.DialogoAbrir = [path] { return path; };
    w.Action1->trigger();
    w.Action1->trigger();
    EXPECT_EQ(w.Recientes(), (QStringList{path, path}));
    EXPECT_GE(lineaLog(QStringLiteral("Abrir la ruta: ") + path), 0);
    EXPECT_EQ(w.FormData->cdsPoints.RecordCount(), 3);
    EXPECT_TRUE(erroresGlobales.isEmpty());
}

TEST_F(VentanaCarga, CancelledOpenDialogChangesNothing) {
    TFMain& w = crear();
    w.DialogoAbrir = [] { return QString(); };
    w.Action1->trigger();
    w.DialogoAbrir = [this] { return dir.filePath(QStringLiteral("no-existe.gpx")); };
    w.Action1->trigger();
    EXPECT_TRUE(w.Recientes().isEmpty());
    EXPECT_EQ(lineaLog(QStringLiteral("iniciando Add")), -1);
}

TEST_F(VentanaCarga, CloseResetsEveryFieldAndKeepsTheRecentList) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.CargarRuta(path);
    ASSERT_TRUE(w.FormData->cdsTrack.Active());
    w.ActionCerrarRuta->trigger();

    EXPECT_TRUE(w.FTrackPath.isEmpty());
    EXPECT_FALSE(w.FormData->cdsTrack.Active());
    EXPECT_FALSE(w.FormData->cdsPoints.Active());
    EXPECT_TRUE(w.FormData->XMLDataFile.isEmpty());
    EXPECT_EQ(w.DistanciaTotal, 0);
    EXPECT_EQ(w.AlturaMaxima, 0);
    EXPECT_EQ(w.VelocidadMaxima, 0);
    EXPECT_TRUE(w.PaginaDatos->edtDistanciaRuta->text().isEmpty()); // empty, not "0 metros"
    EXPECT_TRUE(w.PaginaDatos->Caja(QStringLiteral("name"))->text().isEmpty());
    EXPECT_EQ(w.PaginaDatos->Modelo->rowCount(), 0);
    EXPECT_FALSE(w.ActionCerrarRuta->isEnabled());
    EXPECT_FALSE(w.ActionImprimirPerfil->isEnabled());
    EXPECT_FALSE(w.RibbonMain->isPageVisible(w.rpGrafico));
    EXPECT_TRUE(w.RibbonMain->isPageVisible(w.rpRuta));
    EXPECT_TRUE(w.RibbonMain->isPageVisible(w.rpMas));
    EXPECT_EQ(w.rpGoogleMaps->caption(),
              LookupText(QStringLiteral("_STR_GENERANDO"), QStringLiteral("Generando...")));
    EXPECT_EQ(w.rpIBPIndex->caption(),
              LookupText(QStringLiteral("_STR_CALCULANDO"), QStringLiteral("Calculando...")));
    EXPECT_EQ(w.ActualPanelInfo, tiArrastre);
    EXPECT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
    EXPECT_FALSE(w.pcCentral->isVisibleTo(&w));
    EXPECT_EQ(w.Recientes(), QStringList{path});
}

// The replay's position and speed bars are track commands: off with no track, on with one.
TEST_F(VentanaCarga, TheAnimationBarsFollowTheTrackCommands) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    const QList<QScrollBar*> barras = {w.PanelGrafico->pnlAnimacion->sbAnimacion,
                                       w.PanelGrafico->pnlAnimacion->sbVElocidad};
    for (QScrollBar* b : barras)
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    w.CargarRuta(path);
    ASSERT_TRUE(w.ActionCerrarRuta->isEnabled());
    for (QScrollBar* b : barras)
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    w.ActionCerrarRuta->trigger();
    for (QScrollBar* b : barras)
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

// The configuration's "automatic line width" box decides the plan view's line width when a
// track opens: 666 units wide on the equator asks for 10, and with the box off it stays 2.
TEST_F(VentanaCarga, TheAutomaticWidthBoxDecidesTheLineWidthOfTheLoad) {
    const QString path = escribir(QStringLiteral("ancho.gpx"), R"(<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>
 <trkpt lat="0.0" lon="2.0"><ele>100</ele></trkpt>
 <trkpt lat="0.0" lon="2.06665"><ele>100</ele></trkpt>
</trkseg></trk></gpx>
)");
    for (const bool automatico : {true, false}) {
        SCOPED_TRACE(automatico ? "box on" : "box off");
        TFMain& w = crear();
        w.cbAnchoLineaAuto->setChecked(automatico);
        w.CargarRuta(path);
        ASSERT_TRUE(w.FormData->cdsTrack.Active());
        EXPECT_EQ(w.seAnchoLinea->value(), automatico ? 10 : 2);
    }
}

TEST_F(VentanaCarga, PercentInThePathIsRefusedWithBothPlacesFilled) {
    const QString path = escribir(QStringLiteral("100%.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.CargarRuta(path);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains(QStringLiteral("(%)"))) << avisos[0].toStdString();
    EXPECT_TRUE(avisos[0].endsWith(QStringLiteral(": ") + path)) << avisos[0].toStdString();
    EXPECT_FALSE(w.FormData->cdsTrack.Active());
    EXPECT_EQ(lineaLog(QStringLiteral("iniciando Add")), -1);
    EXPECT_TRUE(w.FTrackPath.isEmpty());
}

TEST_F(VentanaCarga, DroppingThreeFilesLoadsOnlyTheFirst) {
    const QString a = escribir(QStringLiteral("a.gpx"), GpxTresPuntos);
    const QString b = escribir(QStringLiteral("b.gpx"), GpxTresPuntos);
    const QString c = escribir(QStringLiteral("c.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.FicheroArrastrado({a, b, c});
    EXPECT_EQ(w.Recientes(), QStringList{a});
    EXPECT_EQ(w.FTrackPath, a);
}

struct CasoMedioCargado {
    const char* nombre;
    const char* punto;
};

class MedioCargado : public VentanaCarga, public ::testing::WithParamInterface<CasoMedioCargado> {
  protected:
    // A good first point, then the case's unreadable one.
    QString escribirMalo() {
        return escribir(
            QStringLiteral("malo.gpx"),
            QByteArray(R"(<?xml version="1.0"?><gpx version="1.1" creator="t"><trk><trkseg>
        <trkpt lat="41.0" lon="2.0"><ele>500</ele></trkpt>)") +
                GetParam().punto + "</trkseg></trk></gpx>");
    }
};

TEST_P(MedioCargado, AnUnreadableNumberEndsHalfLoadedWithoutTheIndexRequest) {
    const QString path = escribirMalo();
    TFMain& w = crear();
    w.DialogoAbrir = [path] { return path; };
    w.Action1->trigger();

    ASSERT_EQ(erroresGlobales.size(), 1);
    EXPECT_TRUE(erroresGlobales[0].contains(QStringLiteral("no es un valor numérico válido")))
        << erroresGlobales[0].toStdString();
    EXPECT_EQ(lineaLog(QStringLiteral("Iniciar el Query a IBPIndex...")), -1);
    EXPECT_TRUE(w.FormData->cdsTrack.Active()); // the data page still shows the track
    EXPECT_EQ(w.FTrackPath, path);
    EXPECT_TRUE(w.Recientes().isEmpty());
    EXPECT_FALSE(w.ActionCerrarRuta->isEnabled());
    EXPECT_EQ(w.pcCentral->currentWidget(), w.tsDatosRuta);
    if (auto* titulo = w.findChild<QLabel*>(QStringLiteral("pnlTitulo"))) {
        EXPECT_EQ(titulo->text(), QString(10, QLatin1Char(' ')) + path);
    }
}

TEST_P(MedioCargado, ADroppedUnreadableTrackShowsTheIncorrectTrackBox) {
    const QString path = escribirMalo();
    TFMain& w = crear();
    w.FicheroArrastrado({path});
    EXPECT_EQ(errores, QStringList{LookupText(QStringLiteral("_STR_MI_INCORRECTTRACK"),
                                              QStringLiteral("Fichero de track incorrecto."))});
    EXPECT_TRUE(erroresGlobales.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Puntos, MedioCargado,
    ::testing::Values(CasoMedioCargado{"latitud_no_numerica",
                                       R"(<trkpt lat="x" lon="2.1"><ele>1</ele></trkpt>)"},
                      CasoMedioCargado{"elevacion_no_numerica",
                                       R"(<trkpt lat="41.1" lon="2.1"><ele>abc</ele></trkpt>)"}),
    [](const auto& info) { return std::string(info.param.nombre); });

// The stores hold their change signals while a load runs. However the load ends they
// must tell their changes again, or the data page stops following the next track.
TEST_F(VentanaCarga, EveryLoadEndsWithTheStoresTellingTheirChangesAgain) {
    const struct {
        const char* guarda;
        QByteArray gpx;
    } casos[] = {
        {"a good track", GpxTresPuntos},
        {"a point that cannot be read",
         R"(<gpx version="1.1"><trk><trkseg><trkpt lat="41" lon="2"><ele>1</ele></trkpt>
<trkpt lat="41.1" lon="2.1"><ele>abc</ele></trkpt></trkseg></trk></gpx>)"},
        {"a file that is no track", "<kml></kml>"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const QString path = escribir(QStringLiteral("pista.gpx"), c.gpx);
        TFMain& w = crear();
        w.DialogoAbrir = [path] { return path; };
        w.Action1->trigger();
        EXPECT_FALSE(w.FormData->cdsTrack.ControlsDisabled());
        EXPECT_FALSE(w.FormData->cdsPoints.ControlsDisabled());
    }
}

TEST_F(VentanaCarga, AnUnreadableFileSaysWhyAndLeavesNoTrack) {
    struct Caso {
        const char* nombre;
        QByteArray contenido;
        const char* idioma; // language file in force; empty: built-in texts
        const char* motivo; // the reader's reason as the box shows it
    };
    const Caso casos[] = {
        {"cut short", "<gpx><trk>", "es.lng", "línea 1, columna "},
        {"not GPX", "<kml></kml>", "es.lng", "no es un fichero GPX"},
        {"empty", "", "es.lng", "el fichero está vacío"},
        {"cut short, in English", "<gpx><trk>", "en.lng", "line 1, column "},
        // The reader's own words follow the language too.
        {"cut short, what is wrong in English", "<gpx><trk>", "en.lng",
         ": unexpected end of file: </trk> is missing"},
        {"not GPX, in English", "<kml></kml>", "en.lng", "is not <gpx>: this is not a GPX file"},
        {"empty, in Catalan", "", "ca.lng", "el fitxer és buit"},
        {"a folder, in English", "", "en.lng", "is not a normal file but a folder"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        errores.clear();
        QString path = escribir(QStringLiteral("roto.gpx"), c.contenido);
        if (QByteArray(c.nombre).startsWith("a folder")) {
            path = dir.filePath(QStringLiteral("carpeta.gpx"));
            ASSERT_TRUE(QDir().mkpath(path));
        }
        TFMain& w = crear();
        AplicarIdioma(&w, QString::fromUtf8(c.idioma));
        w.CargarRuta(path);
        ASSERT_EQ(errores.size(), 1);
        const QString inicio = QLatin1String(c.idioma) == QLatin1String("en.lng")
                                   ? QStringLiteral("The track file could not be opened.\n<%1>")
                               : QLatin1String(c.idioma) == QLatin1String("ca.lng")
                                   ? QStringLiteral("No s'ha pogut obrir el fitxer de track.\n<%1>")
                                   : QStringLiteral("Error al abrir el fichero de track.\n<%1>");
        EXPECT_TRUE(errores[0].startsWith(inicio.arg(path))) << errores[0].toStdString();
        EXPECT_TRUE(errores[0].contains(QString::fromUtf8(c.motivo))) << errores[0].toStdString();
        EXPECT_FALSE(w.FormData->cdsTrack.Active());
        EXPECT_EQ(lineaLog(QStringLiteral("Iniciar el Query a IBPIndex...")), -1);
        EXPECT_FALSE(w.ActionCerrarRuta->isEnabled());
        // Nothing is left half shown: the window waits for a track again.
        EXPECT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
        EXPECT_FALSE(w.pcCentral->isVisibleTo(&w));
    }
    AplicarIdioma(ventana.get(), QStringLiteral("ninguno.lng")); // back to the built-in texts
}

TEST_F(VentanaCarga, OnePointTrackHasZeroDistanceShownAsTheDigit) {
    const QString path = escribir(
        QStringLiteral("uno.gpx"),
        R"(<gpx version="1.1" creator="t"><trk><trkseg><trkpt lat="41" lon="2"/></trkseg></trk></gpx>)");
    TFMain& w = crear();
    w.CargarRuta(path);
    EXPECT_EQ(w.DistanciaTotal, 0);
    EXPECT_EQ(w.PaginaDatos->edtDistanciaRuta->text(),
              QStringLiteral("0 ") +
                  LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros")));
}

TEST_F(VentanaCarga, NextTabShowsThePageOfEachTabAndCyclesToTheFirst) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.CargarRuta(path);
    w.RibbonMain->setCurrentPage(w.rpRuta);
    // Each tab's own page; "Más..." keeps the page before it.
    const std::pair<TRibbonPage*, QWidget*> esperado[] = {
        {w.rpGrafico, w.tsGraficoRuta}, {w.rpGoogleMaps, w.tsGoogleMaps}, {w.rpPerfil, w.tsPerfil},
        {w.rpIBPIndex, w.tsIBPIndex},   {w.rpMas, w.tsIBPIndex},          {w.rpRuta, w.tsDatosRuta},
        {w.rpGrafico, w.tsGraficoRuta},
    };
    for (const auto& [tab, page] : esperado) {
        SCOPED_TRACE(tab->objectName().toStdString());
        w.ActionSiguienteTab->trigger();
        EXPECT_EQ(w.RibbonMain->currentPage(), tab);
        EXPECT_EQ(w.pcCentral->currentWidget(), page);
    }
    EXPECT_EQ(w.ActionSiguienteTab->shortcuts().value(0),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right));

    // Without a track the hidden tabs are stepped over and no page comes out.
    w.ActionCerrarRuta->trigger();
    w.RibbonMain->setCurrentPage(w.rpRuta);
    w.ActionSiguienteTab->trigger();
    EXPECT_EQ(w.RibbonMain->currentPage(), w.rpMas);
    w.ActionSiguienteTab->trigger();
    EXPECT_EQ(w.RibbonMain->currentPage(), w.rpRuta);
    EXPECT_FALSE(w.pcCentral->isVisibleTo(&w));
}

TEST_F(VentanaCarga, TabChangeWithATrackFollowsTheRibbonPage) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.CargarRuta(path);
    w.RibbonMain->setCurrentPage(w.rpPerfil);
    EXPECT_EQ(w.pcCentral->currentWidget(), w.tsPerfil);
    w.RibbonMain->setCurrentPage(w.rpGrafico);
    EXPECT_EQ(w.pcCentral->currentWidget(), w.tsGraficoRuta);
    const QWidget* before = w.pcCentral->currentWidget();
    w.RibbonMain->setCurrentPage(w.rpMas); // "Más..." leaves the page as it is
    EXPECT_EQ(w.pcCentral->currentWidget(), before);
    w.RibbonMain->setCurrentPage(w.rpRuta);
    EXPECT_EQ(w.pcCentral->currentWidget(), w.tsDatosRuta);
}

TEST_F(VentanaCarga, RefusedCloseQuestionKeepsTheWindowOpen) {
    TFMain& w = crear();
    w.show();
    respuestaSi = false;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    respuestaSi = true;
    EXPECT_TRUE(w.close());
}

TEST_F(VentanaCarga, AnErrorEscapingACommandReachesTheOneErrorBox) {
    TFMain& w = crear();
    auto* a = new QAction(&w);
    w.Conectar(a, [] { throw ESenderalError(QStringLiteral("falló algo")); });
    a->trigger();
    EXPECT_EQ(erroresGlobales, QStringList{QStringLiteral("falló algo")});
}

TEST_F(VentanaCarga, TrackCommandsStartDisabledAndZoomOutIsControlMinus) {
    TFMain& w = crear();
    EXPECT_FALSE(w.ActionZoomIn->isEnabled());
    EXPECT_FALSE(w.ActionCerrarRuta->isEnabled());
    EXPECT_TRUE(w.Action1->isEnabled());
    EXPECT_TRUE(w.ActionAbrirWebIBPIndex->isEnabled());
    EXPECT_EQ(w.ActionZoomOut->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
    EXPECT_EQ(w.Action1->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(w.ActionCentrarGraficoRuta->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
}

TEST_F(VentanaCarga, EachCommandKeyReachesItsCommandFromTheFocusedWidget) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.DialogoAbrir = [] { return QString(); };
    w.CargarRuta(path);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const struct {
        const char* fila;
        QKeySequence tecla;
        QAction* TFMain::*orden;
    } casos[] = {
        {"Ctrl+O opens a track", QKeySequence(QKeySequence::Open), &TFMain::Action1},
        {"Ctrl and + zooms in", QKeySequence(Qt::CTRL | Qt::Key_Plus), &TFMain::ActionZoomIn},
        {"Ctrl and = zooms in without shift", QKeySequence(Qt::CTRL | Qt::Key_Equal),
         &TFMain::ActionZoomIn},
        {"Ctrl and - zooms out", QKeySequence(Qt::CTRL | Qt::Key_Minus), &TFMain::ActionZoomOut},
        {"Ctrl+W centres the track", QKeySequence(Qt::CTRL | Qt::Key_W),
         &TFMain::ActionCentrarGraficoRuta},
        {"Ctrl+G shows the grid", QKeySequence(Qt::CTRL | Qt::Key_G), &TFMain::ActionVerGrid},
        {"Ctrl+Alt+Right goes to the next tab", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right),
         &TFMain::ActionSiguienteTab},
        {"Ctrl+Right goes to the next tab", QKeySequence(Qt::CTRL | Qt::Key_Right),
         &TFMain::ActionSiguienteTab},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fila);
        QSignalSpy disparos(w.*c.orden, &QAction::triggered);
        QWidget* foco = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QTest::keySequence(foco, c.tecla);
        EXPECT_EQ(disparos.count(), 1);
    }
}

TEST_F(VentanaCarga, OnOffCommandsShowTheirStateAndTheAnimationButtonsExcludeEachOther) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.CargarRuta(path);
    // What the plan view and the profile show on a first start.
    const struct {
        const char* fila;
        QAction* TFMain::*orden;
        bool encendida;
    } casos[] = {
        {"the grid starts hidden", &TFMain::ActionVerGrid, false},
        {"the route starts without points", &TFMain::ActionVerConPuntos, false},
        {"the route starts as a line", &TFMain::ActionVerConLineas, true},
        {"the profile starts filled", &TFMain::ActionPerfilVerRelleno, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fila);
        QAction* a = w.*c.orden;
        EXPECT_TRUE(a->isCheckable());
        EXPECT_EQ(a->isChecked(), c.encendida);
    }
    w.ActionPLayAnim->trigger();
    w.ActionPauseAnim->trigger();
    EXPECT_FALSE(w.ActionPLayAnim->isChecked());
    EXPECT_TRUE(w.ActionPauseAnim->isChecked());
    EXPECT_FALSE(w.ActionStopAnim->isChecked());
}

TEST_F(VentanaCarga, EachTabShowsItsButtonsInOrder) {
    TFMain& w = crear();
    const struct {
        TRibbonPage* TFMain::*pestana;
        QStringList botones;
    } casos[] = {
        {&TFMain::rpRuta,
         {"&Abrir ruta...", "&Limpiar ruta", "C&onvertir ruta...", "&Ver Track", "V&er Google Maps",
          "Ver &Perfil de ruta", "Ver &IBPIndex", "&Cerrar aplicación"}},
        {&TFMain::rpGrafico,
         {"&Track", "Zoom &In", "Zoom &Out", "&Centrar gráfico del track", "Ver/Ocultar &Grid",
          "Modo &Edición", "&Mover", "Ruta con &puntos", "Ruta con &línea", "&Imprimir gráfico",
          "&Grabar como imagen"}},
        {&TFMain::rpGoogleMaps,
         {"&Ruta", "&Ver en Google Earth", "&Imprimir Mapa de Google", "&Grabar como Imagen"}},
        {&TFMain::rpPerfil,
         {"&Perfil de ruta", "&Ver relleno", "&Imprimir Perfil", "&Grabar como imagen"}},
        {&TFMain::rpIBPIndex,
         {"&IBPIndex", "I&mprimir IBPIndex", "&Grabar IBPIndex en PDF", "Recalcular &IBPIndex",
          "&Acerca de IBPIndex..."}},
        {&TFMain::rpMas,
         {"Buscar &actualizaciones", "&Acerca de...", "Ver Log", "Ver Config", "FillCustomIni;"}},
    };
    for (const auto& c : casos) {
        TRibbonPage* pestana = w.*c.pestana;
        SCOPED_TRACE(pestana->objectName().toStdString());
        QStringList botones;
        for (const TRibbonButton* b : pestana->findChildren<TRibbonButton*>())
            botones << b->text();
        EXPECT_EQ(botones, c.botones);
    }
}

TEST_F(VentanaCarga, LogPageStartsWithOneEmptyLineAndShowsTheNewest) {
    TFMain& w = crear();
    EXPECT_EQ(w.mmLog->toPlainText(), QString());
    for (int i = 0; i < 10000; ++i)
        w._Log(QStringLiteral("línea %1").arg(i));
    EXPECT_EQ(w.mmLog->document()->blockCount(), 10001);
    EXPECT_EQ(w.mmLog->document()->findBlockByNumber(1).text(), QStringLiteral("línea 0"));
    EXPECT_EQ(w.mmLog->verticalScrollBar()->value(), w.mmLog->verticalScrollBar()->maximum());
}

// A file manager drops on whatever part of the info panel is under the pointer: the
// panel's frame, its picture or its text (whose events arrive at its viewport).
TEST_F(VentanaCarga, ADropOnEachPartOfTheInfoPanelLoadsTheFirstFile) {
    const QString a = escribir(QStringLiteral("a.gpx"), GpxTresPuntos);
    const QString b = escribir(QStringLiteral("b.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    const std::pair<const char*, QWidget*> partes[] = {
        {"the panel", w.pnlArrastrar},
        {"its picture", w.imgPanelInfo},
        {"its text", w.mmPanelInfo->viewport()},
    };
    for (const auto& [nombre, parte] : partes) {
        SCOPED_TRACE(nombre);
        w.ActionCerrarRutaExecute();
        ASSERT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
        const QPoint centro = parte->rect().center();
        QDragEnterEvent entrar(centro, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(parte, &entrar);
        EXPECT_TRUE(entrar.isAccepted());
        QDragMoveEvent mover(centro, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(parte, &mover);
        EXPECT_TRUE(mover.isAccepted());
        QDropEvent soltar(QPointF(centro), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(parte, &soltar);
        EXPECT_TRUE(soltar.isAccepted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.FTrackPath == a && w.HabilitadoTrack(); }, 5000))
            << "the dropped track was not loaded";
        EXPECT_EQ(w.FormData->cdsPoints.RecordCount(), 3);
    }
}

// The '%' is refused before anything is closed, whichever way the file comes.
TEST_F(VentanaCarga, ARefusedNameKeepsTheTrackOnScreen) {
    const QString bueno = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    const QString malo = escribir(QStringLiteral("100%.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    const std::pair<const char*, std::function<void()>> caminos[] = {
        {"open dialog",
         [&] {
             w.DialogoAbrir = [malo] { return malo; };
             w.Action1->trigger();
         }},
        {"recent list", [&] { w.RibbonMainRecentItemClick(malo); }},
        {"drop", [&] { w.FicheroArrastrado({malo}); }},
    };
    for (const auto& [nombre, abrir] : caminos) {
        SCOPED_TRACE(nombre);
        w.CargarRuta(bueno);
        ASSERT_TRUE(w.HabilitadoTrack());
        avisos.clear();
        abrir();
        EXPECT_EQ(avisos.size(), 1);
        EXPECT_EQ(w.FTrackPath, bueno);
        EXPECT_TRUE(w.FormData->cdsTrack.Active());
        EXPECT_EQ(w.FormData->cdsPoints.RecordCount(), 3);
        EXPECT_TRUE(w.HabilitadoTrack());
        EXPECT_FALSE(w.pnlArrastrar->isVisibleTo(&w));
    }
}

TEST_F(VentanaCarga, TheWindowTitleNamesTheOpenTrackUntilItIsClosed) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.ArranqueDiferido();
    const QString programa = w.windowTitle();
    ASSERT_FALSE(programa.isEmpty());
    w.CargarRuta(path);
    EXPECT_EQ(w.windowTitle(), programa + QStringLiteral(" - tres.gpx"));
    EXPECT_EQ(w.RibbonMain->title(), w.windowTitle());
    w.ActionCerrarRuta->trigger();
    EXPECT_EQ(w.windowTitle(), programa);
    EXPECT_EQ(w.RibbonMain->title(), programa);
}

TEST_F(VentanaCarga, APlannedRouteOpensAsTheTrackAndAnEmptyFileIsRefusedWhole) {
    const QString ruta =
        escribir(QStringLiteral("plan.gpx"), R"(<gpx version="1.1"><rte><name>Plan</name>
        <rtept lat="41.0" lon="2.0"><ele>500</ele></rtept><rtept lat="41.001" lon="2.002"><ele>510</ele></rtept>
        <rtept lat="41.0005" lon="2.004"><ele>505</ele></rtept></rte></gpx>)");
    TFMain& w = crear();
    w.CargarRuta(ruta);
    EXPECT_TRUE(errores.isEmpty()) << errores.join('\n').toStdString();
    ASSERT_TRUE(w.HabilitadoTrack());
    EXPECT_EQ(w.PaginaDatos->Modelo->rowCount(), 3);
    EXPECT_EQ(w.DistanciaTotal, 378);
    EXPECT_EQ(w.PanelGrafico->pList.size(), 3u);
    EXPECT_GE(lineaLog(QStringLiteral("Iniciar el Query a IBPIndex...")), 0);

    const std::pair<const char*, const char*> vacios[] = {
        {"only waypoints", R"(<gpx version="1.1"><wpt lat="41" lon="2"/></gpx>)"},
        {"nothing at all", R"(<gpx version="1.1"/>)"},
    };
    for (const auto& [nombre, gpx] : vacios) {
        SCOPED_TRACE(nombre);
        const QString path =
            escribir(QStringLiteral("vacío %1.gpx").arg(QLatin1String(nombre)), gpx);
        errores.clear();
        w.DialogoAbrir = [path] { return path; };
        w.Action1->trigger();
        ASSERT_EQ(errores.size(), 1);
        EXPECT_TRUE(errores[0].contains(QFileInfo(path).fileName())) << errores[0].toStdString();
        EXPECT_FALSE(w.FormData->cdsTrack.Active());
        EXPECT_FALSE(w.HabilitadoTrack());
        EXPECT_TRUE(w.FTrackPath.isEmpty());
        EXPECT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
        EXPECT_FALSE(w.pcCentral->isVisibleTo(&w));
        EXPECT_TRUE(w.PanelGrafico->pList.empty());
    }
}

TEST_F(VentanaCarga, ADamagedLogOpensItsGoodPartOnlyWhenTheUserSaysSo) {
    QByteArray gpx(GpxTresPuntos);
    gpx.truncate(gpx.indexOf("<ele>505")); // the logger stopped inside the third point
    const QString path = escribir(QStringLiteral("cortado.gpx"), gpx);
    QStringList preguntas;
    TFMain& w = crear();
    w.ArranqueDiferido();
    const QString programa = w.windowTitle();
    for (const bool si : {false, true}) {
        SCOPED_TRACE(si ? "Yes" : "No");
        preguntas.clear();
        w.MensajePregunta = [&](const QString& q) {
            preguntas << q;
            return si;
        };
        w.DialogoAbrir = [path] { return path; };
        w.Action1->trigger();
        ASSERT_EQ(preguntas.size(), 1);
        EXPECT_TRUE(preguntas[0].contains(QStringLiteral("cortado.gpx")))
            << preguntas[0].toStdString();
        EXPECT_TRUE(preguntas[0].contains(QRegularExpression(QStringLiteral("\\d+, \\S+ \\d+"))))
            << "line and column: " << preguntas[0].toStdString();
        EXPECT_TRUE(errores.isEmpty()) << errores.join('\n').toStdString();
        if (!si) {
            EXPECT_FALSE(w.FormData->cdsTrack.Active());
            EXPECT_FALSE(w.HabilitadoTrack());
            EXPECT_TRUE(w.pnlArrastrar->isVisibleTo(&w));
            EXPECT_EQ(w.windowTitle(), programa);
            continue;
        }
        ASSERT_TRUE(w.HabilitadoTrack());
        EXPECT_EQ(w.FormData->cdsPoints.RecordCount(), 2);
        EXPECT_EQ(w.PanelGrafico->pList.size(), 2u);
        EXPECT_TRUE(w.windowTitle().startsWith(programa + QStringLiteral(" - cortado.gpx")));
        EXPECT_TRUE(w.windowTitle().contains(w.FormData->Incompleto))
            << w.windowTitle().toStdString();
        EXPECT_TRUE(w.PanelGrafico->pnlTitulo->text().contains(w.FormData->Incompleto));
    }
}

// Opening one track after another: nothing of the first may show with the second.
TEST_F(VentanaCarga, NothingOfTheFirstTrackShowsWithTheSecond) {
    QByteArray largo = R"(<gpx version="1.1"><trk><trkseg>)";
    for (int i = 0; i < 30; ++i)
        largo += QStringLiteral(R"(<trkpt lat="41.%1" lon="2.%1"><ele>%2</ele></trkpt>)")
                     .arg(1000 + i * 7)
                     .arg(900 + i)
                     .toUtf8();
    largo += "</trkseg></trk></gpx>";
    const QString primero = escribir(QStringLiteral("largo.gpx"), largo);
    const QString segundo = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.CargarRuta(primero);
    TPanelGrafico& p = *w.PanelGrafico;
    // Inspect a point and replay part of the first track.
    p.sgTrackObjectMouseEnter(nullptr, p.pList[20]);
    w.ActionPLayAnim->trigger();
    for (int i = 0; i < 25; ++i)
        p.pnlAnimacion->TimerAnimTimer();
    w.ActionPauseAnim->trigger();
    ASSERT_EQ(p.pnlAnimacion->lblAnim->text(), QStringLiteral("24/30"));

    w.DialogoAbrir = [segundo] { return segundo; };
    w.Action1->trigger();
    ASSERT_TRUE(w.HabilitadoTrack());
    EXPECT_EQ(p.pnlAnimacion->lblAnim->text(), QStringLiteral("..."));
    EXPECT_EQ(p.pnlAnimacion->sbAnimacion->value(), 0);
    EXPECT_EQ(p.pnlAnimacion->animIndex, 0);
    for (QLabel* l : {p.pnlGraficoDatos->lblEnterMouse, p.pnlGraficoDatos->lbldgFecha,
                      p.pnlGraficoDatos->lbldgLatitud, p.pnlGraficoDatos->lbldgElevacion,
                      p.pnlGraficoDatos->lbldgDistAcum}) {
        SCOPED_TRACE(l->objectName().toStdString());
        EXPECT_FALSE(l->text().contains(QStringLiteral("21"))) << l->text().toStdString();
        EXPECT_FALSE(l->text().contains(QStringLiteral("41.1140"))) << l->text().toStdString();
    }
    EXPECT_TRUE(p.pnlGraficoDatos->lblEnterMouse->text().isEmpty())
        << p.pnlGraficoDatos->lblEnterMouse->text().toStdString();
    EXPECT_TRUE(p.pnlGraficoDatos->lbldgLatitud->text().isEmpty())
        << p.pnlGraficoDatos->lbldgLatitud->text().toStdString();
    // The profile's axes are the second track's.
    EXPECT_EQ(w.dbchtPerfil->EjeX()->max(), 2);
    EXPECT_EQ(w.dbchtPerfil->EjeY()->max(), 510 * 1.2);
    EXPECT_EQ(w.PanelGrafico->pnlTitulo->text().trimmed(), segundo);
}

// Files without <bounds> (most devices write none) show the bounds of their points.
TEST_F(VentanaCarga, BoundBoxesShowThePointsBoundsWhenTheFileHasNone) {
    const QByteArray conLimites =
        QByteArray(GpxTresPuntos)
            .replace(
                "<trk>",
                R"(<metadata><bounds minlat="40" minlon="1" maxlat="42" maxlon="3"/></metadata><trk>)");
    const struct {
        const char* guarda;
        QByteArray gpx;
        const char* maxlat;
        const char* maxlon;
        const char* minlat;
        const char* minlon;
    } casos[] = {
        {"no bounds: the points'", GpxTresPuntos, "41.001", "2.004", "41.0", "2.0"},
        {"bounds of the file win", conLimites, "42", "3", "40", "1"},
        {"west and south",
         R"(<gpx><trk><trkseg><trkpt lat="-33.5" lon="-70.7"/><trkpt lat="-33.25" lon="-70.9"/>
            <trkpt lat="-33.75" lon="-70.5"/></trkseg></trk></gpx>)",
         "-33.25", "-70.5", "-33.75", "-70.9"},
    };
    TFMain& w = crear();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        w.CargarRuta(escribir(QStringLiteral("limites.gpx"), c.gpx));
        ASSERT_TRUE(w.HabilitadoTrack());
        EXPECT_EQ(w.PaginaDatos->Caja(QStringLiteral("maxlat"))->text(),
                  QString::fromUtf8(c.maxlat));
        EXPECT_EQ(w.PaginaDatos->Caja(QStringLiteral("maxlon"))->text(),
                  QString::fromUtf8(c.maxlon));
        EXPECT_EQ(w.PaginaDatos->Caja(QStringLiteral("minlat"))->text(),
                  QString::fromUtf8(c.minlat));
        EXPECT_EQ(w.PaginaDatos->Caja(QStringLiteral("minlon"))->text(),
                  QString::fromUtf8(c.minlon));
        w.ActionCerrarRuta->trigger();
        EXPECT_TRUE(w.PaginaDatos->Caja(QStringLiteral("maxlat"))->text().isEmpty());
    }
}

// "Change zoom": the chart takes that share of the page's width, with a scroll bar
// past 100 %, and the log keeps its line.
TEST_F(VentanaCarga, ProfileZoomSetsTheChartWidthAsAShareOfThePage) {
    const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
    TFMain& w = crear();
    w.resize(1000, 800);
    w.show();
    w.CargarRuta(path);
    w.ActionVerGraficoPerfil->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w.vistaPerfil->isVisible() && w.vistaPerfil->width() > 100; }, 5000));
    const std::pair<const char*, int> casos[] = {{"10%", 10},   {"50%", 50},   {"100%", 100},
                                                 {"200%", 200}, {"400%", 400}, {"75%", 75}};
    for (const auto& [item, percent] : casos) {
        SCOPED_TRACE(item);
        w.cbZoomPerfil->setCurrentIndex(w.cbZoomPerfil->findText(QLatin1String(item)));
        QCoreApplication::processEvents();
        const int pagina = w.vistaPerfil->width();
        EXPECT_NEAR(w.dbchtPerfil->width(), pagina * percent / 100, 1);
        EXPECT_EQ(w.dbchtPerfil->height(), w.vistaPerfil->viewport()->height());
        EXPECT_EQ(w.vistaPerfil->horizontalScrollBar()->isVisible(), percent > 100);
        EXPECT_GE(lineaLog(QStringLiteral("ZOOM: ") + QLatin1String(item)), 0);
    }
}

// `--snapshot` loads while the page area is still hidden and then shows each page: the
// plan view must come out fitted to the size it is drawn at, not as a speck in a corner.
TEST_F(VentanaCarga, SnapshotsDrawThePlanViewFittedToItsSize) {
    QByteArray corto = R"(<gpx version="1.1"><trk><trkseg>)";
    for (int i = 0; i < 40; ++i)
        corto += QStringLiteral(R"(<trkpt lat="%1" lon="%2"><ele>500</ele></trkpt>)")
                     .arg(46.0 + 0.00007 * i, 0, 'f', 6)
                     .arg(7.0 + 0.0015 * std::sin(i / 6.0), 0, 'f', 6)
                     .toUtf8();
    corto += "</trkseg></trk></gpx>";
    const QString path = escribir(QStringLiteral("corto.gpx"), corto);
    TFMain& w = crear();
    w.resize(1000, 800);
    w.show();
    w.CargarRuta(path);
    ASSERT_TRUE(w.HabilitadoTrack());
    QString error;
    ASSERT_TRUE(w.GuardarSnapshots(dir.filePath(QStringLiteral("fotos")), error))
        << error.toStdString();
    TSimpleGraph* t = w.PanelGrafico->sgTrack;
    QRectF r;
    for (const QPoint& q : w.PanelGrafico->liRuta->Points())
        r = r.united(QRectF(t->GraphToClient(QPointF(q)), QSizeF(0.001, 0.001)));
    EXPECT_GT(std::max(r.width() / t->ClientWidth(), r.height() / t->ClientHeight()), 0.75)
        << "the route is " << r.width() << " x " << r.height() << " in " << t->ClientWidth()
        << " x " << t->ClientHeight();
    EXPECT_NEAR(r.center().x(), t->ClientWidth() / 2.0, 3);
}

struct CasoCelda {
    const char* nombre;
    const char* time;
    const char* fecha;
    const char* hora;
};

class CeldasFechaHora : public ::testing::TestWithParam<CasoCelda> {};

TEST_P(CeldasFechaHora, AreCutFromTheStoredText) {
    const CasoCelda& c = GetParam();
    EXPECT_EQ(TPointsModel::FechaDe(QString::fromUtf8(c.time)), QString::fromUtf8(c.fecha));
    EXPECT_EQ(TPointsModel::HoraDe(QString::fromUtf8(c.time)), QString::fromUtf8(c.hora));
}

INSTANTIATE_TEST_SUITE_P(
    Textos, CeldasFechaHora,
    ::testing::Values(CasoCelda{"utc", "2011-05-01T10:20:30Z", "2011-05-01", "10:20:30"},
                      CasoCelda{"fraccion", "2011-05-01T10:20:30.250Z", "2011-05-01", "10:20:30"},
                      CasoCelda{"con_zona_sin_convertir", "2011-05-01T23:59:59+02:00", "2011-05-01",
                                "23:59:59"},
                      CasoCelda{"vacio", "", "", ""}, CasoCelda{"corto", "2011-05", "2011-05", ""}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(VentanaCarga, WhatTheDesktopCannotOpenIsNamedToTheUser) {
    struct Caso {
        const char* nombre;
        std::function<void(TFMain&)> usar;
        std::function<QString()> nombrado; // what the warning must name
    };
    const Caso casos[] = {
        {"Google Earth without a program for KML files",
         [](TFMain& w) { w.ActionVerGoogleEarth->trigger(); },
         [] { return QDir::toNativeSeparators(CacheDir() + QStringLiteral("~gm.kml")); }},
        {"help button without a browser",
         [](TFMain& w) {
             QToolButton* ayuda = nullptr;
             for (QToolButton* b : w.RibbonMain->findChildren<QToolButton*>())
                 if (b->property("ribbonHelp").toBool())
                     ayuda = b;
             ASSERT_NE(ayuda, nullptr);
             QTest::mouseClick(ayuda, Qt::LeftButton);
         },
         [] { return QStringLiteral("https://"); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        avisos.clear();
        const QString path = escribir(QStringLiteral("tres.gpx"), GpxTresPuntos);
        TFMain& w = crear();
        w.show();
        QStringList pedidos;
        w.AbrirConAsociado = [&](const QString& f) {
            pedidos << f;
            return false;
        };
        w.AbrirDireccionWeb = [&](const QUrl& u) {
            pedidos << u.toString();
            return false;
        };
        w.CargarRuta(path);
        c.usar(w);
        ASSERT_EQ(pedidos.size(), 1);
        ASSERT_EQ(avisos.size(), 1);
        EXPECT_TRUE(avisos[0].contains(c.nombrado())) << avisos[0].toStdString();
        EXPECT_TRUE(avisos[0].contains(QDir::toNativeSeparators(pedidos[0])))
            << avisos[0].toStdString();
    }
}
} // namespace
