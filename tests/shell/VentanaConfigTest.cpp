// The main window's settings, themes, cache folder, update command and about window.
#include "AppPaths.h"
#include "AsistenteConversion.h"
#include "ColorBox.h"
#include "Configuracion.h"
#include "FormData.h"
#include "FormMain.h"
#include "FormSplash.h"
#include "IniTexto.h"
#include "Log.h"
#include "PaginaDatos.h"
#include "PanelGrafico.h"
#include "Ribbon.h"
#include "ServidorPrueba.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
// One run of the program in a program folder of its own.
struct TEjecucion {
    TFMain ventana;
    TFormData datos;
    QStringList preguntas;
    bool respuestaSalir = true;

    TEjecucion() : ventana({QCoreApplication::applicationFilePath()}), datos(ventana.Log) {
        ventana.MensajeInfo = [](const QString&) {};
        ventana.MensajeAviso = [](const QString&) {};
        ventana.MensajeError = [](const QString&) {};
        ventana.MensajePregunta = [this](const QString& q) {
            preguntas << q;
            return respuestaSalir;
        };
        TFMain::ManejadorErrorGlobal = [](const QString&) {};
        ventana.SetFormData(&datos);
        ventana.show();
        EXPECT_TRUE(QTest::qWaitFor([this] { return ventana.DoneVisualization; }, 10000))
            << "the deferred start-up never ran";
    }
    ~TEjecucion() {
        respuestaSalir = true;
        if (ventana.isVisible())
            ventana.close();
    }
    bool cerrar(bool si) {
        respuestaSalir = si;
        return ventana.close();
    }
};

class VentanaConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        SetAppDirOverride(FDir.path());
        FIni = FicheroConfiguracion();
    }
    void TearDown() override { SetAppDirOverride(QString()); }
    QTemporaryDir FDir;
    QString FIni;
};

TEST_F(VentanaConfigTest, ConfirmedExitWritesEveryKeyRefusedExitNothing) {
    {
        TEjecucion r;
        EXPECT_FALSE(r.cerrar(false));
        EXPECT_TRUE(r.ventana.isVisible());
        EXPECT_FALSE(QFile::exists(FIni)) << "a refused close writes nothing";

        r.ventana.colbLinea->SetSelected(Qt::red);
        r.ventana.seAnchoLinea->setValue(3);
        EXPECT_TRUE(r.cerrar(true));
    }
    const TIniTexto ini = TIniTexto::AjustesDesdeFichero(FIni);
    const QStringList claves = ini.Claves(kSeccionConfig);
    for (const char* clave : {"Idioma",
                              "IdiomaTexto",
                              "GPSBabel",
                              "Tema",
                              "FormVersion",
                              "Flags",
                              "ShowCmd",
                              "PixelsPerInch",
                              "MinMaxPos",
                              "NormPos",
                              "Visible",
                              "seAnchoLinea_Value",
                              "colbLinea_Selected",
                              "cbConfigUpdateInicio_Checked",
                              "ActionVerConLineas_Checked",
                              "ActionVerConPuntos_Checked",
                              "edtBabel_Text",
                              "TimerAnim_Interval",
                              "sbVElocidad_Position",
                              "cbAnchoLineaAuto_Checked",
                              "edtConfigIdioma_Tag",
                              "outcbIdioma_ItemIndex"}) {
        SCOPED_TRACE(clave);
        EXPECT_TRUE(claves.contains(QLatin1String(clave)));
    }
    auto valor = [&ini](const char* clave) {
        return ini.Valor(kSeccionConfig, QLatin1String(clave));
    };
    EXPECT_EQ(valor("colbLinea_Selected"), QStringLiteral("255"));
    EXPECT_EQ(valor("seAnchoLinea_Value"), QStringLiteral("3"));
    EXPECT_EQ(valor("cbConfigUpdateInicio_Checked"), QStringLiteral("True"));
    // No theme was chosen: the theme the user saw, Luna, is stored.
    EXPECT_EQ(valor("Tema"), QStringLiteral("1"));
    EXPECT_EQ(ini.Valor(kSeccionListaTemas, QStringLiteral("Count")), QStringLiteral("3"));
    EXPECT_EQ(ini.Valor(kSeccionListaTemas, QStringLiteral("Item2")),
              QStringLiteral("Ribbon - Silver"));
}

TEST_F(VentanaConfigTest, SecondStartRestoresThemeControlsAndPlacement) {
    QRect geometria;
    {
        TEjecucion r;
        auto* silver = r.ventana.findChild<QToolButton*>(QStringLiteral("imgTemaSilver"));
        ASSERT_NE(silver, nullptr);
        silver->click();
        EXPECT_EQ(r.ventana.outcbConfigEstilo->currentText(), QStringLiteral("Ribbon - Silver"));
        EXPECT_EQ(r.ventana.RibbonMain->esquema(), TRibbon::Silver);
        r.ventana.seAnchoLinea->setValue(6);
        r.ventana.colbLinea->SetSelected(QColor(0, 0, 255));
        r.ventana.cbAnchoLineaAuto->setChecked(false);
        r.ventana.cbConfigUpdateInicio->setChecked(false);
        r.ventana.edtBabel->setText(QStringLiteral("  /opt/gpsbabel/gpsbabel  "));
        r.ventana.setGeometry(QRect(40, 60, 900, 740));
        geometria = r.ventana.geometry();
        EXPECT_TRUE(r.cerrar(true));
    }
    const TIniTexto guardado = TIniTexto::AjustesDesdeFichero(FIni);
    EXPECT_EQ(guardado.Valor(kSeccionConfig, QStringLiteral("Tema")), QStringLiteral("2"));
    EXPECT_EQ(guardado.Valor(kSeccionConfig, QStringLiteral("GPSBabel")),
              QStringLiteral("/opt/gpsbabel/gpsbabel"));

    TEjecucion r;
    EXPECT_EQ(r.ventana.RibbonMain->esquema(), TRibbon::Silver);
    EXPECT_EQ(r.ventana.outcbConfigEstilo->currentIndex(), 2);
    EXPECT_EQ(r.ventana.pnlBack->palette().color(QPalette::Window), QColor(208, 212, 221));
    EXPECT_EQ(r.ventana.seAnchoLinea->value(), 6);
    EXPECT_EQ(r.ventana.colbLinea->Selected(), QColor(0, 0, 255));
    EXPECT_FALSE(r.ventana.cbAnchoLineaAuto->isChecked());
    EXPECT_FALSE(r.ventana.cbConfigUpdateInicio->isChecked());
    EXPECT_EQ(r.ventana.edtBabel->text(), QStringLiteral("/opt/gpsbabel/gpsbabel"));
    EXPECT_EQ(r.ventana.size(), geometria.size());
    EXPECT_EQ(r.ventana.pos(), geometria.topLeft());
}

// The replay's speed comes back as the user left it, and a stored tick that differs from
// the speed's own (an older version's, or edited by hand) is kept over it.
TEST_F(VentanaConfigTest, SecondStartRestoresTheReplaySpeedAndTick) {
    {
        TEjecucion r;
        QScrollBar* velocidad = r.ventana.PanelGrafico->pnlAnimacion->sbVElocidad;
        velocidad->setEnabled(true); // the bar is a track command; the test has no track
        QTest::keyClick(velocidad, Qt::Key_End); // the fastest
        EXPECT_EQ(r.ventana.PanelGrafico->VelocidadAnimacion(), 5);
        EXPECT_TRUE(r.cerrar(true));
    }
    TIniTexto guardado = TIniTexto::AjustesDesdeFichero(FIni);
    EXPECT_EQ(guardado.Valor(kSeccionConfig, QStringLiteral("sbVElocidad_Position")),
              QStringLiteral("5"));
    EXPECT_EQ(guardado.Valor(kSeccionConfig, QStringLiteral("TimerAnim_Interval")),
              QStringLiteral("10"));
    {
        TEjecucion r;
        EXPECT_EQ(r.ventana.PanelGrafico->VelocidadAnimacion(), 5);
        EXPECT_EQ(r.ventana.PanelGrafico->IntervaloAnimacion(), 10);
    }
    guardado.Escribir(kSeccionConfig, QStringLiteral("TimerAnim_Interval"), QStringLiteral("35"));
    ASSERT_TRUE(guardado.Guardar(FIni));
    TEjecucion r;
    EXPECT_EQ(r.ventana.PanelGrafico->VelocidadAnimacion(), 5);
    EXPECT_EQ(r.ventana.PanelGrafico->IntervaloAnimacion(), 35);
}

// A theme colours the plan page's title bar and its point, graphs and animation panels too.
TEST_F(VentanaConfigTest, AThemePaintsThePlanPagePanels) {
    TEjecucion r;
    auto* silver = r.ventana.findChild<QToolButton*>(QStringLiteral("imgTemaSilver"));
    ASSERT_NE(silver, nullptr);
    silver->click();
    const QColor color = r.ventana.pnlBack->palette().color(QPalette::Window);
    ASSERT_EQ(color, QColor(208, 212, 221));
    TPanelGrafico* p = r.ventana.PanelGrafico;
    for (QWidget* w :
         {static_cast<QWidget*>(p->pnlTitulo), static_cast<QWidget*>(p->pnlGraficoDatos),
          p->pnlGraficosAux, static_cast<QWidget*>(p->pnlAnimacion)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->palette().color(QPalette::Window), color);
        EXPECT_TRUE(w->autoFillBackground());
    }
}

// An installed program (bin/ beside share/senderal/) never writes into its own tree: the
// settings go to the user's configuration folder and come back from there, the cache lives
// in the user's cache folder.
TEST(VentanaInstaladaTest, SettingsAndCacheLiveInTheUserFolders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString prefijo = dir.filePath(QStringLiteral("usr"));
    const QString datos = prefijo + QStringLiteral("/share/senderal/");
    ASSERT_TRUE(QDir().mkpath(prefijo + QStringLiteral("/bin")));
    ASSERT_TRUE(QDir().mkpath(datos));
    for (const char* f : {"GpxDS.dll", "es.lng", "en.lng", "ca.lng"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/") + QLatin1String(f),
                                datos + QLatin1String(f)))
            << f;
    const QByteArray configAntes = qgetenv("XDG_CONFIG_HOME");
    const QByteArray cacheAntes = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home/config"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home/cache"))));
    SetAppDirOverride(prefijo + QStringLiteral("/bin"));
    auto arbol = [&prefijo] {
        QStringList all;
        QDirIterator it(prefijo, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all << it.next();
        all.sort();
        return all;
    };
    const QStringList antes = arbol();
    const QString ini = dir.filePath(QStringLiteral("home/config/senderal/")) +
                        QFileInfo(FicheroConfiguracion()).fileName();
    {
        TEjecucion r;
        EXPECT_EQ(CacheDir(), dir.filePath(QStringLiteral("home/cache/senderal/run/")));
        EXPECT_TRUE(QFileInfo(CacheDir()).isDir());
        r.ventana.seAnchoLinea->setValue(7);
        EXPECT_TRUE(r.cerrar(true));
        EXPECT_FALSE(QFileInfo::exists(CacheDir()));
    }
    EXPECT_EQ(FicheroConfiguracion(), ini);
    EXPECT_EQ(TIniTexto::AjustesDesdeFichero(ini).Valor(kSeccionConfig,
                                                        QStringLiteral("seAnchoLinea_Value")),
              QStringLiteral("7"));
    {
        TEjecucion r;
        EXPECT_EQ(r.ventana.seAnchoLinea->value(), 7);
    }
    EXPECT_EQ(arbol(), antes) << "nothing is written into the installed tree";
    SetAppDirOverride(QString());
    qputenv("XDG_CONFIG_HOME", configAntes);
    qputenv("XDG_CACHE_HOME", cacheAntes);
    if (configAntes.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    if (cacheAntes.isEmpty())
        qunsetenv("XDG_CACHE_HOME");
}

TEST_F(VentanaConfigTest, UnwritableSettingsFileIsReportedAndTheWindowStillCloses) {
    QDir().mkpath(FIni); // a folder where the file should go: it cannot be written
    TEjecucion r;
    QStringList avisos;
    r.ventana.MensajeAviso = [&avisos](const QString& t) { avisos << t; };
    EXPECT_TRUE(r.cerrar(true));
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].startsWith(QStringLiteral("No se ha podido guardar la configuración")));
}

TEST_F(VentanaConfigTest, ThemeListChoiceAppliesItsLook) {
    TEjecucion r;
    EXPECT_EQ(r.ventana.outcbConfigEstilo->currentIndex(), 1); // the designed Luna look
    r.ventana.outcbConfigEstilo->setCurrentIndex(0);
    EXPECT_EQ(r.ventana.RibbonMain->esquema(), TRibbon::Obsidian);
    EXPECT_EQ(r.ventana.pnlBack->palette().color(QPalette::Window), QColor(162, 162, 160));
    r.ventana.outcbConfigEstiloChange(-1); // no item: nothing changes
    EXPECT_EQ(r.ventana.RibbonMain->esquema(), TRibbon::Obsidian);
}

// The pages of other parts of the window take the theme's colour too: the conversion
// wizard's panel and the title row of the data page's grid.
TEST_F(VentanaConfigTest, ThemePicturesColourThePanelsOfOtherPages) {
    TEjecucion r;
    ASSERT_NE(r.ventana.AsistenteConversion, nullptr);
    const struct {
        const char* imagen;
        QColor color;
    } casos[] = {
        {"imgTemaObsidian", QColor(162, 162, 160)},
        {"imgTemaSilver", QColor(208, 212, 221)},
        {"imgTemaLuna", QColor(194, 216, 241)},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.imagen);
        auto* imagen = r.ventana.findChild<QToolButton*>(QLatin1String(c.imagen));
        ASSERT_NE(imagen, nullptr);
        imagen->click();
        const QWidget* panel = r.ventana.AsistenteConversion->pnlConvertRuta;
        EXPECT_EQ(panel->palette().color(QPalette::Window), c.color);
        EXPECT_TRUE(panel->autoFillBackground());
        EXPECT_TRUE(r.ventana.PaginaDatos->dbgPuntos->horizontalHeader()->styleSheet().contains(
            c.color.name()));
    }
}

TEST_F(VentanaConfigTest, CacheFolderLivesFromStartToExit) {
    const QString fuera = FDir.filePath(QStringLiteral("fuera.gpx"));
    {
        QFile f(fuera);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("mio");
    }
    {
        TEjecucion r;
        ASSERT_TRUE(QFileInfo(CacheDir()).isDir());
        QFile f(CacheDir() + QStringLiteral("~map.html"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        ASSERT_TRUE(QFile::link(fuera, CacheDir() + QStringLiteral("enlace.gpx")));
        EXPECT_TRUE(r.cerrar(true));
        EXPECT_FALSE(QFileInfo::exists(CacheDir()));
    }
    EXPECT_TRUE(QFileInfo::exists(fuera));
}

TEST_F(VentanaConfigTest, EachAboutCommandOpensANewWindow) {
    TEjecucion r;
    auto abiertas = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFSplash*>(w) && w->isVisible())
                ++n;
        return n;
    };
    r.ventana.ActionAcercaDe->trigger();
    r.ventana.ActionAcercaDe->trigger();
    EXPECT_EQ(abiertas(), 2);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TFSplash*>(w))
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(abiertas(), 0);
}

TEST_F(VentanaConfigTest, UpdateCommandAsksTheConfiguredServer) {
    TServidorPrueba servidor;
    servidor.ponerFichero(QStringLiteral("/AppUpdates/") +
                              QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
                              QStringLiteral(".ver"),
                          "// VERSION: 999.0.0.0\r\n");
    {
        TIniTexto ini(TIniTexto::Ajustes());
        ini.Escribir(kSeccionConfig, QStringLiteral("UpdateURL"), servidor.base());
        ini.Escribir(kSeccionConfig, QStringLiteral("cbConfigUpdateInicio_Checked"),
                     QStringLiteral("False"));
        ASSERT_TRUE(ini.Guardar(FIni));
    }
    TEjecucion r;
    EXPECT_TRUE(servidor.rutasPedidas().isEmpty()) << "the start-up check is off";
    r.respuestaSalir = false; // answers the update question with No
    r.ventana.ActionBuscarUpdates->trigger();
    ASSERT_EQ(r.preguntas.size(), 1);
    EXPECT_TRUE(r.preguntas[0].contains(QStringLiteral("999.0.0.0")));
    EXPECT_EQ(r.ventana.StatusPanel1->text(), QStringLiteral("Existe versión nueva..."));
    EXPECT_EQ(r.ventana.Log->Lineas().last(), QStringLiteral("Descarga cancelada."));
}
} // namespace
