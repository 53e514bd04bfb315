#include "AppPaths.h"
#include "EscritoresRuta.h"
#include "FechaHora.h"
#include "FormData.h"
#include "PuntosPrueba.h"
#include "SenderalError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
// The UTC text of a local wall-clock time, so that the time reader gives it back.
QByteArray textoUTC(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime)
        .toUTC()
        .toString(Qt::ISODate)
        .toLatin1();
}

QStringList kml(std::initializer_list<TPuntoPrueba> points, const QString& name = "Ruta") {
    TTrackPointStore store;
    LlenarPuntos(store, points);
    QStringList lines{"left over"};
    EscribirKML(name, store, lines, 0xFF0000, 2);
    return lines;
}

QStringList plt(std::initializer_list<TPuntoPrueba> points, const QString& name = "Ruta") {
    TTrackPointStore store;
    LlenarPuntos(store, points);
    QStringList lines{"left over"};
    EscribirPLT(name, store, lines, 255, 2, QLatin1Char('/'));
    return lines;
}

struct TPuntoLeido {
    double lat = 0, lon = 0, ele = 0;
    bool hasEle = false;
    QString time;
};

// GPSBabel reads the file back; its GPX output is parsed here.
bool leerConGpsbabel(const QString& format, const QString& path, std::vector<TPuntoLeido>& out,
                     QString& error, QString* nombrePista = nullptr) {
    QProcess p;
    p.start("gpsbabel", {"-i", format, "-f", path, "-o", "gpx", "-F", "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        error = QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    QXmlStreamReader xml(p.readAllStandardOutput());
    TPuntoLeido* current = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (nombrePista && !current && xml.name() == u"name") {
            *nombrePista = xml.readElementText();
        } else if (xml.name() == u"trkpt") {
            out.push_back({});
            current = &out.back();
            current->lat = xml.attributes().value("lat").toDouble();
            current->lon = xml.attributes().value("lon").toDouble();
        } else if (current && xml.name() == u"ele") {
            current->ele = xml.readElementText().toDouble();
            current->hasEle = true;
        } else if (current && xml.name() == u"time") {
            current->time = xml.readElementText();
        }
    }
    return true;
}

bool hayGpsbabel() {
    return !QStandardPaths::findExecutable("gpsbabel").isEmpty();
}
} // namespace

TEST(ColorHTML, RedIsTheLowByte) {
    EXPECT_EQ(ColorHTML(0xFF0000), "#0000FF");
    EXPECT_EQ(ColorHTML(0x00FF00), "#00FF00");
    EXPECT_EQ(ColorHTML(0x0000FF), "#FF0000");
    EXPECT_EQ(ColorHTML(0x123456), "#563412");
}

TEST(EscribirKML, WritesTheFixedLinesAndOneLinePerPoint) {
    const QStringList lines =
        kml({{"41.3363171017184", "2.1025514602661133", "157.2"}, {"41.1", "-5.185547", ""}},
            "Montseny & <Tagamanent>");
    const QStringList expected = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
        "<kml xmlns=\"http://earth.google.com/kml/2.1\">",
        "<Placemark>",
        "<name>Montseny &amp; &lt;Tagamanent&gt;</name>",
        "<Style><LineStyle><color>ff0000FF</color><width>2</width></LineStyle></Style>",
        "<LineString><coordinates>",
        "2.10255146,41.3363171,157.2 ",
        "-5.185547,41.1, ",
        "</coordinates></LineString>",
        "</Placemark>",
        "</kml>",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(kml({}).size(), 9) << "an empty track keeps the nine fixed lines";
}

TEST(EscribirPLT, WritesTheHeaderAndTheSevenFields) {
    const QByteArray t = textoUTC(2010, 5, 12, 9, 30, 15);
    const QStringList lines = plt({{"41.336510000", "2.103968000", "123.4", t.constData()},
                                   {"41.33651", "2.1", "-5", t.constData()}},
                                  "Vuelta");
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines.mid(0, 6), QStringList({"OziExplorer Track Point File Version 2.1", "WGS 84",
                                            "Altitude is in Feet", "Reserved 3",
                                            "0,2,255,Vuelta,1,0,2,8421376", "0"}));
    // The measured numbers are written, so the texts' trailing zeros are not.
    EXPECT_EQ(lines[6], "41.33651,2.103968,1,404.855643,40310.3960069444,12/05/2010,09:30/15");
    EXPECT_TRUE(lines[7].startsWith("41.33651,2.1,0,-16.404199,")) << "break code 1 only once";
    EXPECT_EQ(plt({}).size(), 6) << "an empty track keeps the six header lines";
}

TEST(EscribirPLT, TheNameStaysOneFieldOfTheHeaderLine) {
    const struct {
        const char* guarda;
        const char* nombre;
        const char* campo;
    } casos[] = {{"a line break", "dos\nlineas", "dos lineas"},
                 {"a CR LF", "dos\r\nlineas", "dos lineas"},
                 {"a comma", "Vuelta, con coma", "Vuelta  con coma"},
                 {"only commas", ",,", "  "}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const QStringList lines = plt({}, QString::fromUtf8(c.nombre));
        EXPECT_EQ(lines[4], QStringLiteral("0,2,255,%1,1,0,2,8421376").arg(QLatin1String(c.campo)));
    }
}

TEST(AltitudPiesPLT, FeetCutToTenAndTheMissingMarker) {
    struct Case {
        const char* name;
        const char* ele;
        const char* expected;
    } cases[] = {
        {"metres to feet cut to 10", "123.4", "404.855643"},
        {"negative altitude", "-5", "-16.404199"},
        {"zero", "0", "0"},
        {"missing altitude", "", "-777"},
        {"not a number", "n/a", "-777"},
        {"exactly -777 m is not converted", "-777", "-777"},
        {"-777.0 m is the marker too", "-777.0", "-777"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AltitudPiesPLT(c.ele), c.expected);
    }
}

TEST(FechaHoraPLT, PatternsWithTheDateSeparator) {
    struct Case {
        const char* name;
        TFechaHora value;
        QChar sep;
        const char* date;
        const char* time;
    } cases[] = {
        {"slash", 40310.3960069444, '/', "12/05/2010", "09:30/15"},
        {"dot separator also between minutes and seconds", 40310.3960069444, '.', "12.05.2010",
         "09:30.15"},
        {"no time is 30 December 1899", 0, '/', "30/12/1899", "00:00/00"},
        {"a value a hair before midnight rounds into the next day", 40310.99999999999, '-',
         "13-05-2010", "00:00-00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FechaPLT(c.value, c.sep), c.date);
        EXPECT_EQ(HoraPLT(c.value, c.sep), c.time);
    }
}

TEST(SeparadorFecha, TakenFromTheShortDateFormat) {
    EXPECT_EQ(SeparadorFecha(QLocale(QLocale::Spanish, QLocale::Spain)), QLatin1Char('/'));
    EXPECT_EQ(SeparadorFecha(QLocale(QLocale::German, QLocale::Germany)), QLatin1Char('.'));
}

TEST(BytesRuta, KmlIsUtf8AndPltLatin1WithoutCrashingOnOtherCharacters) {
    const QStringList lines = {QString::fromUtf8("Collserola ñ €")};
    EXPECT_EQ(BytesRuta(TFormatoRuta::frKML, lines),
              QByteArray("Collserola \xC3\xB1 \xE2\x82\xAC\r\n"));
    EXPECT_EQ(BytesRuta(TFormatoRuta::frPLT, lines), QByteArray("Collserola \xF1 ?\r\n"));
    EXPECT_EQ(BytesRuta(TFormatoRuta::frPLT, {QString::fromUtf8("\xF0\x9F\x9A\xB2")}),
              QByteArray("?\r\n"))
        << "one mark for a character outside the basic plane";
}

TEST(GrabarRuta, UnwritablePathThrowsWithTheReason) {
    QTemporaryDir dir;
    EXPECT_THROW(GrabarRuta(TFormatoRuta::frKML, {"x"}, dir.filePath("no/such/dir/x.kml")),
                 ESenderalError);
}

// Write, then let GPSBabel read the file back and compare the values.
TEST(RoundTrip, GpsbabelReadsBackTheSamePoints) {
    if (!hayGpsbabel())
        GTEST_SKIP() << "gpsbabel is not installed";
    QTemporaryDir dir;
    const QByteArray t1 = textoUTC(2022, 5, 14, 8, 40, 0);
    const QByteArray t2 = textoUTC(2022, 5, 14, 8, 40, 5);
    TTrackPointStore store;
    LlenarPuntos(store, {{"41.7699670", "2.4300643", "619.47", t1.constData()},
                         {"41.7699338", "2.4301277", "", t2.constData()},
                         {"-33.8688197", "151.2092955", "-12.5", ""}});
    struct Format {
        const char* babel;
        TFormatoRuta format;
        const char* file;
    } formats[] = {{"kml", TFormatoRuta::frKML, "r.kml"}, {"ozi", TFormatoRuta::frPLT, "r.plt"}};
    for (const Format& f : formats) {
        SCOPED_TRACE(f.babel);
        QStringList lines;
        if (f.format == TFormatoRuta::frKML)
            EscribirKML("Ruta", store, lines, 0xFF0000, 2);
        else
            EscribirPLT("Ruta", store, lines, 255, 2, QLatin1Char('/'));
        GrabarRuta(f.format, lines, dir.filePath(f.file));
        std::vector<TPuntoLeido> back;
        QString error;
        ASSERT_TRUE(leerConGpsbabel(f.babel, dir.filePath(f.file), back, error))
            << error.toStdString();
        ASSERT_EQ(back.size(), 3u);
        // Coordinate texts are cut to 10 characters.
        const double lat[] = {41.7699670, 41.7699338, -33.868819};
        const double lon[] = {2.4300643, 2.4301277, 151.209295};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(back[i].lat, lat[i], 1e-7);
            EXPECT_NEAR(back[i].lon, lon[i], 1e-7);
        }
        EXPECT_NEAR(back[0].ele, 619.47, 1e-3);
        EXPECT_NEAR(back[2].ele, -12.5, 1e-3);
        if (f.format == TFormatoRuta::frPLT) {
            EXPECT_FALSE(back[1].hasEle) << "-777 reads as no altitude";
            // The file carries local wall-clock time; GPSBabel labels it UTC, and its own
            // reading of the day number loses a fraction of a second.
            const QDateTime expected[] = {QDateTime(QDate(2022, 5, 14), QTime(8, 40, 0), Qt::UTC),
                                          QDateTime(QDate(2022, 5, 14), QTime(8, 40, 5), Qt::UTC)};
            for (int i = 0; i < 2; ++i) {
                const QDateTime got = QDateTime::fromString(back[i].time, Qt::ISODateWithMs);
                ASSERT_TRUE(got.isValid()) << back[i].time.toStdString();
                EXPECT_LE(std::llabs(got.msecsTo(expected[i])), 1000) << back[i].time.toStdString();
            }
        }
    }
}

TEST(ExportarRuta, WritesWhatTheExportCommandWritesForAFile) {
    QTemporaryDir dir;
    const QString gpx = dir.filePath("t.gpx");
    QFile f(gpx);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx version=\"1.1\" creator=\"x\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
            "<trk><name>Mi ruta</name><trkseg>"
            "<trkpt lat=\"41.3363171017184\" lon=\"2.1025514602661133\"><ele>157.2</ele></trkpt>"
            "</trkseg></trk></gpx>\n");
    f.close();
    SetAppDirOverride(QStringLiteral(SENDERAL_APP_DIR));
    const QString out = dir.filePath("t.kml");
    ASSERT_EQ(ExportarRuta(TFormatoRuta::frKML, gpx, out), QString());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.contains("<name>Mi ruta</name>\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n2.10255146,41.3363171,157.2 \r\n"));
    EXPECT_TRUE(bytes.endsWith("</kml>\r\n"));

    EXPECT_NE(ExportarRuta(TFormatoRuta::frPLT, dir.filePath("missing.gpx"), dir.filePath("m.plt")),
              QString());
    EXPECT_FALSE(QFile::exists(dir.filePath("m.plt")));

    // The command line around it.
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        const char* written;
    } cases[] = {
        {"plt in capitals", {"PLT", gpx, dir.filePath("c.plt")}, 0, "c.plt"},
        {"unknown format", {"gpx", gpx, dir.filePath("d.gpx")}, 2, nullptr},
        {"missing output name", {"kml", gpx}, 2, nullptr},
        {"unreadable track", {"kml", dir.filePath("none.gpx"), dir.filePath("e.kml")}, 1, nullptr},
        {"unwritable output", {"kml", gpx, dir.filePath("no/dir/f.kml")}, 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EjecutarExportacion(c.args), c.exitCode);
        if (c.written) {
            QFile f(dir.filePath(c.written));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_TRUE(f.readAll().startsWith("OziExplorer Track Point File Version 2.1\r\n"));
        }
    }
    SetAppDirOverride(QString());
}

TEST(RoundTrip, GpsbabelReadsTheWholeNameBackFromAPltFile) {
    if (!hayGpsbabel())
        GTEST_SKIP() << "gpsbabel is not installed";
    QTemporaryDir dir;
    TTrackPointStore store;
    LlenarPuntos(store, {{"41.5", "2.5", "100"}, {"41.6", "2.6", "110"}});
    QStringList lines;
    EscribirPLT(QStringLiteral("Vuelta, con coma"), store, lines, 255, 2, QLatin1Char('/'));
    const QString path = dir.filePath("r.plt");
    GrabarRuta(TFormatoRuta::frPLT, lines, path);
    std::vector<TPuntoLeido> back;
    QString error, nombre;
    ASSERT_TRUE(leerConGpsbabel("ozi", path, back, error, &nombre)) << error.toStdString();
    EXPECT_EQ(nombre, "Vuelta  con coma");
    ASSERT_EQ(back.size(), 2u) << "the comma shifted no field";
    EXPECT_NEAR(back[1].lat, 41.6, 1e-9);
    EXPECT_NEAR(back[1].lon, 2.6, 1e-9);
}

namespace {
QString escribirGpx(const QTemporaryDir& dir, const QString& name, const QByteArray& trkpts,
                    const QByteArray& nombre = "Ruta") {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"><trk><name>" +
            nombre + "</name><trkseg>" + trkpts + "</trkseg></trk></gpx>\n");
    return path;
}

// Whether `bytes` is well-formed XML, with the first error's text when not.
QString xmlMalFormado(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd())
        xml.readNext();
    return xml.hasError() ? xml.errorString() : QString();
}
} // namespace

TEST(ExportarRuta, ValuesThatAreNotUsableNumbersAreRefusedAndNothingIsWritten) {
    QTemporaryDir dir;
    SetAppDirOverride(QStringLiteral(SENDERAL_APP_DIR));
    const struct {
        const char* guarda;
        QByteArray trkpts;
        const char* cita;
    } casos[] = {
        {"markup in the elevation",
         "<trkpt lat=\"41\" lon=\"2\"><ele>&lt;/coordinates&gt;</ele></trkpt>", "no es un valor"},
        {"an ampersand in the elevation", "<trkpt lat=\"41\" lon=\"2\"><ele>&amp;</ele></trkpt>",
         "'&'"},
        {"a line break in the latitude", "<trkpt lat=\"41&#10;5\" lon=\"2\"/>", "no es un valor"},
        {"a latitude past the pole", "<trkpt lat=\"1000\" lon=\"2\"/>", "la latitud"},
        {"a longitude past 180", "<trkpt lat=\"41\" lon=\"200\"/>", "la longitud"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const QString gpx = escribirGpx(dir, "malo.gpx", c.trkpts);
        for (TFormatoRuta f : {TFormatoRuta::frKML, TFormatoRuta::frPLT}) {
            const QString out = dir.filePath(f == TFormatoRuta::frKML ? "malo.kml" : "malo.plt");
            const QString error = ExportarRuta(f, gpx, out);
            EXPECT_TRUE(error.contains(QString::fromUtf8(c.cita))) << error.toStdString();
            EXPECT_FALSE(QFile::exists(out));
        }
    }
    SetAppDirOverride(QString());
}

TEST(ExportarRuta, EveryKmlWrittenIsWellFormedAndCarriesTheNumbers) {
    QTemporaryDir dir;
    SetAppDirOverride(QStringLiteral(SENDERAL_APP_DIR));
    const struct {
        const char* guarda;
        QByteArray nombre;
        QByteArray trkpts;
        const char* linea; // the coordinate line
    } casos[] = {
        {"numbers written with blanks and line breaks", "Ruta",
         "<trkpt lat=\" 41.5\n\" lon=\"&#9;2.25 \"><ele>\n  100.5\n</ele></trkpt>",
         "2.25,41.5,100.5 "},
        {"numbers with a sign and an exponent", "Ruta",
         "<trkpt lat=\"+4.15e1\" lon=\"-2E0\"><ele>1e3</ele></trkpt>", "-2,41.5,1000 "},
        {"a tiny latitude keeps its value", "Ruta", "<trkpt lat=\"0.0000123456789\" lon=\"0\"/>",
         "0,0.00001234, "},
        {"markup and ampersands in the name", "&lt;/name&gt;&amp;&lt;![CDATA[",
         "<trkpt lat=\"41\" lon=\"2\"/>", "2,41, "},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const QString gpx = escribirGpx(dir, "t.gpx", c.trkpts, c.nombre);
        const QString out = dir.filePath("t.kml");
        QFile::remove(out);
        ASSERT_EQ(ExportarRuta(TFormatoRuta::frKML, gpx, out), QString());
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(xmlMalFormado(bytes), QString()) << bytes.toStdString();
        EXPECT_TRUE(bytes.contains("\r\n" + QByteArray(c.linea) + "\r\n")) << bytes.toStdString();
    }
    // A name the program gives (the Google Earth view names the file's path) may hold
    // characters no XML can carry.
    TTrackPointStore store;
    LlenarPuntos(store, {{"41", "2"}});
    QStringList lines;
    EscribirKML(QString::fromUtf8("/tmp/a\x01b & <c>.gpx"), store, lines, 0xFF0000, 2);
    EXPECT_EQ(xmlMalFormado(BytesRuta(TFormatoRuta::frKML, lines)), QString());
    SetAppDirOverride(QString());
}

TEST(ExportarRuta, WritesOnlyANewFileOrWithForceARegularFileThatIsNotTheTrack) {
    QTemporaryDir dir;
    SetAppDirOverride(QStringLiteral(SENDERAL_APP_DIR));
    const QString gpx =
        escribirGpx(dir, "t.gpx", "<trkpt lat=\"41\" lon=\"2\"><ele>5</ele></trkpt>");
    QFile original(gpx);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray pista = original.readAll();
    const QString existe = dir.filePath("ya.kml");
    const QString fifo = dir.filePath("tubo.kml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString colgante = dir.filePath("colgante.kml");
    ASSERT_TRUE(QFile::link(dir.filePath("nada/no.kml"), colgante));
    const QString carpeta = dir.filePath("carpeta.kml");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    const struct {
        const char* guarda;
        QString destino;
        bool force;
        const char* motivo; // nullptr: written
    } casos[] = {
        {"an existing file without --force", existe, false, "ya existe"},
        {"an existing file with --force", existe, true, nullptr},
        {"a pipe", fifo, true, "tubería"},
        {"a dangling symbolic link", colgante, true, "enlace simbólico"},
        {"a folder", carpeta, true, "carpeta"},
        {"the track itself", gpx, true, "mismo fichero que el origen"},
        {"the track itself without --force", gpx, false, "mismo fichero que el origen"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        {
            QFile f(existe);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("mio");
        }
        QStringList args{"kml", gpx, c.destino};
        if (c.force)
            args.prepend("--force");
        const QString error = ExportarRuta(TFormatoRuta::frKML, gpx, c.destino, c.force);
        EXPECT_EQ(EjecutarExportacion(args), c.motivo ? 1 : 0);
        QFile e(existe);
        ASSERT_TRUE(e.open(QIODevice::ReadOnly));
        if (!c.motivo) {
            EXPECT_EQ(error, QString());
            EXPECT_TRUE(e.readAll().startsWith("<?xml"));
            continue;
        }
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.motivo))) << error.toStdString();
        EXPECT_EQ(e.readAll(), "mio");
        QFile g(gpx);
        ASSERT_TRUE(g.open(QIODevice::ReadOnly));
        EXPECT_EQ(g.readAll(), pista) << "the track is never overwritten";
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(colgante).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nada")));
    EXPECT_TRUE(QFileInfo(carpeta).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files | QDir::System).filter(".ya"),
              QStringList())
        << "no temporary file left";
    SetAppDirOverride(QString());
}
