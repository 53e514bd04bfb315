// The update archive: what is unpacked, what is refused before anything is written, and
// the version the unpacked program reports.
#include "CarpetaPrueba.h"
#include "Paquete.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace prueba;

namespace {
class PaqueteTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(FRaiz.isValid());
        FOrigen = FRaiz.filePath(QStringLiteral("origen"));
        FDestino = FRaiz.filePath(QStringLiteral("sub/destino"));
        FArchivo = FRaiz.filePath(QStringLiteral("senderal.tar.gz"));
        Escribir(FOrigen + QStringLiteral("/senderal"), ProgramaFalso(QStringLiteral("9.0.0.0")),
                 true);
        Escribir(FOrigen + QStringLiteral("/es.lng"), "textos");
        Escribir(FOrigen + QStringLiteral("/mapa/mapa.js"), "mapa");
        QDir().mkpath(FDestino);
    }
    bool Desempaquetar(QString* error) {
        return DesempaquetarActualizacion(FArchivo, FDestino, QStringLiteral("senderal"), error);
    }
    QTemporaryDir FRaiz;
    QString FOrigen, FDestino, FArchivo;
};

TEST_F(PaqueteTest, AProgramFolderIsUnpackedWhole) {
    ASSERT_TRUE(EmpaquetarCarpeta(FArchivo, FOrigen));
    QString error;
    ASSERT_TRUE(Desempaquetar(&error)) << error.toStdString();
    EXPECT_EQ(Contenido(FDestino), Contenido(FOrigen));
    EXPECT_TRUE(QFileInfo(FDestino + QStringLiteral("/senderal")).isExecutable());
    TNumeroVersion v;
    ASSERT_TRUE(VersionDeProgramaEn(FDestino + QStringLiteral("/senderal"), &v));
    EXPECT_EQ(TextoVersion(v), QStringLiteral("9.0.0.0"));
}

TEST_F(PaqueteTest, RefusedArchivesWriteNothingOutsideTheNewFolder) {
    // Where an escaping entry would land if it were unpacked.
    const QString fuera = FRaiz.filePath(QStringLiteral("sub/fuera"));
    struct Caso {
        const char* nombre;
        std::function<void(PaqueteTest&, const QString& fuera)> preparar;
        const char* motivo; // part of the message
    };
    const Caso casos[] = {
        {"not an archive",
         [](PaqueteTest& t, const QString&) { Escribir(t.FArchivo, "<html>404</html>"); },
         "no es una actualización válida"},
        {"cut short",
         [](PaqueteTest& t, const QString&) {
             QByteArray ruido(200000, '\0');
             for (int i = 0; i < ruido.size(); ++i)
                 ruido[i] = char((i * 2654435761u) >> 13);
             Escribir(t.FOrigen + QStringLiteral("/grande"), ruido);
             ASSERT_TRUE(EmpaquetarCarpeta(t.FArchivo, t.FOrigen));
             const QByteArray todo = Leer(t.FArchivo);
             Escribir(t.FArchivo, todo.left(todo.size() / 2));
         },
         "no es una actualización válida"},
        {"empty archive",
         [](PaqueteTest& t, const QString&) {
             ASSERT_TRUE(Empaquetar(t.FArchivo, {QStringLiteral("--files-from=/dev/null")}));
         },
         "no es una actualización válida"},
        {"without the program",
         [](PaqueteTest& t, const QString&) {
             QFile::remove(t.FOrigen + QStringLiteral("/senderal"));
             ASSERT_TRUE(EmpaquetarCarpeta(t.FArchivo, t.FOrigen));
         },
         "no contiene el programa senderal"},
        {"entry climbing out with ../",
         [](PaqueteTest& t, const QString&) {
             ASSERT_TRUE(
                 Empaquetar(t.FArchivo, {QStringLiteral("--directory=") + t.FOrigen,
                                         QStringLiteral("--transform=s,^es.lng$,../fuera,"),
                                         QStringLiteral("senderal"), QStringLiteral("es.lng")}));
         },
         "../fuera"},
        {"entry climbing out from inside a folder",
         [](PaqueteTest& t, const QString&) {
             ASSERT_TRUE(
                 Empaquetar(t.FArchivo, {QStringLiteral("--directory=") + t.FOrigen,
                                         QStringLiteral("--transform=s,^es.lng$,mapa/../../fuera,"),
                                         QStringLiteral("senderal"), QStringLiteral("es.lng")}));
         },
         "mapa/../../fuera"},
        {"absolute path",
         [](PaqueteTest& t, const QString& fuera) {
             Escribir(t.FOrigen + QStringLiteral("/abs"), "absoluto");
             ASSERT_TRUE(Empaquetar(
                 t.FArchivo, {QStringLiteral("--absolute-names"),
                              QStringLiteral("--transform=s,.*/abs$,") + fuera + QLatin1Char(','),
                              QStringLiteral("--directory=") + t.FOrigen,
                              QStringLiteral("senderal"), t.FOrigen + QStringLiteral("/abs")}));
         },
         "/sub/fuera"},
        {"link out of the folder",
         [](PaqueteTest& t, const QString& fuera) {
             QDir().mkpath(fuera);
             QFile::link(fuera, t.FOrigen + QStringLiteral("/enlace"));
             ASSERT_TRUE(EmpaquetarCarpeta(t.FArchivo, t.FOrigen));
             QDir(fuera).removeRecursively();
         },
         "enlace"},
        {"hard link",
         [](PaqueteTest& t, const QString&) {
             ::link(QFile::encodeName(t.FOrigen + QStringLiteral("/es.lng")).constData(),
                    QFile::encodeName(t.FOrigen + QStringLiteral("/duro")).constData());
             ASSERT_TRUE(EmpaquetarCarpeta(t.FArchivo, t.FOrigen));
         },
         "duro"},
        {"named pipe",
         [](PaqueteTest& t, const QString&) {
             ASSERT_EQ(
                 ::mkfifo(QFile::encodeName(t.FOrigen + QStringLiteral("/tubo")).constData(), 0600),
                 0);
             ASSERT_TRUE(EmpaquetarCarpeta(t.FArchivo, t.FOrigen));
         },
         "tubo"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        QDir(FOrigen).removeRecursively();
        QDir(FDestino).removeRecursively();
        QFile::remove(FArchivo);
        SetUp();
        c.preparar(*this, fuera);
        QString error;
        EXPECT_FALSE(Desempaquetar(&error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.motivo))) << error.toStdString();
        EXPECT_FALSE(QFileInfo::exists(fuera)) << "written outside the new folder";
        EXPECT_FALSE(QFileInfo(fuera).isSymLink());
    }
}

TEST_F(PaqueteTest, ProgramsThatReportNoVersionAreNotTakenForAnyVersion) {
    struct Caso {
        const char* nombre;
        QByteArray programa;
    };
    const Caso casos[] = {
        {"prints nothing", "#!/bin/sh\nexit 0\n"},
        {"fails", "#!/bin/sh\necho 'Senderal 9.0.0.0'\nexit 1\n"},
        {"prints something else", "#!/bin/sh\necho 'usage: senderal'\n"},
        {"not a number", "#!/bin/sh\necho 'Senderal nueve.0.0.0'\n"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        Escribir(FDestino + QStringLiteral("/senderal"), c.programa, true);
        TNumeroVersion v;
        EXPECT_FALSE(VersionDeProgramaEn(FDestino + QStringLiteral("/senderal"), &v));
    }
    TNumeroVersion v;
    EXPECT_FALSE(VersionDeProgramaEn(FDestino + QStringLiteral("/no-existe"), &v));
}
} // namespace
