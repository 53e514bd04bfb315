#include "AppPaths.h"
#include "FormData.h"
#include "FormMain.h"
#include "FormSplash.h"
#include "GraficoPerfil.h"
#include "IniTexto.h"
#include "Log.h"
#include "Ribbon.h"
#include "TextosVentana.h"
#include "Verbario.h"

#include "ImprimirQt.h"
#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main window with the shipped language files: switching languages, the start-up
// choice, and the files' completeness against a freshly generated template.
namespace {
const QString LangDir = QStringLiteral(SENDERAL_SOURCE_DIR "/data/lang/");

class Programa : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        SetAppDirOverride(FDir.path());
        for (const QString& name : FicherosIdioma())
            ASSERT_TRUE(QFile::copy(LangDir + name, AppDir() + name)) << qPrintable(name);
        FVentana = std::make_unique<TFMain>();
        FDatos = std::make_unique<TFormData>(FVentana->Log);
        FVentana->SetFormData(FDatos.get());
        FVentana->MensajePregunta = [this](const QString& t) {
            FUltimoMensaje = t;
            return false;
        };
        FVentana->MensajeInfo = [this](const QString& t) { FUltimoMensaje = t; };
        // No modal box may stop a test: the start-up reports a missing catalogue.
        FVentana->MensajeAviso = [this](const QString& t) { FUltimoMensaje = t; };
        FVentana->MensajeError = [this](const QString& t) { FUltimoMensaje = t; };
        TFMain::ManejadorErrorGlobal = [this](const QString& t) { FUltimoMensaje = t; };
    }
    void TearDown() override {
        // The data holder writes to the window's log: it goes first, as at program exit.
        FDatos.reset();
        FVentana.reset();
        EstablecerIdiomaActual(nullptr);
        SetAppDirOverride(QString());
        TFMain::ManejadorErrorGlobal = nullptr;
    }
    void elegir(const QString& item) {
        FVentana->PonerTextoIdioma(item);
        FVentana->outcbIdiomaChange();
    }
    QString preguntaAlCerrar() {
        FUltimoMensaje.clear();
        FVentana->close(); // answered No: the window stays
        return FUltimoMensaje;
    }
    QTemporaryDir FDir;
    std::unique_ptr<TFMain> FVentana;
    std::unique_ptr<TFormData> FDatos;
    QString FUltimoMensaje;
};

TEST_F(Programa, SwitchingLanguageChangesRibbonPagesCommandsAndMessages) {
    TFMain& w = *FVentana;
    struct Caso {
        const char* item;
        const char* fichero;
        const char* pestana;
        const char* grupo;
        const char* accion;
        const char* pagina;
        const char* salir;
        const char* ejePerfil; // a text the program sets, not the layout
    } casos[] = {
        {"Inglés / English", "en.lng", "&Routes", "File", "&Open route...", "&Settings",
         "Do you really want to close the application?", "Kilometres"},
        {"Catalán / Catalan", "ca.lng", "&Rutes", "Fitxer", "&Obre una ruta...", "&Configuració",
         "Segur que voleu tancar l'aplicació?", "Quilòmetres"},
        {"Español / Spanish", "es.lng", "&Rutas", "Fichero", "&Abrir ruta...", "&Configuración",
         "¿Realmente desea cerrar la aplicación?", "Kilómetros"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.item);
        elegir(QString::fromUtf8(c.item));
        EXPECT_EQ(w.FicheroIdioma(), QString::fromUtf8(c.fichero));
        EXPECT_EQ(w.edtConfigIdioma->text(), QString::fromUtf8(c.fichero));
        EXPECT_EQ(w.dbchtPerfil->EjeX()->titleText(), QString::fromUtf8(c.ejePerfil));
        EXPECT_EQ(w.rpRuta->caption(), QString::fromUtf8(c.pestana));
        EXPECT_EQ(w.findChild<TRibbonGroup*>("rgFichero")->caption(), QString::fromUtf8(c.grupo));
        EXPECT_EQ(w.Action1->text(), QString::fromUtf8(c.accion));
        EXPECT_EQ(w.tsConfig->property("Caption").toString(), QString::fromUtf8(c.pagina));
        EXPECT_EQ(preguntaAlCerrar(), QString::fromUtf8(c.salir));
    }
}

TEST_F(Programa, EachCommandTakesItsOwnHintFromTheLanguageFile) {
    elegir("Inglés / English");
    const struct {
        QAction* TFMain::*orden;
        const char* pista;
    } casos[] = {
        {&TFMain::Action1, "Open a track file"},
        {&TFMain::ActionCerrarRuta, "Clear the data of the current route"},
        {&TFMain::ActionCerrarAplicacion, "Close the application"},
        {&TFMain::ActionAcercaDe, "About..."},
        {&TFMain::ActionConversionRutas, "Go to route conversion"},
        {&TFMain::ActionVerGraficoTrack, "Show the track chart"},
        {&TFMain::ActionVerGraficoMaps, "Show on Google Maps"},
        {&TFMain::ActionVerGraficoPerfil, "Show the track profile"},
        {&TFMain::ActionVerIBPIndex, "View IBPIndex"},
        {&TFMain::ActionZoomIn, "CTRL+   Zoom in"},
        {&TFMain::ActionZoomOut, "CTRL-    Zoom out"},
        {&TFMain::ActionCentrarGraficoRuta, "CTRL+W   Centre the track"},
        {&TFMain::ActionVerGrid, "Show or hide the grid"},
        {&TFMain::ActionGraficoEdicion, "Switch to edit mode"},
        {&TFMain::ActionGraficoMover, "Move the chart"},
        {&TFMain::ActionVerConPuntos, "Draw the route with points"},
        {&TFMain::ActionVerConLineas, "Draw the route with a line"},
        {&TFMain::ActionImprimirRuta, "Print the route chart"},
        {&TFMain::ActionExporGraficotBMP, "Export the chart as BMP"},
        {&TFMain::ActionPLayAnim, "Start/resume the animation"},
        {&TFMain::ActionPauseAnim, "Pause the animation"},
        {&TFMain::ActionStopAnim, "Stop the animation"},
        {&TFMain::ActionGrabarImagen, "Save the map image"},
        {&TFMain::ActionImprimirGoogleMaps, "Print the map"},
        {&TFMain::ActionVerGoogleEarth, "View in Google Earth"},
        {&TFMain::ActionConvertPLT, "Convert the current route to PLT format (OziExplorer)"},
        {&TFMain::ActionConvertKML,
         "Convert the current route to KML format (Keyhole Markup Language -Google Maps-)"},
        {&TFMain::ActionPerfilVerRelleno, "Show the chart filled"},
        {&TFMain::ActionImprimirPerfil, "Print the route profile"},
        {&TFMain::ActionGrabarPerfilImagen, "Save the profile image"},
        {&TFMain::ActionImprimirIBPIndex, "Print the IBPIndex data"},
        {&TFMain::ActionGrabarIBPIndex, "Save IBPIndex as PDF"},
        {&TFMain::ActionRecalcularIBP, "Recalculate IBPIndex"},
        {&TFMain::ActionAbrirWebIBPIndex, "About IBPIndex"},
        {&TFMain::ActionBuscarUpdates, "Check for program updates"},
        {&TFMain::ActionCambiarIdioma, "Choose the application language"},
    };
    for (const auto& c : casos) {
        QAction* a = FVentana.get()->*c.orden;
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(c.pista));
    }
}

TEST_F(Programa, ChoosingAnItemInTheSelectorAppliesIt) {
    QComboBox* selector = FVentana->outcbIdioma;
    selector->setCurrentIndex(2);
    emit selector->activated(2);
    EXPECT_EQ(FVentana->FicheroIdioma(), "ca.lng");
    EXPECT_EQ(FVentana->rpRuta->caption(), "&Rutes");
}

TEST_F(Programa, TheAboutWindowTakesTheLanguageInForce) {
    elegir("Catalán / Catalan");
    TFSplash splash;
    AplicarIdioma(&splash, FVentana->FicheroIdioma());
    EXPECT_TRUE(
        splash.Memo1->toPlainText().startsWith(QString::fromUtf8("Senderal - Aplicació gratuïta")));
}

TEST_F(Programa, ScreenshotsOfTheRibbonDifferBetweenLanguages) {
    TFMain& w = *FVentana;
    w.resize(900, 700);
    w.RibbonMain->setCurrentPage(w.rpMas);
    // SENDERAL_CAPTURAS=folder keeps a picture of the window in each language.
    const QString folder = qEnvironmentVariable("SENDERAL_CAPTURAS");
    w.show();
    auto foto = [&](const char* item) {
        elegir(QString::fromUtf8(item));
        // The layouts follow the new texts on the next pass of the event loop.
        for (int pass = 0; pass < 5; ++pass)
            QApplication::processEvents();
        w.RibbonMain->setCurrentPage(w.rpMas);
        QApplication::processEvents();
        if (!folder.isEmpty())
            w.grab().save(folder + "/" + w.FicheroIdioma() + ".png");
        return w.RibbonMain->grab().toImage();
    };

    const QImage es = foto("Español / Spanish");
    const QImage en = foto("Inglés / English");
    const QImage ca = foto("Catalán / Catalan");
    EXPECT_NE(es, en);
    EXPECT_NE(en, ca);
    EXPECT_EQ(foto("Español / Spanish"), es); // and back again, pixel for pixel
}

TEST_F(Programa, AMissingLanguageFileKeepsTextsAndFallsBackToSpanishMessages) {
    elegir("Inglés / English");
    ASSERT_TRUE(QFile::remove(AppDir() + "ca.lng"));
    elegir("Catalán / Catalan");
    EXPECT_EQ(FVentana->FicheroIdioma(), "ca.lng");
    EXPECT_EQ(FVentana->rpRuta->caption(), "&Routes");
    EXPECT_EQ(preguntaAlCerrar(), QString::fromUtf8("¿Realmente desea cerrar la aplicación?"));
}

TEST_F(Programa, StartUpChoosesTheLanguage) {
    TFMain& w = *FVentana;
    QFile eu(AppDir() + "eu.lng");
    ASSERT_TRUE(eu.open(QIODevice::WriteOnly));
    eu.write("[FMain]\nFMain.rpRuta.Caption=&Ibilbideak\n");
    eu.close();
    QFile upper(AppDir() + "EN.LNG");
    ASSERT_TRUE(upper.open(QIODevice::WriteOnly));
    upper.write("[FMain]\nFMain.rpRuta.Caption=&UPPER\n");
    upper.close();
    struct Caso {
        const char* nombre;
        const char* fichero;
        const char* textoSelector;
        const char* ficheroFinal;
        const char* textoFinal;
        const char* pestana;
    } casos[] = {
        {"no settings: English", "", "0", "en.lng", "Inglés / English", "&Routes"},
        {"configured Catalan", "ca.lng", "Catalán / Catalan", "ca.lng", "Catalán / Catalan",
         "&Rutes"},
        {"a fourth file is applied, the selector keeps its text", "eu.lng", "Euskara", "eu.lng",
         "Euskara", "&Ibilbideak"},
        {"capital letters are applied as they stand", "EN.LNG", "Inglés / English", "EN.LNG",
         "Inglés / English", "&UPPER"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        w.PonerFicheroIdioma(QString::fromUtf8(c.fichero));
        w.PonerTextoIdioma(QString::fromUtf8(c.textoSelector));
        w.CargarIdiomaInicio();
        EXPECT_EQ(w.FicheroIdioma(), QString::fromUtf8(c.ficheroFinal));
        EXPECT_EQ(w.TextoIdioma(), QString::fromUtf8(c.textoFinal));
        EXPECT_EQ(w.rpRuta->caption(), QString::fromUtf8(c.pestana));
    }
}

TEST_F(Programa, TheTranslationInvitationFollowsTheLanguage) {
    elegir("Inglés / English");
    FVentana->Label22Click();
    EXPECT_TRUE(FUltimoMensaje.startsWith("If you would like")) << qPrintable(FUltimoMensaje);
    EXPECT_EQ(FVentana->Label22->text(), "Suggest a translation...");
}

// Keys of one window's section in the template and in a shipped file.
void compararClaves(const TIniTexto& plantilla, const TIniTexto& fichero, const QString& window) {
    const QStringList esperadas = plantilla.Claves(window);
    ASSERT_FALSE(esperadas.isEmpty()) << qPrintable(window);
    for (const QString& k : esperadas)
        EXPECT_TRUE(fichero.TieneClave(window, k)) << "missing " << qPrintable(k);
    for (const QString& k : fichero.Claves(window))
        EXPECT_TRUE(plantilla.TieneClave(window, k))
            << "no longer in the window: " << qPrintable(k);
}

TEST_F(Programa, ShippedFilesCarryEveryKeyOfAFreshTemplate) {
    TFSplash splash;
    ASSERT_TRUE(FillCustomIni({FVentana.get(), FDatos.get(), &splash}, nullptr));
    const TIniTexto plantilla = TIniTexto::DesdeFichero(AppDir() + "Custom.ini");
    // Refreshing the shipped files starts from here.
    if (const QByteArray out = qgetenv("SENDERAL_PLANTILLA_SALIDA"); !out.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(out));
        QFile::copy(AppDir() + "Custom.ini", QString::fromLocal8Bit(out));
    }
    for (const QString& name : FicherosIdioma()) {
        SCOPED_TRACE(name.toStdString());
        const TIniTexto fichero = TIniTexto::DesdeFichero(AppDir() + name);
        compararClaves(plantilla, fichero, "FMain");
        compararClaves(plantilla, fichero, "FSplash");
    }
}

TEST_F(Programa, TemplateLeavesOutTheSelectorsAndTheLog) {
    ASSERT_TRUE(FVentana->FillCustomIni());
    const TIniTexto plantilla = TIniTexto::DesdeFichero(AppDir() + "Custom.ini");
    for (const QString& k : plantilla.Claves("FMain")) {
        EXPECT_FALSE(k.startsWith("FMain.outcb", Qt::CaseInsensitive)) << qPrintable(k);
        EXPECT_FALSE(k.startsWith("FMain.mmLog.")) << qPrintable(k);
    }
    EXPECT_TRUE(plantilla.TieneClave("FMain", "FMain.Action1.Caption"));
    EXPECT_TRUE(plantilla.TieneClave("Misc", "_STR_MI_METERS"));
}

TEST_F(Programa, ATemplateThatCannotBeWrittenIsOnlyLogged) {
    QFile::remove(AppDir() + "Custom.ini");
    ASSERT_TRUE(QDir().mkpath(AppDir() + "Custom.ini/blocked"));
    EXPECT_FALSE(FVentana->FillCustomIni());
    EXPECT_TRUE(FVentana->Log->Lineas().last().contains("Custom.ini"));
}
} // namespace
