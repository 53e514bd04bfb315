#include "AppPaths.h"
#include "CatalogoFormatos.h"
#include "CatalogoPrueba.h"
#include "ComandoGPSBabel.h"
#include "ConversionLineaOrdenes.h"
#include "Conversor.h"
#include "EjecutarYEsperar.h"
#include "FicherosPrueba.h"
#include "GpxPrueba.h"
#include "ImprimirQt.h"
#include "Log.h"
#include "SenderalError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
QString gpsbabel() {
    return QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
}

void MismosPuntos(const std::vector<QPointF>& a, const std::vector<QPointF>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        // Some formats keep only 5 decimals or minutes to 1/1000.
        EXPECT_NEAR(a[i].x(), b[i].x(), 2e-5);
        EXPECT_NEAR(a[i].y(), b[i].y(), 2e-5);
    }
}

class Conversor : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(gpsbabel().isEmpty()) << "gpsbabel is not installed";
        carpeta = dir.filePath(QStringLiteral("mis rutas"));
        QDir().mkpath(carpeta);
        gpx = ruta(QStringLiteral("Sant Marçal \"ida\" $HOME.gpx"));
        EscribirFichero(gpx, GpxPequeno());
        conversor.Babel = gpsbabel();
        conversor.CarpetaCache = dir.filePath(QStringLiteral("cache"));
    }
    QString ruta(const QString& nombre) const { return QDir(carpeta).filePath(nombre); }

    QTemporaryDir dir;
    QString carpeta, gpx;
    TLog log;
    TCatalogoFormatos catalogo{CatalogoEntregado(), &log};
    TConversor conversor{catalogo, &log};
};

TEST_F(Conversor, IdaYVueltaGpxKmlGpxConservaLosPuntos) {
    const QString kml = ruta(QStringLiteral("Sant Marçal \"ida\" $HOME.kml"));
    const QString vuelta = ruta(QStringLiteral("vuelta 'final'.gpx"));
    const auto r1 = conversor.ConvertirFichero(
        gpx, kml, QStringLiteral("Google Earth Keyhole Markup Language (*.KML)"));
    ASSERT_TRUE(r1.Exito) << r1.Detalle.toStdString();
    const auto r2 = conversor.ConvertirFichero(kml, vuelta, TCatalogoFormatos::DescripcionGPX());
    ASSERT_TRUE(r2.Exito) << r2.Detalle.toStdString();
    MismosPuntos(PuntosGpx(gpx), PuntosGpx(vuelta));
    EXPECT_EQ(PuntosGpx(vuelta).size(), 4u);
    // Nothing but the destination is left in the folder.
    EXPECT_EQ(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(Conversor, LasLineasDelRegistroEnSuOrden) {
    const QString plt = ruta(QStringLiteral("a.PLT"));
    const auto r =
        conversor.ConvertirFichero(gpx, plt, QStringLiteral("OziExplorer Track (*.PLT)"));
    ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
    const QString comando =
        LineaComando(gpsbabel(), gpx, plt, QStringLiteral("gpx"), QStringLiteral("ozi"));
    EXPECT_EQ(r.Comando, comando);
    const QStringList esperadas{
        QStringLiteral(
            "SQL: Select * from FormatDesc where Descripcion='OziExplorer Track (*.PLT)'"),
        QStringLiteral("Tipo destino: ozi"),
        QStringLiteral("SQL: Select * from FormatDesc where Codigo='gpx'"),
        QStringLiteral("Tipo origen: gpx"),
        QStringLiteral("Comando:  ") + comando,
        QStringLiteral("Comando de conversión: ") + comando,
    };
    EXPECT_EQ(log.Lineas().mid(1, esperadas.size()), esperadas);
    // Developer record only in developer mode.
    EXPECT_FALSE(QFile::exists(conversor.CarpetaCache + QStringLiteral("/convert.cmd")));
}

TEST_F(Conversor, RegistroDelDesarrolladorUnaLineaConLaUltimaOrden) {
    conversor.EXECLocal = true;
    conversor.ConvertirFichero(gpx, ruta(QStringLiteral("1.kml")),
                               QStringLiteral("Google Earth Keyhole Markup Language (*.KML)"));
    const auto r = conversor.ConvertirFichero(gpx, ruta(QStringLiteral("2.plt")),
                                              QStringLiteral("OziExplorer Track (*.PLT)"));
    EXPECT_EQ(LeerFichero(conversor.CarpetaCache + QStringLiteral("/convert.cmd")),
              r.Comando.toLocal8Bit() + "\r\n");
}

TEST_F(Conversor, LaExtensionDelOrigenSinDistinguirMayusculas) {
    const QString plt = ruta(QStringLiteral("a.plt"));
    ASSERT_TRUE(
        conversor.ConvertirFichero(gpx, plt, QStringLiteral("OziExplorer Track (*.PLT)")).Exito);
    const QString mayus = ruta(QStringLiteral("B.PLT"));
    QFile::copy(plt, mayus);
    const auto r = conversor.ConvertirFichero(mayus, ruta(QStringLiteral("b.gpx")),
                                              TCatalogoFormatos::DescripcionGPX());
    ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
    MismosPuntos(PuntosGpx(gpx), PuntosGpx(ruta(QStringLiteral("b.gpx"))));
}

struct CasoSinOrden {
    const char* nombre;
    QString origen; // relative to the folder
    QString descripcion;
    const char* detalle;
};

TEST_F(Conversor, SinOrdenNoSeEjecutaNadaYSeDiceElPorque) {
    EscribirFichero(ruta(QStringLiteral("a.xyz")), "x");
    const CasoSinOrden casos[] = {
        {"typed_target_matching_nothing", "gpx", "Formato inventado", "Formato inventado"},
        {"source_extension_not_in_catalogue", "xyz", "OziExplorer Track (*.PLT)", "xyz"},
    };
    for (const CasoSinOrden& c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString origen =
            c.origen == QLatin1String("gpx") ? gpx : ruta(QStringLiteral("a.xyz"));
        const QString destino = ruta(QStringLiteral("destino.out"));
        conversor.EXECLocal = true;
        const auto r = conversor.ConvertirFichero(origen, destino, c.descripcion);
        EXPECT_FALSE(r.Exito);
        EXPECT_TRUE(r.NoIniciado);
        EXPECT_TRUE(r.Comando.isEmpty());
        EXPECT_TRUE(r.Detalle.contains(QLatin1String(c.detalle))) << r.Detalle.toStdString();
        EXPECT_FALSE(QFile::exists(destino));
        EXPECT_FALSE(QFile::exists(conversor.CarpetaCache + QStringLiteral("/convert.cmd")));
        EXPECT_EQ(log.Lineas().last(), QStringLiteral("Comando de conversión: "));
    }
}

TEST_F(Conversor, SinGPSBabelNoSeIniciaYNoSeEscribeNada) {
    conversor.Babel = dir.filePath(QStringLiteral("no hay/gpsbabel"));
    conversor.EXECLocal = true;
    const QString destino = ruta(QStringLiteral("a.kml"));
    const auto r = conversor.ConvertirFichero(
        gpx, destino, QStringLiteral("Google Earth Keyhole Markup Language (*.KML)"));
    EXPECT_FALSE(r.Exito);
    EXPECT_TRUE(r.NoIniciado);
    EXPECT_TRUE(r.Detalle.contains(conversor.Babel)) << r.Detalle.toStdString();
    EXPECT_FALSE(r.Comando.isEmpty());
    EXPECT_FALSE(QFile::exists(destino));
    EXPECT_FALSE(QFile::exists(conversor.CarpetaCache + QStringLiteral("/convert.cmd")));
}

TEST_F(Conversor, FalloConDestinoExistenteEsFalloYElDestinoQuedaIntacto) {
    const QString malo = ruta(QStringLiteral("roto.kml"));
    EscribirFichero(malo, "esto no es KML <kml");
    const QString destino = ruta(QStringLiteral("roto.GPX"));
    EscribirFichero(destino, "contenido anterior");
    const auto r = conversor.ConvertirFichero(malo, destino, TCatalogoFormatos::DescripcionGPX());
    EXPECT_FALSE(r.Exito);
    EXPECT_FALSE(r.NoIniciado);
    // The box shows GPSBabel's own status and words, naming the user's file.
    EXPECT_TRUE(r.Detalle.contains(QString::fromUtf8("código de salida 1")))
        << r.Detalle.toStdString();
    EXPECT_TRUE(r.Detalle.contains(QLatin1String("roto.kml"))) << r.Detalle.toStdString();
    EXPECT_EQ(LeerFichero(destino), QByteArray("contenido anterior"));
    EXPECT_TRUE(TextoFalloConversion(r).startsWith(QStringLiteral(
        "Parece que ha ocurrido un problema al realizar la conversión.\r\nError: ")));
    EXPECT_EQ(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(Conversor, ConversionCorrectaReemplazaElDestinoExistente) {
    const QString destino = ruta(QStringLiteral("a.kml"));
    EscribirFichero(destino, "viejo");
    const auto r = conversor.ConvertirFichero(
        gpx, destino, QStringLiteral("Google Earth Keyhole Markup Language (*.KML)"));
    ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
    EXPECT_TRUE(LeerFichero(destino).contains("<kml"));
}

// Stand-ins for GPSBabel that misbehave in one way each.
struct CasoFalso {
    const char* nombre;
    QByteArray script;
    const char* detalle;
};

TEST_F(Conversor, GPSBabelQueFallaNoEsUnExito) {
    const QString destino = ruta(QStringLiteral("falso.kml"));
    EscribirFichero(destino, "anterior");
    conversor.LimiteMs = 1500;
    const CasoFalso casos[] = {
        {"exit_status_3_with_message", "#!/bin/sh\necho 'fallo propio de GPSBabel' >&2\nexit 3\n",
         "código de salida 3"},
        {"writes_then_fails",
         "#!/bin/sh\nwhile [ $# -gt 1 ]; do shift; done\necho medio > \"$1\"\nexit 1\n",
         "código de salida 1"},
        {"exit_0_without_writing", "#!/bin/sh\nexit 0\n", "no ha escrito"},
        {"killed_by_time_out", "#!/bin/sh\nexec sleep 30\n", "no terminó en 1 segundos"},
        {"crash", "#!/bin/sh\nkill -SEGV $$\n", "forma anormal"},
    };
    for (const CasoFalso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString falso = dir.filePath(QStringLiteral("gpsbabel-") + QLatin1String(c.nombre));
        EscribirPrograma(falso, c.script);
        conversor.Babel = falso;
        QElapsedTimer t;
        t.start();
        const auto r = conversor.ConvertirFichero(
            gpx, destino, QStringLiteral("Google Earth Keyhole Markup Language (*.KML)"));
        EXPECT_LT(t.elapsed(), 10000);
        EXPECT_FALSE(r.Exito);
        EXPECT_FALSE(r.NoIniciado);
        EXPECT_TRUE(r.Detalle.contains(QString::fromUtf8(c.detalle))) << r.Detalle.toStdString();
        EXPECT_EQ(LeerFichero(destino), QByteArray("anterior"));
    }
    EXPECT_EQ(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(EjecutarYEsperar, LosArgumentosLleganIntactosYElBucleDeEventosSigue) {
    QTemporaryDir dir;
    const QString falso = dir.filePath(QStringLiteral("eco"));
    const QString salida = dir.filePath(QStringLiteral("args.txt"));
    EscribirPrograma(
        falso,
        "#!/bin/sh\nsleep 0.3\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$OUT\"\n");
    qputenv("OUT", salida.toLocal8Bit());
    bool tic = false;
    QTimer::singleShot(50, [&] { tic = true; });
    const QStringList args{QStringLiteral("/r/a b \"c\" $HOME `id`.kml"), QStringLiteral("-x"),
                           QStringLiteral("'; rm -rf /tmp/nada")};
    const TResultadoProceso r = EjecutarYEsperar(falso, args, 10000);
    EXPECT_TRUE(r.Correcto());
    EXPECT_TRUE(tic) << "the event loop did not run during the wait";
    EXPECT_EQ(QString::fromLocal8Bit(LeerFichero(salida)), args.join('\n') + '\n');
}

TEST(ImportarComoGPX, UnGpxExistenteNoSeReemplazaSinPreguntar) {
    QTemporaryDir dir;
    TLog log;
    TCatalogoFormatos catalogo(CatalogoEntregado(), &log);
    TConversor conversor(catalogo, &log);
    conversor.Babel = gpsbabel();
    const QString gpx = dir.filePath(QStringLiteral("origen.gpx"));
    EscribirFichero(gpx, GpxPequeno());
    const QString kml = dir.filePath(QStringLiteral("Ruta.de.hoy.kml"));
    ASSERT_TRUE(conversor
                    .ConvertirFichero(
                        gpx, kml, QStringLiteral("Google Earth Keyhole Markup Language (*.KML)"))
                    .Exito);
    const QString junto = dir.filePath(QStringLiteral("Ruta.de.hoy.GPX"));

    for (const bool reemplazar : {false, true}) {
        SCOPED_TRACE(reemplazar ? "answer_replace" : "answer_new_name");
        EscribirFichero(junto, "mi GPX de antes");
        QString preguntado, propuesto, gpxPath;
        const auto r = ImportarComoGPX(conversor, kml, gpxPath,
                                       [&](const QString& existe, const QString& libre) {
                                           preguntado = existe;
                                           propuesto = libre;
                                           return reemplazar;
                                       });
        ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
        EXPECT_EQ(preguntado, junto);
        EXPECT_EQ(propuesto, dir.filePath(QStringLiteral("Ruta.de.hoy (2).GPX")));
        EXPECT_EQ(gpxPath, reemplazar ? junto : propuesto);
        MismosPuntos(PuntosGpx(gpx), PuntosGpx(gpxPath));
        if (!reemplazar) {
            EXPECT_EQ(LeerFichero(junto), QByteArray("mi GPX de antes"));
        }
        QFile::remove(propuesto);
    }
}

TEST(ImportarComoGPX, UnaImportacionFallidaNoDejaGpx) {
    QTemporaryDir dir;
    TCatalogoFormatos catalogo(CatalogoEntregado());
    TConversor conversor(catalogo);
    conversor.Babel = gpsbabel();
    const QString kml = dir.filePath(QStringLiteral("roto.KML"));
    EscribirFichero(kml, "no es un KML");
    QString gpxPath;
    const auto r = ImportarComoGPX(conversor, kml, gpxPath, {});
    EXPECT_FALSE(r.Exito);
    EXPECT_EQ(gpxPath, dir.filePath(QStringLiteral("roto.GPX")));
    EXPECT_FALSE(QFile::exists(gpxPath));
}

// Every catalogue format that GPSBabel writes takes the track and gives it back.
class CadaFormato : public ::testing::TestWithParam<TFilaFormato> {};

TEST_P(CadaFormato, IdaYVueltaConservaLosPuntos) {
    const TFilaFormato& f = GetParam();
    QTemporaryDir dir;
    TCatalogoFormatos catalogo(CatalogoEntregado());
    TConversor conversor(catalogo);
    conversor.Babel = gpsbabel();
    const QString gpx = dir.filePath(QStringLiteral("origen.gpx"));
    EscribirFichero(gpx, GpxPequeno());
    // The wizard proposes the extension in capitals.
    const QString intermedio = dir.filePath(QStringLiteral("ruta de prueba.") + f.Codigo.toUpper());
    const auto ida = conversor.ConvertirFichero(gpx, intermedio, f.Descripcion);
    ASSERT_TRUE(ida.Exito) << ida.Detalle.toStdString();
    const QString vuelta = dir.filePath(QStringLiteral("vuelta.gpx"));
    const auto r =
        conversor.ConvertirFichero(intermedio, vuelta, TCatalogoFormatos::DescripcionGPX());
    ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
    MismosPuntos(PuntosGpx(gpx), PuntosGpx(vuelta));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

// GPSBabel writes NMEA as RMC before GGA and reads each position back against the next
// sentence's time, so its own NMEA does not come back point for point; NMEA as loggers
// write it (GGA first) is covered by its own test below.
std::vector<TFilaFormato> FilasEntregadas() {
    QString error;
    std::vector<TFilaFormato> filas;
    for (const TFilaFormato& f : TCatalogoFormatos(CatalogoEntregado()).LeerFilas(error))
        if (f.Code != QLatin1String("nmea"))
            filas.push_back(f);
    return filas;
}

TEST(ImportarComoGPX, NmeaDeUnRegistradorConservaSusPuntos) {
    QTemporaryDir dir;
    TCatalogoFormatos catalogo(CatalogoEntregado());
    TConversor conversor(catalogo);
    conversor.Babel = gpsbabel();
    const QString nmea = dir.filePath(QStringLiteral("registro.NMEA"));
    EscribirFichero(nmea, "$GPGGA,064000.000,4146.198,N,00225.804,E,1,08,1.0,619.5,M,0.0,M,,*62\r\n"
                          "$GPRMC,064000.000,A,4146.198,N,00225.804,E,0.00,0.00,140522,,*0F\r\n"
                          "$GPGGA,064005.000,4146.256,N,00225.868,E,1,08,1.0,621.0,M,0.0,M,,*62\r\n"
                          "$GPRMC,064005.000,A,4146.256,N,00225.868,E,0.00,0.00,140522,,*01\r\n");
    QString gpxPath;
    const auto r = ImportarComoGPX(conversor, nmea, gpxPath, {});
    ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
    MismosPuntos(PuntosGpx(gpxPath),
                 {QPointF(41.7699667, 2.4300667), QPointF(41.7709333, 2.4311333)});
}

INSTANTIATE_TEST_SUITE_P(Catalogo, CadaFormato, ::testing::ValuesIn(FilasEntregadas()),
                         [](const auto& info) { return info.param.Code.toStdString(); });
} // namespace

namespace {
// `senderal --convert SRC DEST` as a function, against a program folder of the test's own.
class LineaDeOrdenes : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppDirOverride(dir.path());
        QFile::copy(CatalogoEntregado(), dir.filePath(TCatalogoFormatos::NombreFichero()));
        gpx = dir.filePath(QStringLiteral("ruta $1 \"x\".gpx"));
        EscribirFichero(gpx, GpxPequeno());
    }
    void TearDown() override { SetAppDirOverride(QString()); }
    QTemporaryDir dir;
    QString gpx;
};

TEST_F(LineaDeOrdenes, ConvierteAlFormatoDeLaExtensionDelDestino) {
    const QString plt = dir.filePath(QStringLiteral("salida.PLT"));
    QString error;
    ASSERT_EQ(ConvertirDesdeLineaDeOrdenes(gpx, plt, error), 0) << error.toStdString();
    EXPECT_TRUE(LeerFichero(plt).startsWith("OziExplorer Track"));
}

TEST_F(LineaDeOrdenes, CadaFalloSaleConUnoYDiceElPorque) {
    const QString existe = dir.filePath(QStringLiteral("ya.kml"));
    EscribirFichero(existe, "mio");
    const QString raro = dir.filePath(QStringLiteral("a.raro"));
    EscribirFichero(raro, "x");
    const struct {
        const char* nombre;
        QString origen, destino;
        const char* motivo;
    } casos[] = {
        {"missing_source", dir.filePath(QStringLiteral("no.gpx")),
         dir.filePath(QStringLiteral("a.kml")), "no existe"},
        {"existing_destination_kept", gpx, existe, "ya existe"},
        {"destination_extension_unknown", gpx, dir.filePath(QStringLiteral("a.xyz")), "xyz"},
        {"source_extension_unknown", raro, dir.filePath(QStringLiteral("b.gpx")), "raro"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        QString error;
        EXPECT_EQ(ConvertirDesdeLineaDeOrdenes(c.origen, c.destino, error), 1);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.motivo))) << error.toStdString();
    }
    EXPECT_EQ(LeerFichero(existe), QByteArray("mio"));
}

TEST_F(LineaDeOrdenes, SoloSeReemplazaUnFicheroNormalQueNoEsElOrigenYConForce) {
    const QString existe = dir.filePath(QStringLiteral("ya.kml"));
    const QString fifo = dir.filePath(QStringLiteral("tubo.kml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString colgante = dir.filePath(QStringLiteral("colgante.kml"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nada/no.kml")), colgante));
    const QString enlace = dir.filePath(QStringLiteral("enlace.kml"));
    ASSERT_TRUE(QFile::link(existe, enlace));
    const QString carpetaKml = dir.filePath(QStringLiteral("carpeta.kml"));
    QDir().mkpath(carpetaKml);
    const QString mismo = dir.filePath(QStringLiteral("mismo.gpx"));
    const struct {
        const char* nombre;
        QString destino;
        bool force;
        const char* motivo; // nullptr: converted
    } casos[] = {
        {"existing_file_without_force", existe, false, "ya existe"},
        {"existing_file_with_force", existe, true, nullptr},
        {"pipe", fifo, true, "tubería"},
        {"dangling_link", colgante, true, "enlace simbólico"},
        {"link_to_a_file", enlace, true, "enlace simbólico"},
        {"folder", carpetaKml, true, "carpeta"},
        {"the_source_itself", mismo, true, "mismo fichero que el origen"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EscribirFichero(existe, "mio");
        EscribirFichero(mismo, GpxPequeno());
        const QString origen = c.destino == mismo ? mismo : gpx;
        QString error;
        QStringList escritos;
        const int codigo =
            ConvertirDesdeLineaDeOrdenes(origen, c.destino, error, c.force, &escritos);
        if (!c.motivo) {
            EXPECT_EQ(codigo, 0) << error.toStdString();
            EXPECT_TRUE(LeerFichero(existe).contains("<kml"));
            EXPECT_EQ(escritos, QStringList{existe});
            continue;
        }
        EXPECT_EQ(codigo, 1);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.motivo))) << error.toStdString();
        EXPECT_EQ(LeerFichero(existe), QByteArray("mio"));
        EXPECT_EQ(LeerFichero(mismo), GpxPequeno());
    }
    EXPECT_TRUE(QFileInfo(fifo).isFile() == false && QFileInfo::exists(fifo));
    EXPECT_TRUE(QFileInfo(colgante).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nada"))));
    EXPECT_TRUE(QFileInfo(enlace).isSymLink());
}

TEST_F(LineaDeOrdenes, UnOrigenQueNoEsUnFicheroSeDiceLoQueEs) {
    const QString fifo = dir.filePath(QStringLiteral("tubo.gpx"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString carpetaGpx = dir.filePath(QStringLiteral("carpeta.gpx"));
    QDir().mkpath(carpetaGpx);
    const struct {
        const char* nombre;
        QString origen;
        const char* motivo;
    } casos[] = {
        {"pipe", fifo, "no es un fichero normal sino una tubería (FIFO)"},
        {"folder", carpetaGpx, "no es un fichero normal sino una carpeta"},
        {"device", QStringLiteral("/dev/null"), "no es un fichero normal sino un dispositivo"},
        {"missing", dir.filePath(QStringLiteral("no.gpx")), "no existe"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        QString error;
        EXPECT_EQ(
            ConvertirDesdeLineaDeOrdenes(c.origen, dir.filePath(QStringLiteral("x.kml")), error),
            1);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.motivo))) << error.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.kml"))));
    }
}

TEST_F(LineaDeOrdenes, UsaElGPSBabelGuardadoEnLaConfiguracion) {
    const QString falta = dir.filePath(QStringLiteral("otro/gpsbabel"));
    EscribirFichero(
        dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                     QStringLiteral(".ini")),
        "[Config]\r\nGPSBabel=" + falta.toUtf8() + "\r\n");
    QString error;
    EXPECT_EQ(ConvertirDesdeLineaDeOrdenes(gpx, dir.filePath(QStringLiteral("a.kml")), error), 1);
    EXPECT_TRUE(error.contains(falta)) << error.toStdString();
}
} // namespace

namespace {
QByteArray gpxDePistas(int pistas) {
    QByteArray b =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"prueba\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (int t = 0; t < pistas; ++t) {
        b += "<trk><name>Pista " + QByteArray::number(t) + "</name><trkseg>\n";
        for (int i = 0; i < 3; ++i)
            b += "<trkpt lat=\"41." + QByteArray::number(t) + QByteArray::number(i) +
                 "\" lon=\"2." + QByteArray::number(i) + "\"><time>2022-05-14T06:4" +
                 QByteArray::number(i) + ":00Z</time></trkpt>\n";
        b += "</trkseg></trk>\n";
    }
    return b + "</gpx>\n";
}

// Whatever a conversion may have left in the folder besides the files named.
QStringList restos(const QString& carpeta, const QStringList& esperados) {
    QStringList r = QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& e : esperados)
        r.removeAll(e);
    return r;
}
} // namespace

TEST_F(Conversor, CadaFicheroQueEscribeGPSBabelLlegaAlDestinoSinDejarTemporales) {
    const QString ocho = ruta(QStringLiteral("ocho.gpx"));
    EscribirFichero(ocho, gpxDePistas(8));
    const QString destino = ruta(QStringLiteral("ocho pistas.PLT"));
    const auto r = conversor.Ejecutar(ocho, destino, QStringLiteral("gpx"), QStringLiteral("ozi"));
    ASSERT_TRUE(r.Exito) << r.Detalle.toStdString();
    QStringList esperados{destino};
    for (int i = 1; i < 8; ++i)
        esperados << ruta(QStringLiteral("ocho pistas-%1.PLT").arg(i));
    EXPECT_EQ(r.Escritos, esperados);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(LeerFichero(esperados[i]).contains(",Pista " + QByteArray::number(i) + ","))
            << "each track in its own file, in order";
    }
    QStringList nombres;
    for (const QString& e : esperados)
        nombres << QFileInfo(e).fileName();
    EXPECT_EQ(restos(carpeta, nombres + QStringList{QFileInfo(gpx).fileName(), "ocho.gpx"}),
              QStringList());
}

TEST_F(Conversor, UnDestinoQueNoSePuedeEscribirNoDejaNadaAMedias) {
    const QString ocho = ruta(QStringLiteral("ocho.gpx"));
    EscribirFichero(ocho, gpxDePistas(8));
    const QString destino = ruta(QStringLiteral("ocho.plt"));
    const QString ocupado = ruta(QStringLiteral("ocho-3.plt"));
    EscribirFichero(ocupado, "mio");
    conversor.Reemplazar = false;
    const auto r = conversor.Ejecutar(ocho, destino, QStringLiteral("gpx"), QStringLiteral("ozi"));
    EXPECT_FALSE(r.Exito);
    EXPECT_TRUE(r.Detalle.contains(QStringLiteral("ya existe"))) << r.Detalle.toStdString();
    EXPECT_TRUE(r.Detalle.contains(QStringLiteral("ocho-3.plt"))) << r.Detalle.toStdString();
    EXPECT_EQ(LeerFichero(ocupado), QByteArray("mio"));
    EXPECT_EQ(restos(carpeta, {QFileInfo(gpx).fileName(), "ocho.gpx", "ocho-3.plt"}), QStringList())
        << "neither the destination nor a temporary file";
}

TEST_F(Conversor, UnFicheroQueApareceDuranteLaConversionNoSeReemplaza) {
    // Another program creates the destination while GPSBabel works.
    const QString destino = ruta(QStringLiteral("carrera.kml"));
    const QString falso = dir.filePath(QStringLiteral("gpsbabel-carrera"));
    EscribirPrograma(falso, "#!/bin/sh\nwhile [ $# -gt 1 ]; do shift; done\n"
                            "echo '<kml/>' > \"$1\"\necho ajeno > '" +
                                QFile::encodeName(destino) + "'\nexit 0\n");
    conversor.Babel = falso;
    conversor.Reemplazar = false;
    const auto r = conversor.Ejecutar(gpx, destino, QStringLiteral("gpx"), QStringLiteral("kml"));
    EXPECT_FALSE(r.Exito);
    EXPECT_TRUE(r.Detalle.contains(QStringLiteral("ya existe"))) << r.Detalle.toStdString();
    EXPECT_EQ(LeerFichero(destino), QByteArray("ajeno\n"));
    EXPECT_EQ(restos(carpeta, {QFileInfo(gpx).fileName(), "carrera.kml"}), QStringList());
}

TEST_F(Conversor, LaSalidaDeErrorDeGPSBabelSeCitaSoloAlPrincipio) {
    const QString falso = dir.filePath(QStringLiteral("gpsbabel-hablador"));
    EscribirPrograma(falso, "#!/bin/sh\nyes xxxxxxxxxxxxxxxxxxxx | head -c 3000000 >&2\nexit 1\n");
    conversor.Babel = falso;
    const auto r = conversor.Ejecutar(gpx, ruta(QStringLiteral("h.kml")), QStringLiteral("gpx"),
                                      QStringLiteral("kml"));
    EXPECT_FALSE(r.Exito);
    EXPECT_TRUE(r.Detalle.contains(QStringLiteral("xxxxxxxxxx")))
        << r.Detalle.left(200).toStdString();
    EXPECT_LT(r.Detalle.size(), 5000);
}
