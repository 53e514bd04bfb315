#include "Actualizador.h"
#include "BuscadorActualizaciones.h"
#include "CarpetaPrueba.h"
#include "Descarga.h"
#include "SenderalError.h"
#include "ServidorPrueba.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Records what the check asks of the window; answers questions with `Respuesta`.
class TUiPrueba : public TInterfazActualizacion {
  public:
    bool Respuesta = false;
    bool Arrastre = true;
    bool PanelUpdate = false;
    bool ArrastreMostrado = false;
    bool Terminado = false;
    QStringList Informes, Advertencias, Preguntas, Estados, Direcciones, Lineas;

    bool PanelArrastreVisible() const override { return Arrastre; }
    void MostrarPanelUpdate(bool mostrar) override { PanelUpdate = mostrar; }
    void MostrarPanelArrastre() override { ArrastreMostrado = true; }
    void Informar(const QString& texto) override { Informes << texto; }
    void Advertir(const QString& texto) override { Advertencias << texto; }
    bool Preguntar(const QString& texto) override {
        Preguntas << texto;
        EXPECT_TRUE(PanelUpdate); // the info panel shows while the check runs
        return Respuesta;
    }
    void TextoEstadoVersion(const QString& texto) override { Estados << texto; }
    void AbrirDireccion(const QString& d) override { Direcciones << d; }
    void Log(const QString& linea) override { Lineas << linea; }
    void TerminarPrograma() override { Terminado = true; }
};

class BuscadorTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(FCarpeta.isValid());
        // The program folder lies inside the temporary folder, so the new folder made
        // beside it is removed with it.
        FApp = FCarpeta.filePath(QStringLiteral("app"));
        QDir().mkpath(FApp);
        FDatos.DireccionBase = FServidor.base();
        FDatos.RutaPrograma = FApp + QStringLiteral("/senderal");
        FDatos.CarpetaPrograma = FApp + QLatin1Char('/');
        FDatos.CarpetaCache = FDatos.CarpetaPrograma + QStringLiteral("cache/");
        FDatos.VersionLocal = LeerVersion(QStringLiteral("1.0.0.5"));
        FDatos.Locale = QLocale(QLocale::Spanish, QLocale::Spain);
        FDatos.EsperaMs = 2000;
    }
    void Publicar(const QByteArray& ver) {
        FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.ver"), ver);
    }
    void Buscar(bool silencioso = false) {
        TBuscadorActualizaciones b(FDatos, FUi);
        b.ActionBuscarUpdatesExecute(silencioso);
    }
    // The stand-in updater writes its two arguments into a file.
    QString PonerActualizadorFalso() {
        const QString salida = FCarpeta.filePath(QStringLiteral("argumentos.txt"));
        QFile f(FApp + QStringLiteral("/Updater"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nprintf '%s\\n%s\\n' \"$1\" \"$2\" > \"" + salida.toUtf8() +
                ".tmp\"\n"
                "mv \"" +
                salida.toUtf8() + ".tmp\" \"" + salida.toUtf8() + "\"\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
        return salida;
    }

    // Publishes the archive of a program folder whose program reports `version`, with a
    // big file in it so the download takes several blocks.
    void PublicarPrograma(const QString& version) {
        const QString origen = FCarpeta.filePath(QStringLiteral("origen"));
        QDir(origen).removeRecursively();
        prueba::Escribir(origen + QStringLiteral("/senderal"), prueba::ProgramaFalso(version),
                         true);
        QByteArray datos(70000, 'x');
        for (int i = 0; i < datos.size(); ++i)
            datos[i] = char(i * 7 % 251);
        prueba::Escribir(origen + QStringLiteral("/datos.bin"), datos);
        const QString archivo = FCarpeta.filePath(QStringLiteral("senderal.tar.gz"));
        ASSERT_TRUE(prueba::EmpaquetarCarpeta(archivo, origen));
        FServidor.ponerFichero(QStringLiteral("/AppUpdates/senderal.tar.gz"),
                               prueba::Leer(archivo));
    }

    QTemporaryDir FCarpeta;
    QString FApp;
    TServidorPrueba FServidor;
    TDatosActualizacion FDatos;
    TUiPrueba FUi;
};

TEST_F(BuscadorTest, PublishedVersionDecidesWhetherAnUpdateIsOffered) {
    struct Caso {
        const char* nombre;
        const char* local;
        const char* publicada;
        bool ofrecida;
    };
    const Caso casos[] = {
        {"same version", "1.0.0.5", "1.0.0.5", false},
        {"newer build", "1.0.0.5", "1.0.0.6", true},
        {"1.1 reads as 1.0.0.0", "1.0.0.5", "1.1", false},
        {"newer major", "1.0.0.5", "2.0.0.0", true},
        {"program without version", "0.0.0.0", "0.0.0.1", true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        FUi = TUiPrueba();
        FDatos.VersionLocal = LeerVersion(QString::fromUtf8(c.local));
        Publicar(QByteArray("// VERSION: ") + c.publicada + "\r\n// DATE: 1/3/26\r\n");
        Buscar();
        EXPECT_EQ(FUi.Preguntas.size(), c.ofrecida ? 1 : 0);
        EXPECT_EQ(FUi.Informes.size(), c.ofrecida ? 0 : 1);
        EXPECT_EQ(FUi.Lineas.contains(QStringLiteral("Ya está actualizado")), !c.ofrecida);
        EXPECT_FALSE(FUi.PanelUpdate);
        EXPECT_TRUE(FUi.ArrastreMostrado);
    }
}

TEST_F(BuscadorTest, UpToDateReportTextAndSilentStartUp) {
    Publicar("// VERSION: 1.0.0.5\r\n");
    Buscar();
    ASSERT_EQ(FUi.Informes.size(), 1);
    EXPECT_EQ(FUi.Informes[0],
              QStringLiteral("Senderal  v. 1.0.0.5\r\nNo hay ninguna actualización "
                             "disponible para la aplicación."));

    FUi = TUiPrueba();
    Buscar(true);
    EXPECT_TRUE(FUi.Informes.isEmpty());
    const int i = FUi.Lineas.indexOf(QStringLiteral("Encontrada info de version..."));
    ASSERT_GE(i, 0);
    EXPECT_EQ(FUi.Lineas.mid(i, 6),
              (QStringList{QStringLiteral("Encontrada info de version..."),
                           QStringLiteral("Versión: 1.0.0.5"), QStringLiteral("Autor: "),
                           QStringLiteral("Web: "), QStringLiteral("Fecha: "),
                           QStringLiteral("Ya está actualizado")}));
    EXPECT_TRUE(FUi.Lineas.contains(QStringLiteral("SourceFile: senderal.ver")));
}

TEST_F(BuscadorTest, NoAnswerShowsStatusAndLogsCancel) {
    Publicar("// VERSION: 1.0.0.6\r\n// DATE: 1/3/26\r\n");
    FUi.Respuesta = false;
    Buscar();
    ASSERT_EQ(FUi.Preguntas.size(), 1);
    EXPECT_EQ(FUi.Preguntas[0], QStringLiteral("Existe una versión nueva en la web:\r\nVersión: "
                                               "1.0.0.6\r\nFecha:  1/3/26\r\n\r\n¿Desea "
                                               "descargarla?"));
    EXPECT_EQ(FUi.Estados, QStringList{QStringLiteral("Existe versión nueva...")});
    EXPECT_EQ(FUi.Lineas.last(), QStringLiteral("Descarga cancelada."));
    EXPECT_FALSE(FServidor.rutasPedidas().contains(QStringLiteral("/AppUpdates/senderal.tar.gz")));
}

TEST_F(BuscadorTest, YesWithANoticeOpensItsPageAndDownloadsNothing) {
    Publicar("// VERSION: 1.0.0.6\r\n// DATE: 1/3/26\r\n// AVISO: Cambia el 100% de %s\r\n"
             "// AVISOWEB: https://senderal.example/aviso\r\n");
    FUi.Respuesta = true;
    Buscar();
    ASSERT_EQ(FUi.Preguntas.size(), 1);
    // The notice keeps its leading blank and its "%" signs stay text.
    EXPECT_TRUE(FUi.Preguntas[0].endsWith(QStringLiteral("AVISO:  Cambia el 100% de %s")))
        << FUi.Preguntas[0].toStdString();
    EXPECT_TRUE(FUi.Preguntas[0].contains(QStringLiteral("Versión: 1.0.0.6\r\nFecha:  1/3/26")));
    EXPECT_EQ(FUi.Direcciones, QStringList{QStringLiteral(" https://senderal.example/aviso")});
    EXPECT_EQ(FServidor.rutasPedidas(), QStringList{QStringLiteral("/AppUpdates/senderal.ver")});
    EXPECT_FALSE(FUi.Terminado);
}

TEST_F(BuscadorTest, YesDownloadsAndHandsOverToTheUpdater) {
    Publicar("// VERSION: 1.0.0.6\r\n");
    PublicarPrograma(QStringLiteral("1.0.0.6"));
    const QString argumentos = PonerActualizadorFalso();
    QFile viejo(FApp + QStringLiteral("/senderal.old"));
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.close();
    FUi.Respuesta = true;

    Buscar();

    EXPECT_TRUE(FUi.Advertencias.isEmpty()) << FUi.Advertencias.join('|').toStdString();
    EXPECT_TRUE(FUi.Lineas.contains(QStringLiteral("Fichero descargado correctamente...")));
    EXPECT_TRUE(FUi.Terminado);
    EXPECT_FALSE(QFile::exists(viejo.fileName()));
    // The archive is not kept once unpacked.
    EXPECT_FALSE(QFile::exists(FDatos.CarpetaCache + QStringLiteral("senderal.tar.gz")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(argumentos); }, 5000))
        << "the updater never started";
    const QStringList dados = QString::fromUtf8(prueba::Leer(argumentos)).split(QLatin1Char('\n'));
    ASSERT_EQ(dados.size(), 3);
    EXPECT_EQ(dados[0], FDatos.RutaPrograma);
    // The second is the new folder, beside the program's and holding the whole archive.
    EXPECT_TRUE(EsCarpetaNueva(FApp, dados[1])) << dados[1].toStdString();
    EXPECT_EQ(prueba::Contenido(dados[1]),
              prueba::Contenido(FCarpeta.filePath(QStringLiteral("origen"))));
    // The download asked the server, not a cache.
    EXPECT_TRUE(FServidor.peticiones.last().cabeza.contains("no-cache"));
    EXPECT_TRUE(FServidor.peticiones.last().cabeza.contains("User-Agent: agent"));
}

TEST_F(BuscadorTest, MissingUpdaterLeavesTheProgramRunningWithAnError) {
    Publicar("// VERSION: 1.0.0.6\r\n");
    PublicarPrograma(QStringLiteral("1.0.0.6"));
    FUi.Respuesta = true;
    EXPECT_THROW(Buscar(), ESenderalError);
    EXPECT_FALSE(FUi.Terminado);
    EXPECT_FALSE(FUi.PanelUpdate);
    // The folder unpacked for the updater is not left behind.
    EXPECT_EQ(prueba::Vecinos(FApp), (QStringList{QStringLiteral("app"), QStringLiteral("origen"),
                                                  QStringLiteral("senderal.tar.gz")}));
}

TEST_F(BuscadorTest, FailedDownloadOfTheProgramSaysWhyAndChangesNothing) {
    Publicar("// VERSION: 1.0.0.6\r\n"); // no senderal.tar.gz on the server: 404
    PonerActualizadorFalso();
    FUi.Respuesta = true;
    Buscar();
    EXPECT_TRUE(FUi.Lineas.contains(QStringLiteral("No se ha podido descargar el fichero.")));
    EXPECT_FALSE(FUi.Terminado);
    EXPECT_FALSE(QFile::exists(FDatos.CarpetaCache + QStringLiteral("senderal.tar.gz")));
    ASSERT_EQ(FUi.Advertencias.size(), 1);
    EXPECT_TRUE(FUi.Advertencias[0].contains(QStringLiteral("estado HTTP 404")))
        << FUi.Advertencias[0].toStdString();
    EXPECT_TRUE(FUi.Advertencias[0].contains(QStringLiteral("El programa sigue como estaba.")));
    EXPECT_EQ(prueba::Vecinos(FApp), QStringList{QStringLiteral("app")});
}

TEST_F(BuscadorTest, FailuresSayWhyAndNeverClaimThereIsNoUpdate) {
    struct Caso {
        const char* nombre;
        std::function<void(BuscadorTest&)> preparar;
        const char* motivo; // part of the warning the user sees
    };
    const Caso casos[] = {
        {"version file missing (404)", [](BuscadorTest&) {}, "estado HTTP 404"},
        {"server down",
         [](BuscadorTest& t) { t.FDatos.DireccionBase = QStringLiteral("http://127.0.0.1:1/"); },
         "rechazado la conexión"},
        {"garbage answer", [](BuscadorTest& t) { t.FServidor.modo(TRespuestaPrueba::Basura); },
         "No se ha podido consultar el servidor de actualizaciones."},
        {"server that never answers",
         [](BuscadorTest& t) {
             t.FServidor.modo(TRespuestaPrueba::Colgar);
             t.FDatos.EsperaMs = 300;
         },
         "no ha respondido a tiempo"},
        {"no update address configured", [](BuscadorTest& t) { t.FDatos.DireccionBase.clear(); },
         "No hay ninguna dirección de actualizaciones configurada"},
        {"plain http to another host",
         [](BuscadorTest& t) {
             t.FDatos.DireccionBase = QStringLiteral("http://updates.example/");
         },
         "no es segura"},
    };
    for (const auto& c : casos) {
        for (const bool silencioso : {false, true}) {
            SCOPED_TRACE(std::string(c.nombre) + (silencioso ? ", start-up" : ", asked"));
            SetUp();
            FServidor.modo(TRespuestaPrueba::Normal);
            FUi = TUiPrueba();
            c.preparar(*this);
            Buscar(silencioso);
            EXPECT_TRUE(FUi.Lineas.contains(QStringLiteral("No se encuentra actualizacion")));
            // Nothing was checked: "no update available" would be a false claim.
            EXPECT_TRUE(FUi.Informes.isEmpty()) << FUi.Informes.join('|').toStdString();
            EXPECT_TRUE(FUi.Preguntas.isEmpty());
            EXPECT_FALSE(FUi.PanelUpdate);
            if (silencioso) {
                EXPECT_TRUE(FUi.Advertencias.isEmpty());
                continue;
            }
            ASSERT_EQ(FUi.Advertencias.size(), 1);
            EXPECT_TRUE(FUi.Advertencias[0].contains(QString::fromUtf8(c.motivo)))
                << FUi.Advertencias[0].toStdString();
        }
    }
}

TEST_F(BuscadorTest, UnreadableVersionFailsAfterPuttingThePanelsBack) {
    Publicar("// VERSION: uno.0.0.0\r\n");
    EXPECT_THROW(Buscar(), ESenderalError);
    EXPECT_FALSE(FUi.PanelUpdate);
    EXPECT_TRUE(FUi.ArrastreMostrado);
}

// The drop panel comes back after a check only when it was showing: with a track on
// screen it stays hidden, however the check ended.
TEST_F(BuscadorTest, ATrackOnScreenIsNotCoveredByTheDropPanelAfterACheck) {
    const struct {
        const char* guarda;
        const char* ver;
        bool lanza;
    } casos[] = {{"up to date", "// VERSION: 1.0.0.5\r\n", false},
                 {"an update declined", "// VERSION: 1.0.0.6\r\n// DATE: 1/3/26\r\n", false},
                 {"an unreadable version", "// VERSION: uno.0.0.0\r\n", true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        FUi = TUiPrueba();
        FUi.Arrastre = false;
        Publicar(c.ver);
        if (c.lanza)
            EXPECT_THROW(Buscar(), ESenderalError);
        else
            Buscar();
        EXPECT_FALSE(FUi.PanelUpdate);
        EXPECT_FALSE(FUi.ArrastreMostrado);
    }
}

TEST(DireccionActualizacionAdmitida, OnlyHttpsOrLocalHttp) {
    EXPECT_TRUE(DireccionActualizacionAdmitida(QUrl(QStringLiteral("https://x.example/a.ver"))));
    EXPECT_TRUE(DireccionActualizacionAdmitida(QUrl(QStringLiteral("http://127.0.0.1:8080/a"))));
    EXPECT_FALSE(DireccionActualizacionAdmitida(QUrl(QStringLiteral("http://x.example/a.ver"))));
    EXPECT_FALSE(DireccionActualizacionAdmitida(QUrl(QStringLiteral("file:///etc/passwd"))));
    EXPECT_FALSE(DireccionActualizacionAdmitida(QUrl(QStringLiteral("ftp://x.example/a"))));
}

TEST(DescargarFichero, UnwritableTargetFailsWithoutAsking) {
    TServidorPrueba servidor;
    servidor.ponerFichero(QStringLiteral("/f"), "datos");
    QString error;
    EXPECT_FALSE(DescargarFichero(QUrl(servidor.base() + QStringLiteral("f")),
                                  QStringLiteral("/nonexistent-folder/f"), 2000, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(servidor.rutasPedidas().isEmpty());
}
} // namespace
