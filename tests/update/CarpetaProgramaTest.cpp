// The self-update of the real program: a copy of the program folder is updated from a
// local server to a build whose window module says 9.0.0.0, by the real Updater, with the
// archive made by scripts/make-update.
#include "Actualizador.h"
#include "BuscadorActualizaciones.h"
#include "CarpetaPrueba.h"
#include "Paquete.h"
#include "ServidorPrueba.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

using namespace prueba;

namespace {
struct TUiSi : TInterfazActualizacion {
    bool terminado = false;
    QStringList informes, advertencias, preguntas;
    bool PanelArrastreVisible() const override { return false; }
    void MostrarPanelUpdate(bool) override {}
    void MostrarPanelArrastre() override {}
    void Informar(const QString& t) override { informes << t; }
    void Advertir(const QString& t) override { advertencias << t; }
    bool Preguntar(const QString& t) override {
        preguntas << t;
        return true;
    }
    void TextoEstadoVersion(const QString&) override {}
    void AbrirDireccion(const QString&) override {}
    void Log(const QString&) override {}
    void TerminarPrograma() override { terminado = true; }
};

// The process running the program file `programa`, 0 when none does.
qint64 ProcesoDe(const QString& programa) {
    const QString buscado = QFileInfo(programa).canonicalFilePath();
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numero = false;
        const qint64 n = pid.toLongLong(&numero);
        if (numero && QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) == buscado)
            return n;
    }
    return 0;
}

class CarpetaProgramaTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(FRaiz.isValid());
        // A folder name with a blank and a quote, as users' folders have.
        FCarpeta = FRaiz.filePath(QStringLiteral("Mis programas/Senderal 'gps'"));
        FPrograma = FCarpeta + QStringLiteral("/senderal");
        FPublicar = FRaiz.filePath(QStringLiteral("publicar"));
        ASSERT_TRUE(CopiarCarpetaPrograma(QStringLiteral(SENDERAL_APP_DIR), FCarpeta));
        // The restarted window runs without a screen and checks for updates at start.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    }
    void TearDown() override {
        if (const qint64 pid = ProcesoDe(FPrograma)) {
            ::kill(pid_t(pid), SIGKILL);
            EXPECT_TRUE(QTest::qWaitFor([&] { return ProcesoDe(FPrograma) == 0; }, 5000));
        }
    }
    // The newer program: the same folder with the window module built as 9.0.0.0, packed
    // by the release script.
    void PublicarVersionNueva() {
        const QString app = FPublicar + QStringLiteral("/app");
        ASSERT_TRUE(CopiarCarpetaPrograma(QStringLiteral(SENDERAL_APP_DIR), app));
        const QString modulo = app + QStringLiteral("/libsenderal_ventana.so");
        ASSERT_TRUE(QFile::remove(modulo));
        ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_MODULO_NUEVO), modulo));
        QProcess script;
        script.start(QStringLiteral(SENDERAL_SOURCE_DIR "/scripts/make-update"),
                     {QStringLiteral("--app"), app, QStringLiteral("--out"), FPublicar});
        ASSERT_TRUE(script.waitForFinished(120000));
        ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
        EXPECT_EQ(Leer(FPublicar + QStringLiteral("/senderal.ver")), "// VERSION: 9.0.0.0\r\n");
        FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.ver"),
                               Leer(FPublicar + QStringLiteral("/senderal.ver")));
        FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.tar.gz"),
                               Leer(FPublicar + QStringLiteral("/senderal.tar.gz")));
    }
    TDatosActualizacion Datos(const TNumeroVersion& local) const {
        TDatosActualizacion d;
        d.DireccionBase = FServidor.base();
        d.RutaPrograma = FPrograma;
        d.CarpetaPrograma = FCarpeta + QLatin1Char('/');
        d.CarpetaCache = d.CarpetaPrograma + QStringLiteral("cache/");
        d.VersionLocal = local;
        d.Locale = QLocale(QLocale::Spanish, QLocale::Spain);
        return d;
    }
    int PedidosVersion() const {
        return int(FServidor.rutasPedidas().count(QStringLiteral("/AppUpdates/senderal.ver")));
    }

    QTemporaryDir FRaiz;
    QString FCarpeta, FPrograma, FPublicar;
    TServidorPrueba FServidor;
};

TEST_F(CarpetaProgramaTest, TheWholeFolderIsReplacedAndTheNewProgramSaysItsVersion) {
    PublicarVersionNueva();
    const QByteArray ajustes = "[Config]\r\nUpdateURL=" + FServidor.base().toUtf8() +
                               "\r\ncbConfigUpdateInicio_Checked=True\r\nEnviarIBP=False\r\n";
    Escribir(FCarpeta + QStringLiteral("/senderal.ini"), ajustes);
    Escribir(FCarpeta + QStringLiteral("/Custom.ini"), "[FMain]\r\nmio=1\r\n");
    Escribir(FCarpeta + QStringLiteral("/fr.lng"), "[Misc]\r\n_STR_MI_POINT=Point :\r\n");

    TNumeroVersion antes;
    ASSERT_TRUE(VersionDeProgramaEn(FPrograma, &antes));
    EXPECT_EQ(TextoVersion(antes), TextoVersionPrograma());

    TUiSi ui;
    TBuscadorActualizaciones(Datos(antes), ui).ActionBuscarUpdatesExecute(false);
    ASSERT_TRUE(ui.advertencias.isEmpty()) << ui.advertencias.join('|').toStdString();
    ASSERT_EQ(ui.preguntas.size(), 1);
    EXPECT_TRUE(ui.terminado);

    // The Updater swaps the folders and starts the program again; the restarted window
    // reads the carried-over settings and asks the server at start.
    ASSERT_TRUE(QTest::qWaitFor([&] { return PedidosVersion() >= 2; }, 90000))
        << "the restarted program did not check for updates";
    const qint64 pid = ProcesoDe(FPrograma);
    ASSERT_NE(pid, 0) << "the program does not run from its folder";
    // It runs the new window module, from the program folder (not a removed old copy).
    const QByteArray mapas = Leer(QStringLiteral("/proc/%1/maps").arg(pid));
    EXPECT_TRUE(mapas.contains(QFile::encodeName(FCarpeta + "/libsenderal_ventana.so\n")))
        << "module not mapped from the program folder";
    EXPECT_FALSE(mapas.contains("(deleted)"));
    ::kill(pid_t(pid), SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ProcesoDe(FPrograma) == 0; }, 10000));

    TNumeroVersion despues;
    ASSERT_TRUE(VersionDeProgramaEn(FPrograma, &despues));
    EXPECT_EQ(TextoVersion(despues), QStringLiteral("9.0.0.0"));
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/senderal.ini")), ajustes);
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/Custom.ini")), "[FMain]\r\nmio=1\r\n");
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/fr.lng")), "[Misc]\r\n_STR_MI_POINT=Point :\r\n");
    EXPECT_EQ(Vecinos(FCarpeta), QStringList{QFileInfo(FCarpeta).fileName()});

    // And the check now finds the program up to date.
    TUiSi otra;
    TBuscadorActualizaciones(Datos(despues), otra).ActionBuscarUpdatesExecute(false);
    EXPECT_TRUE(otra.preguntas.isEmpty());
    ASSERT_EQ(otra.informes.size(), 1);
    EXPECT_TRUE(otra.informes[0].contains(QStringLiteral("9.0.0.0")));
    EXPECT_TRUE(otra.informes[0].contains(QStringLiteral("No hay ninguna actualización")));
}

TEST_F(CarpetaProgramaTest, AFailedUpdateLeavesTheFolderAsItWasAndSaysWhy) {
    struct Caso {
        const char* nombre;
        std::function<void(CarpetaProgramaTest&)> preparar;
        const char* motivo;
    };
    const Caso casos[] = {
        {"server gone after the version file",
         [](CarpetaProgramaTest& t) {
             t.FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.ver"),
                                      "// VERSION: 9.0.0.0\r\n");
         },
         "No se ha podido descargar la actualización"},
        {"a web page instead of the archive",
         [](CarpetaProgramaTest& t) {
             t.FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.tar.gz"),
                                      "<html><body>Mantenimiento</body></html>");
         },
         "no es una actualización válida"},
        {"archive of another version",
         [](CarpetaProgramaTest& t) {
             t.PublicarVersionNueva();
             t.FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.ver"),
                                      "// VERSION: 9.0.0.1\r\n");
         },
         "no es la versión anunciada (9.0.0.1); dice ser: 9.0.0.0"},
        {"archive climbing out of the folder",
         [](CarpetaProgramaTest& t) {
             const QString origen = t.FRaiz.filePath(QStringLiteral("malo"));
             Escribir(origen + QStringLiteral("/senderal"), "#!/bin/sh\n", true);
             const QString archivo = t.FRaiz.filePath(QStringLiteral("malo.tar.gz"));
             ASSERT_TRUE(Empaquetar(archivo, {QStringLiteral("--directory=") + origen,
                                              QStringLiteral("--transform=s,^senderal$,../x,"),
                                              QStringLiteral("senderal")}));
             t.FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.ver"),
                                      "// VERSION: 9.0.0.0\r\n");
             t.FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.tar.gz"), Leer(archivo));
         },
         "../x"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        c.preparar(*this);
        // The download's folder is emptied by the program at exit, not part of the check.
        auto sinCache = [](QMap<QString, QByteArray> m) {
            for (auto it = m.begin(); it != m.end();)
                it = it.key().startsWith(QLatin1String("cache")) ? m.erase(it) : std::next(it);
            return m;
        };
        const auto antes = sinCache(Contenido(FCarpeta));
        const QStringList vecinos = Vecinos(FCarpeta);
        TUiSi ui;
        TBuscadorActualizaciones(Datos(LeerVersion(QStringLiteral("1.0.0.0"))), ui)
            .ActionBuscarUpdatesExecute(false);
        EXPECT_FALSE(ui.terminado);
        ASSERT_EQ(ui.advertencias.size(), 1);
        EXPECT_TRUE(ui.advertencias[0].contains(QString::fromUtf8(c.motivo)))
            << ui.advertencias[0].toStdString();
        EXPECT_TRUE(ui.advertencias[0].contains(QStringLiteral("El programa sigue como estaba.")));
        EXPECT_EQ(sinCache(Contenido(FCarpeta)), antes);
        EXPECT_EQ(Vecinos(FCarpeta), vecinos);
        EXPECT_FALSE(QFileInfo::exists(FRaiz.filePath(QStringLiteral("Mis programas/x"))));
    }
}
} // namespace
