// The map page against a tile server of its own on 127.0.0.1, named in the settings file.
//
// Each run of the program is a child process (this same test program, running the test
// VentanaHija): the tiles kept on disk must outlive the program that fetched them.
#include "AppPaths.h"
#include "Configuracion.h"
#include "FormData.h"
#include "FormMain.h"
#include "NavegadorMapa.h"
#include "PaginaGoogleMaps.h"
#include "PanelGrafico.h"
#include "ServidorPrueba.h"
#include "TeselasMapa.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {
const QColor kColorTesela(40, 170, 90);

// Pixels of the tile colour in a picture, counted on a grid of every other pixel.
int pixelesTesela(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - kColorTesela.red()) < 16 &&
                 std::abs(c.green() - kColorTesela.green()) < 16 &&
                 std::abs(c.blue() - kColorTesela.blue()) < 16;
        }
    return n;
}

int pixelesRojos(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    return n;
}

// A tile server: every path gets a tile of one colour, or the refusal `estado`.
class TServidorTeselas : public TServidorPrueba {
  public:
    explicit TServidorTeselas(int estado) {
        TRespuestaPrueba r;
        r.estado = estado;
        if (estado == 200) {
            QImage tile(256, 256, QImage::Format_RGB32);
            tile.fill(kColorTesela);
            QBuffer b(&r.cuerpo);
            b.open(QIODevice::WriteOnly);
            tile.save(&b, "PNG");
            r.cabecera("Content-Type", "image/png");
            r.cabecera("Cache-Control", "public, max-age=86400");
        } else {
            r.cuerpo = "Access blocked\n";
            r.cabecera("Content-Type", "text/plain");
        }
        responderResto(r);
    }
    QString Plantilla() const { return base() + QStringLiteral("{z}/{x}/{y}.png"); }
};

// What a run of the program is asked to show.
struct TEjecucion {
    QString modo; // "teselas", "sinred" or "rechazo"
    QString plantilla;
    QString cache;
    QString imagen;
    QString idioma; // language file, empty for the built-in texts
};

class ServidorTeselas : public ::testing::Test {
  protected:
    // Runs the program once; true when it ended and its own checks passed.
    bool ejecutar(const TEjecucion& e, QString& salida) {
        QProcess hijo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SENDERAL_PRUEBA_MODO", e.modo);
        env.insert("SENDERAL_PRUEBA_PLANTILLA", e.plantilla);
        env.insert("SENDERAL_PRUEBA_CARPETA", dir.filePath("programa"));
        env.insert("SENDERAL_PRUEBA_CACHE", e.cache);
        env.insert("SENDERAL_PRUEBA_IMAGEN", e.imagen);
        env.insert("SENDERAL_PRUEBA_IDIOMA", e.idioma);
        hijo.setProcessEnvironment(env);
        hijo.setProcessChannelMode(QProcess::MergedChannels);
        hijo.start(QCoreApplication::applicationFilePath(),
                   {"--gtest_filter=ServidorTeselas.VentanaHija"});
        // The server answers from this process's event loop while the child runs.
        const bool terminado =
            QTest::qWaitFor([&] { return hijo.state() == QProcess::NotRunning; }, 120000);
        if (!terminado) {
            hijo.kill();
            hijo.waitForFinished(5000);
        }
        salida = QString::fromLocal8Bit(hijo.readAll());
        return terminado && hijo.exitStatus() == QProcess::NormalExit && hijo.exitCode() == 0;
    }

    QTemporaryDir dir;
};

QVariant js(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        ADD_FAILURE() << "the page did not answer: " << script.toStdString();
    return result;
}

QString textoAviso(QWebEnginePage* page, const char* clase) {
    return js(page, QStringLiteral("(function(){var l=document.querySelector("
                                   "'#senderal-avisos [data-clase=\"%1\"]');"
                                   "return l ? l.textContent : '';})()")
                        .arg(QLatin1String(clase)))
        .toString();
}
} // namespace

// One run of the program, started by the tests below; skipped when run on its own.
TEST_F(ServidorTeselas, VentanaHija) {
    const QString modo = qEnvironmentVariable("SENDERAL_PRUEBA_MODO");
    if (modo.isEmpty())
        GTEST_SKIP() << "run by the other tests of this file";
    const QString carpeta = qEnvironmentVariable("SENDERAL_PRUEBA_CARPETA");
    const QString imagen = qEnvironmentVariable("SENDERAL_PRUEBA_IMAGEN");
    const QString idioma = qEnvironmentVariable("SENDERAL_PRUEBA_IDIOMA");

    // A program folder with what a load needs, and settings naming the tile server.
    for (const char* f : {"GpxDS.dll", "mapa/senderal-mapa.js", "mapa/leaflet.css", "en.lng",
                          "samples/Montseny.gpx"}) {
        const QString target = QDir(carpeta).filePath(QString::fromLatin1(f));
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::exists(target)) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/") + f, target)) << f;
        }
    }
    SetAppDirOverride(carpeta);
    SetCarpetaCacheMapaOverride(qEnvironmentVariable("SENDERAL_PRUEBA_CACHE"));
    {
        QFile ini(FicheroConfiguracion());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Config]\r\nRelieveTeselas=" +
                  qEnvironmentVariable("SENDERAL_PRUEBA_PLANTILLA").toUtf8() +
                  "\r\ncbConfigUpdateInicio_Checked=False\r\n");
        if (!idioma.isEmpty())
            ini.write("Idioma=" + idioma.toUtf8() + "\r\n");
        if (modo == "sinred") // and a template that cannot be used, for another type
            ini.write("MapaTeselas=ftp://tiles.example.org/{z}/{x}/{y}.png\r\n");
    }
    QDir().mkpath(CacheDir());

    QStringList errores;
    auto recoger = [&errores](const QString& t) { errores << t; };
    {
        TFMain window(QStringList{QStringLiteral("senderal")});
        TFormData data(window.Log);
        window.SetFormData(&data);
        window.MensajeError = recoger;
        window.MensajeAviso = recoger;
        window.MensajeInfo = [](const QString&) {};
        window.MensajePregunta = [](const QString&) { return false; };
        TFMain::ManejadorErrorGlobal = recoger;
        window.DialogoGuardar = [&imagen](const QString&, const QStringList&, int, const QString&,
                                          const QString&) { return imagen; };
        window.resize(1000, 700);
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.DoneVisualization; }, 20000));
        errores.clear(); // start-up's own complaints (no format catalogue here) are not ours

        QWebEngineView* view = window.PaginaGoogleMaps->wbMapaGoogle;
        QSignalSpy cargado(view, &QWebEngineView::loadFinished);
        window.CargarRuta(QDir(carpeta).filePath("samples/Montseny.gpx"));
        // The map loads when its page is opened.
        window.ActionVerGraficoMaps->trigger();
        ASSERT_TRUE(cargado.wait(30000));

        auto vista = [view] { return view->grab().toImage(); };
        if (modo == "teselas") {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return pixelesTesela(vista()) > view->width() * view->height() / 8; }, 30000))
                << "the tiles of the local server are not drawn";
            EXPECT_EQ(textoAviso(view->page(), "sinteselas").toStdString(), "")
                << "tiles that show bring no note";
        } else if (modo == "sinred") {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !textoAviso(view->page(), "sinteselas").isEmpty(); }, 30000));
            EXPECT_EQ(textoAviso(view->page(), "sinteselas").toStdString(),
                      "The map tiles could not be loaded (offline?); the route is shown all "
                      "the same.");
            EXPECT_TRUE(QTest::qWaitFor([&] { return pixelesRojos(vista()) > 50; }, 10000))
                << "the route is still drawn";
            const QString plantilla = textoAviso(view->page(), "config0");
            EXPECT_TRUE(plantilla.startsWith("The tile template of MapaTeselas is not usable"))
                << plantilla.toStdString();
            // The map type buttons speak the user's language; the names the page reads
            // back for the settings stay the program's own.
            EXPECT_EQ(js(view->page(), "Array.from(document.querySelectorAll('.senderal-tipos a'))"
                                       ".map(function(a){return a.textContent;}).join('|')")
                          .toString()
                          .toStdString(),
                      "Terrain|Map|Satellite|Hybrid");
            EXPECT_EQ(
                js(view->page(), "map.getCurrentMapType().getName()").toString().toStdString(),
                "Relieve");
        } else if (modo == "rechazo") {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !textoAviso(view->page(), "rechazo").isEmpty(); }, 30000));
            const QString aviso = textoAviso(view->page(), "rechazo");
            EXPECT_TRUE(aviso.contains("HTTP 403")) << aviso.toStdString();
            EXPECT_TRUE(aviso.contains("127.0.0.1")) << aviso.toStdString();
            EXPECT_EQ(textoAviso(view->page(), "sinteselas").toStdString(), "")
                << "the refusal replaces the offline note";
            EXPECT_EQ(js(view->page(), "document.querySelectorAll('#senderal-avisos > div').length")
                          .toInt(),
                      1)
                << "said once";
        }
        QTest::qWait(300);
        window.ActionGrabarImagen->trigger();
        EXPECT_TRUE(QFile::exists(imagen));
        EXPECT_TRUE(errores.isEmpty()) << errores.join('\n').toStdString();
        delete window.PanelGrafico;
        window.PanelGrafico = nullptr;
    }
    TFMain::ManejadorErrorGlobal = nullptr;
}

TEST_F(ServidorTeselas, TilesFromTheSettingsNameTheProgramAndShowAgainWithTheServerStopped) {
    ASSERT_TRUE(dir.isValid());
    TServidorTeselas servidor(200);
    ASSERT_TRUE(servidor.escuchando());
    const QString cache = dir.filePath("cache-usuario");
    QString salida;

    TEjecucion primera{
        "teselas", servidor.Plantilla(), cache, dir.filePath("con-servidor.png"), {}};
    ASSERT_TRUE(ejecutar(primera, salida)) << salida.toStdString();
    const QImage con(primera.imagen);
    ASSERT_FALSE(con.isNull());
    EXPECT_GT(pixelesTesela(con), con.width() * con.height() / 8);

    ASSERT_FALSE(servidor.peticiones.isEmpty());
    int teselas = 0;
    for (const TPeticionRecibida& p : servidor.peticiones) {
        SCOPED_TRACE(p.ruta.toStdString());
        EXPECT_EQ(p.cabeceras.value("user-agent"), AgenteUsuarioMapa().toUtf8());
        EXPECT_TRUE(p.cabeceras.value("user-agent").startsWith("Senderal/"));
        EXPECT_EQ(p.cabeceras.value("referer"), "https://senderal.org/");
        teselas += p.ruta.endsWith(".png");
    }
    EXPECT_GT(teselas, 1);
    if (const char* out = std::getenv("SENDERAL_PRUEBA_GUARDAR")) {
        QDir().mkpath(out);
        QFile::copy(primera.imagen, QDir(out).filePath("con-servidor.png"));
        QFile cab(QDir(out).filePath("cabeceras.txt"));
        if (cab.open(QIODevice::WriteOnly))
            for (const TPeticionRecibida& p : servidor.peticiones)
                cab.write("GET " + p.ruta + "\n  User-Agent: " + p.cabeceras.value("user-agent") +
                          "\n  Referer: " + p.cabeceras.value("referer") + "\n");
    }

    servidor.parar();
    const qsizetype antes = servidor.peticiones.size();
    TEjecucion segunda{"teselas", primera.plantilla, cache, dir.filePath("sin-servidor.png"), {}};
    ASSERT_TRUE(ejecutar(segunda, salida)) << salida.toStdString();
    const QImage sin(segunda.imagen);
    ASSERT_FALSE(sin.isNull());
    EXPECT_GT(pixelesTesela(sin), sin.width() * sin.height() / 8)
        << "the tiles seen before come from the disk";
    EXPECT_EQ(servidor.peticiones.size(), antes);
    if (const char* out = std::getenv("SENDERAL_PRUEBA_GUARDAR"))
        QFile::copy(segunda.imagen, QDir(out).filePath("sin-servidor.png"));
}

TEST_F(ServidorTeselas, WithoutServerNorTilesOnDiskTheNoteIsInTheUsersLanguage) {
    ASSERT_TRUE(dir.isValid());
    TServidorTeselas servidor(200);
    ASSERT_TRUE(servidor.escuchando());
    const QString plantilla = servidor.Plantilla();
    servidor.parar(); // a port nobody answers on
    QString salida;
    TEjecucion e{"sinred", plantilla, dir.filePath("cache-vacia"), dir.filePath("sin-red.png"),
                 "en.lng"};
    ASSERT_TRUE(ejecutar(e, salida)) << salida.toStdString();
    if (const char* out = std::getenv("SENDERAL_PRUEBA_GUARDAR"))
        QFile::copy(e.imagen, QDir(out).filePath("sin-red.png"));
}

TEST_F(ServidorTeselas, AServerThatRefusesIsSaidOnce) {
    ASSERT_TRUE(dir.isValid());
    TServidorTeselas servidor(403);
    ASSERT_TRUE(servidor.escuchando());
    QString salida;
    TEjecucion e{"rechazo",
                 servidor.Plantilla(),
                 dir.filePath("cache-rechazo"),
                 dir.filePath("rechazo.png"),
                 {}};
    ASSERT_TRUE(ejecutar(e, salida)) << salida.toStdString();
    EXPECT_FALSE(servidor.peticiones.isEmpty());
    if (const char* out = std::getenv("SENDERAL_PRUEBA_GUARDAR"))
        QFile::copy(e.imagen, QDir(out).filePath("rechazo.png"));
}
