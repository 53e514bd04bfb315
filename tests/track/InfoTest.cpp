// `senderal --info FILE` as a user runs it: the built program from its program folder.
#include "GpxPrueba.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
struct Salida {
    int codigo = -1;
    QString out, err;
};

Salida ejecutar(const QStringList& args, int limiteMs = 60000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("CET-1CEST,M3.5.0,M10.5.0/3"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SENDERAL_APP_DIR "/senderal"), args);
    Salida s;
    if (!p.waitForFinished(limiteMs)) {
        p.kill();
        p.waitForFinished();
        return s;
    }
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    s.out = QString::fromUtf8(p.readAllStandardOutput());
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

class Info : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString escribir(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("ruta con espacios.gpx"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(Info, ThreePointTrackSummary) {
    const QString path = escribir(PistaTresPuntos("Tres", 10));
    const Salida s = ejecutar({QStringLiteral("--info"), path});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    const QStringList lines = s.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 8) << s.out.toStdString();
    // Steps of 201.56 m and 177.05 m, ten seconds each.
    EXPECT_EQ(lines[0], "points: 3");
    EXPECT_EQ(lines[1], "distance_m: 378");
    EXPECT_EQ(lines[2], "ascent_m: 10");
    EXPECT_EQ(lines[3], "descent_m: 5");
    EXPECT_EQ(lines[4], "max_elevation_m: 510");
    ASSERT_TRUE(lines[5].startsWith(QLatin1String("max_speed_kmh: ")));
    EXPECT_NEAR(lines[5].mid(15).toDouble(), 72.5602643723569, 1e-9);
    EXPECT_EQ(lines[6], "start: 2011-05-01T12:00:00");
    EXPECT_EQ(lines[7], "end: 2011-05-01T12:00:20");
    // New figures come after the first eight; no sensor lines without sensors.
    // The 5 m drop does not pass the 5 m threshold of the filtered figure.
    EXPECT_EQ(lines.mid(8),
              (QStringList{"ascent_filtered_m: 10", "descent_filtered_m: 0", "duration_s: 20",
                           "moving_time_s: 20", "avg_moving_speed_kmh: 68.14"}));
}

TEST_F(Info, TrackWithoutTimesOrPoints) {
    const struct {
        const char* guarda;
        const char* gpx;
        const char* salida;
    } casos[] = {
        {"no times: empty start and end",
         "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"41\" lon=\"2\"/>"
         "<trkpt lat=\"41\" lon=\"2.001\"/></trkseg></trk></gpx>",
         "points: 2\ndistance_m: 84\nascent_m: 0\ndescent_m: 0\nmax_elevation_m: 0\n"
         "max_speed_kmh: 0\nstart: \nend: \nascent_filtered_m: 0\ndescent_filtered_m: 0\n"},
        {"a planned route is read as the track",
         "<gpx version=\"1.1\"><rte><rtept lat=\"41\" lon=\"2\"/>"
         "<rtept lat=\"41\" lon=\"2.001\"/></rte></gpx>",
         "points: 2\ndistance_m: 84\nascent_m: 0\ndescent_m: 0\nmax_elevation_m: 0\n"
         "max_speed_kmh: 0\nstart: \nend: \nascent_filtered_m: 0\ndescent_filtered_m: 0\n"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const Salida s = ejecutar({QStringLiteral("--info"), escribir(c.gpx)});
        EXPECT_EQ(s.codigo, 0) << s.err.toStdString();
        EXPECT_EQ(s.out, QString::fromUtf8(c.salida));
    }
}

TEST_F(Info, FailuresGoToStandardErrorWithStatus1) {
    const struct {
        const char* guarda;
        QByteArray gpx; // empty: the file does not exist
        const char* enError;
    } casos[] = {
        {"malformed file", "<gpx><trk></gpx>", "Error al abrir el fichero de track."},
        {"no track or route points", "<gpx version=\"1.1\"><trk><trkseg/></trk></gpx>",
         "no contiene puntos de track ni de ruta"},
        {"cut short after a point: where the damage is",
         "<gpx><trk><trkseg><trkpt lat=\"41\" lon=\"2\"/>\n<trkpt lat=\"4", "línea 2, columna"},
        {"missing file", QByteArray(), "Error al abrir el fichero de track."},
        {"non-numeric elevation",
         "<gpx><trk><trkseg><trkpt lat=\"41\" "
         "lon=\"2\"><ele>abc</ele></trkpt></trkseg></trk></gpx>",
         "'abc'"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        QString path = dir.filePath(QStringLiteral("no-such-file.gpx"));
        if (!c.gpx.isEmpty())
            path = escribir(c.gpx);
        const Salida s = ejecutar({QStringLiteral("--info"), path});
        EXPECT_EQ(s.codigo, 1);
        EXPECT_EQ(s.out, QString()) << "nothing on standard output";
        EXPECT_EQ(s.err.count(QString::fromUtf8(c.enError)), 1)
            << "the reason is said once: " << s.err.toStdString();
    }
}

namespace {
// Heart rate in one namespace under two prefixes, cadence, power and both temperatures.
const char* const kConSensores = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:gpxtpx="http://www.garmin.com/xmlschemas/TrackPointExtension/v1"
     xmlns:ns3="http://www.garmin.com/xmlschemas/TrackPointExtension/v1">
 <trk><trkseg>
  <trkpt lat="41.0" lon="2.0"><ele>500</ele><time>2011-05-01T10:00:00Z</time><extensions>
   <gpxtpx:TrackPointExtension><gpxtpx:atemp>21.5</gpxtpx:atemp><gpxtpx:hr>120</gpxtpx:hr>
   <gpxtpx:cad>80</gpxtpx:cad></gpxtpx:TrackPointExtension><power>200</power></extensions></trkpt>
  <trkpt lat="41.001" lon="2.002"><ele>510</ele><time>2011-05-01T10:00:10Z</time><extensions>
   <ns3:TrackPointExtension><ns3:hr>n/a</ns3:hr><ns3:cad>90</ns3:cad></ns3:TrackPointExtension>
   </extensions></trkpt>
  <trkpt lat="41.0005" lon="2.004"><ele>505</ele><time>2011-05-01T10:00:20Z</time><extensions>
   <ns3:TrackPointExtension><ns3:atemp>19</ns3:atemp><ns3:hr>141</ns3:hr></ns3:TrackPointExtension>
   </extensions></trkpt>
 </trkseg></trk>
</gpx>
)";
} // namespace

TEST_F(Info, SensorLinesAverageOverThePointsThatHaveTheValue) {
    const Salida s = ejecutar({QStringLiteral("--info"), escribir(kConSensores)});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    const QStringList lines = s.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 21) << s.out.toStdString();
    EXPECT_EQ(lines.mid(13), (QStringList{"heart_rate_avg_bpm: 130.5", "heart_rate_max_bpm: 141",
                                          "cadence_avg_rpm: 85", "cadence_max_rpm: 90",
                                          "power_avg_w: 200", "power_max_w: 200",
                                          "temperature_min_c: 19", "temperature_max_c: 21.5"}));
}

TEST_F(Info, StretchFromTo) {
    const QString path = escribir(kConSensores);
    const struct {
        const char* guarda;
        QStringList args;
        int codigo;
        const char* salida;
    } casos[] = {
        // Point 2 to 3: 177.00 m in 10 s, 5 m down.
        {"points 2 to 3",
         {"--from", "2", "--to", "3"},
         0,
         "from: 2\nto: 3\ndistance_m: 177\nduration_s: 10\nmoving_time_s: 10\nascent_m: 0\n"
         "descent_m: 5\nascent_filtered_m: 0\ndescent_filtered_m: 0\navg_speed_kmh: 63.72\n"
         "avg_moving_speed_kmh: 63.72\navg_grade_pct: -2.82\nmax_grade_pct: -2.82\n"
         "heart_rate_avg_bpm: 141\nheart_rate_max_bpm: 141\ncadence_avg_rpm: 90\n"
         "cadence_max_rpm: 90\ntemperature_min_c: 19\ntemperature_max_c: 19\n"},
        {"chosen backwards", {"--from", "3", "--to", "2"}, 0, nullptr},
        {"a point past the end", {"--from", "2", "--to", "4"}, 1, ""},
        {"not a number", {"--from", "two", "--to", "3"}, 2, ""},
        {"--from without --to", {"--from", "2"}, 2, ""},
    };
    QString adelante;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const Salida s = ejecutar(QStringList{QStringLiteral("--info"), path} + c.args);
        EXPECT_EQ(s.codigo, c.codigo) << s.err.toStdString();
        if (c.salida) {
            EXPECT_EQ(s.out, QString::fromUtf8(c.salida));
        } else {
            EXPECT_EQ(s.out.section(QLatin1Char('\n'), 2), adelante.section(QLatin1Char('\n'), 2));
        }
        if (c.codigo == 0 && c.salida)
            adelante = s.out;
        if (c.codigo != 0) {
            EXPECT_FALSE(s.err.isEmpty());
        }
    }
}

TEST_F(Info, WhatIsNotARegularFileIsRefusedAtOnce) {
    const QString fifo = dir.filePath(QStringLiteral("tubería sin escritor.gpx"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        const char* guarda;
        QString ruta;
        const char* clase;
    } casos[] = {
        {"a pipe nobody writes to", fifo, "una tubería (FIFO)"},
        {"a device without end", QStringLiteral("/dev/zero"), "un dispositivo de caracteres"},
        {"a device of random bytes", QStringLiteral("/dev/urandom"),
         "un dispositivo de caracteres"},
        {"a folder", dir.path(), "una carpeta"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        // Seconds, not the minute a whole file may take: a refusal needs no reading.
        const Salida s = ejecutar({QStringLiteral("--info"), c.ruta}, 10000);
        EXPECT_EQ(s.codigo, 1) << "-1 is a hang, -2 a crash";
        EXPECT_TRUE(s.err.contains(QStringLiteral("no es un fichero normal sino ") +
                                   QString::fromUtf8(c.clase)))
            << s.err.toStdString();
    }
}

TEST_F(Info, AValueOutOfRangeIsToldWithItsPlaceAndStatus1) {
    const Salida s =
        ejecutar({QStringLiteral("--info"), escribir(R"(<gpx version="1.1"><trk><trkseg>
<trkpt lat="41" lon="2"><ele>1.7e308</ele></trkpt>
<trkpt lat="41" lon="2.001"><ele>-1.7e308</ele></trkpt>
</trkseg></trk></gpx>)")});
    EXPECT_EQ(s.codigo, 1);
    EXPECT_EQ(s.out, QString()) << "no 'ascent_m: inf'";
    EXPECT_TRUE(s.err.contains(QStringLiteral("línea 3, columna 1: '-1.7e308' no es un valor")))
        << s.err.toStdString();
}

TEST_F(Info, HelpNamesEveryModeAndForce) {
    const Salida s = ejecutar({QStringLiteral("--help")}, 10000);
    EXPECT_EQ(s.codigo, 0);
    for (const char* linea :
         {"senderal --info FILE", "senderal --export kml|plt FILE OUT [--force]",
          "senderal --convert SRC DEST [--force]", "--force         replace"}) {
        SCOPED_TRACE(linea);
        EXPECT_TRUE(s.out.contains(QString::fromUtf8(linea))) << s.out.toStdString();
    }
}
