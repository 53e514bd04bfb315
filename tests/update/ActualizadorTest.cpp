// The updater: swapping the whole program folder safely with the user's files carried
// over, and the whole hand-over against a local server with the real Updater program.
#include "Actualizador.h"
#include "BuscadorActualizaciones.h"
#include "CarpetaPrueba.h"
#include "ServidorPrueba.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace prueba;

namespace {
// Answers Yes and records what the check tells.
struct TUiSi : TInterfazActualizacion {
    bool terminado = false;
    QStringList informes, advertencias;
    bool PanelArrastreVisible() const override { return false; }
    void MostrarPanelUpdate(bool) override {}
    void MostrarPanelArrastre() override {}
    void Informar(const QString& t) override { informes << t; }
    void Advertir(const QString& t) override { advertencias << t; }
    bool Preguntar(const QString&) override { return true; }
    void TextoEstadoVersion(const QString&) override {}
    void AbrirDireccion(const QString&) override {}
    void Log(const QString&) override {}
    void TerminarPrograma() override { terminado = true; }
};

class ActualizadorTest : public ::testing::Test {
  public:
    void SetUp() override {
        FRaiz = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(FRaiz->isValid());
        FCarpeta = FRaiz->filePath(QStringLiteral("Senderal"));
        FPrograma = FCarpeta + QStringLiteral("/senderal");
        FNueva = PrefijoCarpetaNueva(FCarpeta) + QStringLiteral("prueba");
        // The folder in use: the program, its module and data, and what the user made.
        Escribir(FPrograma, ProgramaFalso(QStringLiteral("1.0.0.0")), true);
        Escribir(FCarpeta + QStringLiteral("/libsenderal_ventana.so"), "modulo 1");
        Escribir(FCarpeta + QStringLiteral("/es.lng"), "textos 1");
        Escribir(FCarpeta + QStringLiteral("/mapa/mapa.js"), "mapa 1");
        Escribir(FCarpeta + QStringLiteral("/senderal.ini"), "[Config]\nIdioma=en.lng\n");
        Escribir(FCarpeta + QStringLiteral("/Custom.ini"), "[FMain]\nmio=1\n");
        Escribir(FCarpeta + QStringLiteral("/ComboBox.txt"), "combos del usuario");
        Escribir(FCarpeta + QStringLiteral("/fr.lng"), "langue ajoutée");
        Escribir(FCarpeta + QStringLiteral("/rutas/mi ruta.gpx"), "<gpx/>");
        Escribir(FCarpeta + QStringLiteral("/cache/senderal.tar.gz"), "descarga");
        // The update: the same names with new contents, and settings of its own that must
        // not win over the user's.
        Escribir(FNueva + QStringLiteral("/senderal"), ProgramaFalso(QStringLiteral("9.0.0.0")),
                 true);
        Escribir(FNueva + QStringLiteral("/libsenderal_ventana.so"), "modulo 9");
        Escribir(FNueva + QStringLiteral("/es.lng"), "textos 9");
        Escribir(FNueva + QStringLiteral("/mapa/mapa.js"), "mapa 9");
        Escribir(FNueva + QStringLiteral("/senderal.ini"), "[Config]\nIdioma=es.lng\n");
        QFile::setPermissions(FCarpeta,
                              QFile::permissions(FCarpeta) | QFile::ReadOther | QFile::ExeOther);
    }

    std::unique_ptr<QTemporaryDir> FRaiz;
    QString FCarpeta, FPrograma, FNueva;
};

TEST_F(ActualizadorTest, SwapsInTheNewFolderAndCarriesTheUsersFilesOver) {
    const auto permisos = QFile::permissions(FCarpeta);
    QString error;
    ASSERT_TRUE(ReemplazarCarpeta(FPrograma, FNueva, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();

    const QMap<QString, QByteArray> esperado{
        {QStringLiteral("senderal"), ProgramaFalso(QStringLiteral("9.0.0.0"))},
        {QStringLiteral("libsenderal_ventana.so"), "modulo 9"},
        {QStringLiteral("es.lng"), "textos 9"},
        {QStringLiteral("mapa"), "<carpeta>"},
        {QStringLiteral("mapa/mapa.js"), "mapa 9"},
        {QStringLiteral("senderal.ini"), "[Config]\nIdioma=en.lng\n"},
        {QStringLiteral("Custom.ini"), "[FMain]\nmio=1\n"},
        {QStringLiteral("ComboBox.txt"), "combos del usuario"},
        {QStringLiteral("fr.lng"), "langue ajoutée"},
        {QStringLiteral("rutas"), "<carpeta>"},
        {QStringLiteral("rutas/mi ruta.gpx"), "<gpx/>"},
    };
    EXPECT_EQ(Contenido(FCarpeta), esperado);
    EXPECT_TRUE(QFileInfo(FPrograma).isExecutable());
    EXPECT_EQ(QFile::permissions(FCarpeta), permisos);
    // Neither the new folder nor the old one is left beside it.
    EXPECT_EQ(Vecinos(FCarpeta), QStringList{QStringLiteral("Senderal")});
}

TEST_F(ActualizadorTest, RefusedNewFoldersLeaveTheOldFolderAsItWas) {
    struct Caso {
        const char* nombre;
        std::function<QString(ActualizadorTest&)> nueva; // prepares it, gives its path
    };
    const Caso casos[] = {
        {"missing", [](ActualizadorTest& t) { return t.FNueva + QStringLiteral("-no"); }},
        {"not made for this folder",
         [](ActualizadorTest& t) {
             const QString otra = t.FRaiz->filePath(QStringLiteral("Otra"));
             QDir().rename(t.FNueva, otra);
             return otra;
         }},
        {"not beside the folder",
         [](ActualizadorTest& t) {
             const QString dentro = t.FCarpeta + QStringLiteral("/.Senderal-nueva-x");
             QDir().rename(t.FNueva, dentro);
             return dentro;
         }},
        {"without the program",
         [](ActualizadorTest& t) {
             QFile::remove(t.FNueva + QStringLiteral("/senderal"));
             return t.FNueva;
         }},
        {"program not executable",
         [](ActualizadorTest& t) {
             QFile::setPermissions(t.FNueva + QStringLiteral("/senderal"),
                                   QFile::ReadOwner | QFile::WriteOwner);
             return t.FNueva;
         }},
        {"a link to a folder",
         [](ActualizadorTest& t) {
             const QString otra = t.FRaiz->filePath(QStringLiteral("Otra"));
             QDir().rename(t.FNueva, otra);
             QFile::link(otra, t.FNueva);
             return t.FNueva;
         }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        SetUp();
        const QString nueva = c.nueva(*this);
        const auto antes = Contenido(FCarpeta);
        const QStringList vecinos = Vecinos(FCarpeta);
        QString error;
        EXPECT_FALSE(ReemplazarCarpeta(FPrograma, nueva, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(Contenido(FCarpeta), antes);
        EXPECT_EQ(Vecinos(FCarpeta), vecinos);
    }
}

TEST_F(ActualizadorTest, UpdaterWaitsForTheRunningProgramToEnd) {
    // A copy of `sleep` plays the running program: its process runs this very file.
    QFile::remove(FPrograma);
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), FPrograma));
    QProcess viejo;
    viejo.start(FPrograma, {QStringLiteral("1.5")});
    ASSERT_TRUE(viejo.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ProgramaEnEjecucion(FPrograma); }, 2000));

    const QString marca = FRaiz->filePath(QStringLiteral("arrancado"));
    Escribir(FNueva + QStringLiteral("/senderal"), ProgramaFalso(QStringLiteral("9.0.0.0"), marca),
             true);
    QProcess updater;
    updater.start(QStringLiteral(SENDERAL_APP_DIR "/Updater"), {FPrograma, FNueva});
    ASSERT_TRUE(updater.waitForStarted());
    QTest::qWait(500);
    EXPECT_EQ(updater.state(), QProcess::Running) << "the old program still runs";
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/libsenderal_ventana.so")), "modulo 1");

    ASSERT_TRUE(updater.waitForFinished(15000));
    EXPECT_EQ(updater.exitCode(), 0) << updater.readAllStandardError().toStdString();
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/libsenderal_ventana.so")), "modulo 9");
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/senderal.ini")), "[Config]\nIdioma=en.lng\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 5000))
        << "the new program never started";
    EXPECT_EQ(Leer(marca), "9.0.0.0\n");
    viejo.waitForFinished();
}

TEST_F(ActualizadorTest, UpdaterThatCannotSwapStartsTheOldProgramAgain) {
    const QString marca = FRaiz->filePath(QStringLiteral("arrancado"));
    Escribir(FPrograma, ProgramaFalso(QStringLiteral("1.0.0.0"), marca), true);
    QFile::remove(FNueva + QStringLiteral("/senderal")); // an unusable new folder
    const auto antes = Contenido(FCarpeta);

    QProcess updater;
    updater.start(QStringLiteral(SENDERAL_APP_DIR "/Updater"), {FPrograma, FNueva});
    ASSERT_TRUE(updater.waitForFinished(15000));
    EXPECT_EQ(updater.exitCode(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 5000))
        << "the old program was not started again";
    EXPECT_EQ(Leer(marca), "1.0.0.0\n");
    EXPECT_EQ(Contenido(FCarpeta), antes);
    // The new folder it could not use is gone; nothing else beside the program's.
    EXPECT_EQ(Vecinos(FCarpeta),
              (QStringList{QStringLiteral("Senderal"), QStringLiteral("arrancado")}));
}

TEST_F(ActualizadorTest, FoundDownloadedAndInstalledFromALocalServer) {
    // The whole road with a stand-in program: the check finds 9.0.0.0, the user says Yes,
    // the archive is fetched and unpacked beside the folder, the real Updater swaps the
    // folders and starts the new program.
    ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/Updater"),
                            FCarpeta + QStringLiteral("/Updater")));
    const QString marca = FRaiz->filePath(QStringLiteral("arrancado"));
    Escribir(FNueva + QStringLiteral("/senderal"), ProgramaFalso(QStringLiteral("9.0.0.0"), marca),
             true);
    ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/Updater"),
                            FNueva + QStringLiteral("/Updater")));
    QFile::remove(FNueva + QStringLiteral("/senderal.ini")); // as scripts/make-update packs
    const QString archivo = FRaiz->filePath(QStringLiteral("senderal.tar.gz"));
    ASSERT_TRUE(EmpaquetarCarpeta(archivo, FNueva));
    QDir(FNueva).removeRecursively();

    TServidorPrueba servidor;
    servidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.ver"), "// VERSION: 9.0.0.0\r\n");
    servidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.tar.gz"), Leer(archivo));
    TUiSi ui;
    TDatosActualizacion datos;
    datos.DireccionBase = servidor.base();
    datos.RutaPrograma = FPrograma;
    datos.CarpetaPrograma = FCarpeta + QLatin1Char('/');
    datos.CarpetaCache = datos.CarpetaPrograma + QStringLiteral("cache/");
    datos.VersionLocal = LeerVersion(QStringLiteral("1.0.0.0"));
    TBuscadorActualizaciones(datos, ui).ActionBuscarUpdatesExecute(false);

    EXPECT_TRUE(ui.advertencias.isEmpty()) << ui.advertencias.join('|').toStdString();
    EXPECT_TRUE(ui.terminado);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 15000))
        << "the new program never started";
    EXPECT_EQ(Leer(marca), "9.0.0.0\n");
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/libsenderal_ventana.so")), "modulo 9");
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/senderal.ini")), "[Config]\nIdioma=en.lng\n");
    EXPECT_EQ(Leer(FCarpeta + QStringLiteral("/fr.lng")), "langue ajoutée");
    EXPECT_FALSE(QFileInfo::exists(FCarpeta + QStringLiteral("/cache/senderal.tar.gz")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Vecinos(FCarpeta) == QStringList{QStringLiteral("Senderal"),
                                                    QStringLiteral("arrancado"),
                                                    QStringLiteral("senderal.tar.gz")};
        },
        5000))
        << Vecinos(FCarpeta).join('|').toStdString();
}
} // namespace
