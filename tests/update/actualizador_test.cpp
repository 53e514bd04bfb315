// The updater: replacing the program file safely, and the whole hand-over against a
// local server with the real Updater program.
#include "Actualizador.h"
#include "BuscadorActualizaciones.h"
#include "ServidorPrueba.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}

void escribir(const QString& ruta, const QByteArray& datos, bool ejecutable = false) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(datos);
    f.close();
    if (ejecutable)
        f.setPermissions(f.permissions() | QFile::ExeOwner);
}

// A new program that leaves a mark when it starts.
QByteArray programaNuevo(const QString& marca) {
    return "#!/bin/sh\necho nuevo > \"" + marca.toUtf8() + "\"\n";
}

class ActualizadorTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        FPrograma = FDir.filePath(QStringLiteral("senderal"));
        FNuevo = FDir.filePath(QStringLiteral("cache/senderal.ex"));
        QDir().mkpath(FDir.filePath(QStringLiteral("cache")));
        escribir(FPrograma, "#!/bin/sh\necho viejo\n", true);
    }
    QTemporaryDir FDir;
    QString FPrograma;
    QString FNuevo;
};

TEST_F(ActualizadorTest, PutsTheNewFileInPlaceAndKeepsTheOld) {
    escribir(FNuevo, "programa nuevo");
    escribir(FDir.filePath(QStringLiteral("senderal.old")), "de la vez anterior");
    QString error;
    ASSERT_TRUE(ReemplazarPrograma(FPrograma, FNuevo, &error)) << error.toStdString();
    EXPECT_EQ(leer(FPrograma), QByteArray("programa nuevo"));
    EXPECT_TRUE(QFileInfo(FPrograma).isExecutable());
    EXPECT_EQ(leer(FDir.filePath(QStringLiteral("senderal.old"))),
              QByteArray("#!/bin/sh\necho viejo\n"));
    EXPECT_FALSE(QFile::exists(FPrograma + QStringLiteral(".new")));
}

TEST_F(ActualizadorTest, BadNewFilesLeaveTheOldProgramInPlace) {
    struct Caso {
        const char* nombre;
        std::function<void(ActualizadorTest&)> preparar;
    };
    const Caso casos[] = {
        {"new file missing", [](ActualizadorTest&) {}},
        {"new file empty", [](ActualizadorTest& t) { escribir(t.FNuevo, QByteArray()); }},
        {"new file is a folder", [](ActualizadorTest& t) { QDir().mkpath(t.FNuevo); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        SetUp();
        QFile::remove(FNuevo);
        QDir(FNuevo).removeRecursively();
        c.preparar(*this);
        QString error;
        EXPECT_FALSE(ReemplazarPrograma(FPrograma, FNuevo, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(leer(FPrograma), QByteArray("#!/bin/sh\necho viejo\n"));
        EXPECT_TRUE(QFileInfo(FPrograma).isExecutable());
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

    const QString marca = FDir.filePath(QStringLiteral("arrancado"));
    escribir(FNuevo, programaNuevo(marca));
    QProcess updater;
    updater.start(QStringLiteral(SENDERAL_APP_DIR "/Updater"), {FPrograma, FNuevo});
    ASSERT_TRUE(updater.waitForStarted());
    QTest::qWait(500);
    EXPECT_EQ(updater.state(), QProcess::Running) << "the old program still runs";
    EXPECT_NE(leer(FPrograma), programaNuevo(marca));

    ASSERT_TRUE(updater.waitForFinished(15000));
    EXPECT_EQ(updater.exitCode(), 0) << updater.readAllStandardError().toStdString();
    EXPECT_EQ(leer(FPrograma), programaNuevo(marca));
    EXPECT_TRUE(QFileInfo::exists(FDir.filePath(QStringLiteral("senderal.old"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 5000))
        << "the new program never started";
    viejo.waitForFinished();
}

TEST_F(ActualizadorTest, FoundDownloadedAndInstalledFromALocalServer) {
    // The whole road: the check finds 9.0.0.0, the user says Yes, the file is fetched,
    // the real Updater replaces the program and starts the new one.
    ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/Updater"),
                            FDir.filePath(QStringLiteral("Updater"))));
    const QString marca = FDir.filePath(QStringLiteral("arrancado"));
    TServidorPrueba servidor;
    servidor.Poner(QStringLiteral("/AppUpdates/senderal.ver"), "// VERSION: 9.0.0.0\r\n");
    servidor.Poner(QStringLiteral("/AppUpdates/senderal.ex"), programaNuevo(marca));

    struct TUi : TInterfazActualizacion {
        bool terminado = false;
        bool PanelArrastreVisible() const override { return false; }
        void MostrarPanelUpdate(bool) override {}
        void MostrarPanelArrastre() override {}
        void Informar(const QString&) override { ADD_FAILURE() << "no update found"; }
        void Advertir(const QString& t) override { ADD_FAILURE() << t.toStdString(); }
        bool Preguntar(const QString&) override { return true; }
        void TextoEstadoVersion(const QString&) override {}
        void AbrirDireccion(const QString&) override {}
        void Log(const QString&) override {}
        void TerminarPrograma() override { terminado = true; }
    } ui;
    TDatosActualizacion datos;
    datos.DireccionBase = servidor.Base();
    datos.RutaPrograma = FPrograma;
    datos.CarpetaPrograma = FDir.path() + QLatin1Char('/');
    datos.CarpetaCache = datos.CarpetaPrograma + QStringLiteral("cache/");
    datos.VersionLocal = LeerVersion(QStringLiteral("1.0.0.0"));
    TBuscadorActualizaciones(datos, ui).ActionBuscarUpdatesExecute(false);

    EXPECT_TRUE(ui.terminado);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marca); }, 15000))
        << "the new program never started";
    EXPECT_EQ(leer(FPrograma), programaNuevo(marca));
    EXPECT_EQ(leer(FDir.filePath(QStringLiteral("senderal.old"))),
              QByteArray("#!/bin/sh\necho viejo\n"));
}
} // namespace
