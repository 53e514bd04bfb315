#include "FicherosPrueba.h"
#include "FormData.h"
#include "GpxReader.h"
#include "Log.h"
#include "Medidas.h"
#include "SenderalError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const char* const kGpx11 = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="Senderal test" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
     xmlns:gpxx="http://www.garmin.com/xmlschemas/GpxExtensions/v3">
 <metadata>
  <link href="https://senderal.example/"><text>Senderal</text></link>
  <time>2022-05-14T06:40:00Z</time>
  <bounds minlat="41.7" minlon="2.4" maxlat="41.8" maxlon="2.5"/>
 </metadata>
 <wpt lat="1.5" lon="1.5"><ele>1</ele></wpt>
 <rte><rtept lat="2.5" lon="2.5"/></rte>
 <trk>
  <name>Montseny &amp; Matagalls</name>
  <extensions><gpxx:TrackExtension><gpxx:DisplayColor>Red</gpxx:DisplayColor></gpxx:TrackExtension></extensions>
  <trkseg>
   <trkpt lat="41.7700" lon="2.4300"><ele>620.5</ele><time>2022-05-14T06:40:00Z</time></trkpt>
   <trkpt lat='41.7710' lon='2.4310'>
    <!-- a comment between the fields -->
    <ele>630</ele>
    <time>2022-05-14T06:40:05Z</time>
    <extensions><other><ele>9999</ele></other></extensions>
   </trkpt>
  </trkseg>
 </trk>
</gpx>
)";

const QString kSinMapeo = QStringLiteral(
    "Error; No existe la librería de importación <GpxDS.dd>, que debe estar junto con el "
    "fichero de la aplicación.");
const QString kSinFichero = QStringLiteral("No está configurado el fichero da track (.GPX)");
const QStringList kLineasBuenas{QString(),
                                QStringLiteral("Abrir Datasets"),
                                QStringLiteral("+ cdsTrack.Open"),
                                QStringLiteral("- cdsTrack.Open"),
                                QStringLiteral("+ cdsPoints.Open"),
                                QStringLiteral("- cdsPoints.Open"),
                                QStringLiteral("DataSets Abiertos")};

QString errorDeApertura(const QString& path) {
    return QStringLiteral("Error al abrir el fichero de track.\r\n<%1>").arg(path);
}

class LecturaGpx : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(CopiarMapeo(dir.path()));
        data.CarpetaMapeo = dir.path();
        data.MostrarError = [this](const QString& text) { errores << text; };
    }

    QString escribir(const QByteArray& bytes, const QString& name = QStringLiteral("track.gpx")) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    void abrir(const QByteArray& bytes) {
        data.XMLDataFile = escribir(bytes);
        data.OpenData();
    }

    void esperarCerrado() {
        EXPECT_FALSE(data.cdsTrack.Active());
        EXPECT_FALSE(data.cdsPoints.Active());
        EXPECT_EQ(data.cdsTrack.RecordCount(), 0);
        EXPECT_EQ(data.cdsPoints.RecordCount(), 0);
    }

    // The failure of step 4: the two opening lines, then "ERROR: " and the reason.
    void esperarFalloDeLectura(const QString& path) {
        const QStringList& l = log.Lineas();
        ASSERT_EQ(l.size(), 4) << l.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(l.mid(0, 3), kLineasBuenas.mid(0, 3));
        EXPECT_TRUE(l[3].startsWith(QLatin1String("ERROR: ")) && l[3].size() > 10)
            << l[3].toStdString();
        EXPECT_EQ(errores, QStringList{errorDeApertura(path)});
        esperarCerrado();
    }

    QString punto(int i, CampoPunto f) const { return data.cdsPoints.valor(i, f); }

    QTemporaryDir dir;
    TLog log;
    TFormData data{&log};
    QStringList errores;
};
} // namespace

TEST_F(LecturaGpx, OpensHeaderAndPointsAndLogsEachStep) {
    abrir(kGpx11);
    EXPECT_EQ(log.Lineas(), kLineasBuenas);
    EXPECT_TRUE(errores.isEmpty());
    ASSERT_TRUE(data.cdsTrack.Active());
    ASSERT_TRUE(data.cdsPoints.Active());

    const TrackHeader& h = data.cdsTrack.Cabecera();
    EXPECT_EQ(h.creator, "Senderal test");
    EXPECT_EQ(h.version, "1.1");
    EXPECT_EQ(h.xsi, "http://www.w3.org/2001/XMLSchema-instance");
    EXPECT_EQ(h.href, "https://senderal.example/");
    EXPECT_EQ(h.text, "Senderal");
    EXPECT_EQ(h.time, "2022-05-14T06:40:00Z");
    EXPECT_EQ(h.maxlat, "41.8");
    EXPECT_EQ(h.maxlon, "2.5");
    EXPECT_EQ(h.minlat, "41.7");
    EXPECT_EQ(h.minlon, "2.4");
    EXPECT_EQ(h.name, "Montseny & Matagalls");
    EXPECT_EQ(h.DisplayColor, "Red");

    // Waypoints and route points are not track points; an <ele> inside the point's
    // extensions is not the point's elevation.
    ASSERT_EQ(data.cdsPoints.RecordCount(), 2);
    EXPECT_EQ(punto(0, CampoPunto::Lat), "41.7700");
    EXPECT_EQ(punto(0, CampoPunto::Lon), "2.4300");
    EXPECT_EQ(punto(0, CampoPunto::Ele), "620.5");
    EXPECT_EQ(punto(0, CampoPunto::Time), "2022-05-14T06:40:00Z");
    EXPECT_EQ(punto(1, CampoPunto::Lat), "41.7710");
    EXPECT_EQ(punto(1, CampoPunto::Ele), "630");
    EXPECT_EQ(punto(1, CampoPunto::Time), "2022-05-14T06:40:05Z");
}

TEST_F(LecturaGpx, FieldsAreFoundByNameWithoutRegardToCase) {
    abrir(kGpx11);
    TTrackPointStore& p = data.cdsPoints;
    p.First();
    EXPECT_EQ(p.FieldByName(u"Ele"), "620.5");
    EXPECT_EQ(p.FieldByName(u"TIME"), "2022-05-14T06:40:00Z");
    p.Next();
    EXPECT_EQ(p.FieldByName(u"lat"), "41.7710");
    EXPECT_EQ(p.FieldByName(u"speed"), QString()) << "an unknown field is empty";
    p.Next();
    EXPECT_TRUE(p.Eof());
    EXPECT_EQ(p.FieldByName(u"lat"), QString()) << "past the end is empty";
    data.cdsTrack.First();
    EXPECT_EQ(data.cdsTrack.FieldByName(u"displaycolor"), "Red");
    EXPECT_EQ(data.cdsTrack.FieldByName(u"Name"), "Montseny & Matagalls");
}

TEST_F(LecturaGpx, Encodings) {
    const QString nombre = QStringLiteral("Sóller, Deià");
    auto documento = [&nombre](const char* encoding) {
        QString prolog = encoding ? QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n")
                                        .arg(QLatin1String(encoding))
                                  : QString();
        return prolog + QStringLiteral("<gpx version=\"1.1\" creator=\"c\" "
                                       "xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n"
                                       "<trk><name>%1</name><trkseg>\r\n"
                                       "<trkpt lat=\"39.7\" lon=\"2.7\"><ele>50</ele></trkpt>\r\n"
                                       "<trkpt lat=\"39.8\" lon=\"2.8\"/>\r\n"
                                       "</trkseg></trk></gpx>\r\n")
                            .arg(nombre);
    };
    auto codificar = [](QStringConverter::Encoding e, const QString& s) {
        QStringEncoder enc(e);
        return QByteArray(enc.encode(s));
    };
    const struct {
        const char* guarda;
        QByteArray bytes;
    } casos[] = {
        {"UTF-8 declared", documento("UTF-8").toUtf8()},
        {"UTF-8 without a declaration", documento(nullptr).toUtf8()},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + documento("UTF-8").toUtf8()},
        {"UTF-16 little-endian with a byte-order mark",
         "\xFF\xFE" + codificar(QStringConverter::Utf16LE, documento("UTF-16"))},
        {"UTF-16 big-endian with a byte-order mark",
         "\xFE\xFF" + codificar(QStringConverter::Utf16BE, documento("UTF-16"))},
        {"UTF-16 little-endian without a mark",
         codificar(QStringConverter::Utf16LE, documento("UTF-16"))},
        {"UTF-16 big-endian without a mark",
         codificar(QStringConverter::Utf16BE, documento("UTF-16"))},
        {"ISO-8859-1 declared", documento("ISO-8859-1").toLatin1()},
        {"ISO-8859-1 declared in lower case", documento("iso-8859-1").toLatin1()},
        {"character references in plain ASCII",
         documento("US-ASCII")
             .replace(QStringLiteral("ó"), QStringLiteral("&#243;"))
             .replace(QStringLiteral("à"), QStringLiteral("&#xE0;"))
             .toLatin1()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        data.VaciarYCerrar();
        errores.clear();
        abrir(c.bytes);
        ASSERT_TRUE(data.cdsTrack.Active()) << log.Lineas().join('|').toStdString();
        EXPECT_EQ(data.cdsTrack.Cabecera().name, nombre);
        ASSERT_EQ(data.cdsPoints.RecordCount(), 2);
        EXPECT_EQ(punto(0, CampoPunto::Lat), "39.7");
        EXPECT_EQ(punto(0, CampoPunto::Ele), "50");
        EXPECT_EQ(punto(1, CampoPunto::Lon), "2.8");
        EXPECT_EQ(punto(1, CampoPunto::Ele), QString());
    }
}

TEST_F(LecturaGpx, OtherEightBitEncodingsNamedInTheProlog) {
    // 0x80 is the euro sign in windows-1252 and a control character in ISO-8859-1.
    abrir("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
          "<gpx version=\"1.1\"><trk><name>Peaje 5 \x80</name>"
          "<trkseg><trkpt lat=\"41\" lon=\"2\"/></trkseg></trk></gpx>");
    ASSERT_TRUE(data.cdsTrack.Active()) << log.Lineas().join('|').toStdString();
    EXPECT_EQ(data.cdsTrack.Cabecera().name, QStringLiteral("Peaje 5 €"));
}

TEST_F(LecturaGpx, Gpx10HeaderNodesAtTheRoot) {
    abrir(R"(<?xml version="1.0"?>
<gpx version="1.0" creator="GPS device" xmlns="http://www.topografix.com/GPX/1/0"
     xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<url>http://example.org/</url>
<urlname>Example</urlname>
<time>2005-03-01T09:00:00Z</time>
<bounds minlat="39.1" minlon="-0.5" maxlat="39.3" maxlon="-0.3"/>
<trk><name>Old track</name><trkseg>
<trkpt lat="39.2" lon="-0.4"><ele>10</ele><time>2005-03-01T09:00:00Z</time><course>12</course><speed>1.5</speed></trkpt>
</trkseg></trk>
</gpx>)");
    ASSERT_TRUE(data.cdsTrack.Active());
    const TrackHeader& h = data.cdsTrack.Cabecera();
    EXPECT_EQ(h.version, "1.0");
    EXPECT_EQ(h.creator, "GPS device");
    EXPECT_EQ(h.xsi, "http://www.w3.org/2001/XMLSchema-instance");
    EXPECT_EQ(h.href, "http://example.org/");
    EXPECT_EQ(h.text, "Example");
    EXPECT_EQ(h.time, "2005-03-01T09:00:00Z");
    EXPECT_EQ(h.minlat, "39.1");
    EXPECT_EQ(h.maxlon, "-0.3");
    EXPECT_EQ(h.name, "Old track");
    ASSERT_EQ(data.cdsPoints.RecordCount(), 1);
    EXPECT_EQ(punto(0, CampoPunto::Lon), "-0.4");
    EXPECT_EQ(punto(0, CampoPunto::Ele), "10");
}

TEST_F(LecturaGpx, EveryTrackAndSegmentIsAppendedInDocumentOrder) {
    abrir(R"(<gpx version="1.1" creator="c" xmlns="http://www.topografix.com/GPX/1/1">
<trk><name>First</name>
 <trkseg><trkpt lat="1" lon="0"/><trkpt lat="2" lon="0"/></trkseg>
 <trkseg><trkpt lat="3" lon="0"/></trkseg>
</trk>
<trk><name>Second</name><trkseg><trkpt lat="4" lon="0"/></trkseg></trk>
</gpx>)");
    ASSERT_EQ(data.cdsPoints.RecordCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(punto(i, CampoPunto::Lat), QString::number(i + 1));
    EXPECT_EQ(data.cdsTrack.Cabecera().name, "First") << "the header names the first track";
}

TEST_F(LecturaGpx, PointsWithoutElevationOrTimeOpenWithEmptyFields) {
    abrir(R"(<gpx version="1.1" creator="c"><trk><trkseg>
<trkpt lat="41.0" lon="2.0"/>
<trkpt lat="41.001" lon="2.002"><ele></ele><time/></trkpt>
<trkpt lat="41.0005" lon="2.004"><ele>505</ele></trkpt>
</trkseg></trk></gpx>)");
    ASSERT_TRUE(data.cdsPoints.Active());
    ASSERT_EQ(data.cdsPoints.RecordCount(), 3);
    EXPECT_EQ(punto(0, CampoPunto::Ele), QString());
    EXPECT_EQ(punto(0, CampoPunto::Time), QString());
    EXPECT_EQ(punto(1, CampoPunto::Ele), QString());
    EXPECT_EQ(punto(1, CampoPunto::Time), QString());
    const TResultadoMedidas r = CalcularMedidasRuta(data.cdsPoints);
    EXPECT_EQ(r.puntos[0].Elevacion, 505) << "points before the first elevation take it";
    EXPECT_EQ(r.puntos[2].AscAcumulado, 0);
    EXPECT_EQ(r.puntos[2].FechaHora, 0);
}

TEST_F(LecturaGpx, AFileWithoutTrackOrRoutePointsIsRefusedNamingIt) {
    const struct {
        const char* guarda;
        const char* gpx;
    } casos[] = {
        {"empty segment",
         R"(<gpx version="1.1" creator="e"><trk><name>Nada</name><trkseg/></trk></gpx>)"},
        {"only waypoints",
         R"(<gpx version="1.1"><wpt lat="41" lon="2"><name>Fuente</name></wpt></gpx>)"},
        {"an empty route",
         R"(<gpx version="1.1"><rte><name>Plan</name></rte><trk><trkseg/></trk></gpx>)"},
        {"nothing at all", R"(<gpx version="1.1"/>)"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        errores.clear();
        abrir(c.gpx);
        ASSERT_EQ(errores.size(), 1);
        EXPECT_EQ(errores[0],
                  QStringLiteral("El fichero track.gpx no contiene puntos de track ni de ruta."));
        esperarCerrado();
    }
}

// Planned routes carry route points only: the first route stands in for the track.
TEST_F(LecturaGpx, RoutePointsAreTheTrackWhenTheTracksHoldNone) {
    const struct {
        const char* guarda;
        const char* gpx;
        QStringList lat; // the points read, in order
    } casos[] = {
        {"a planned route",
         R"(<gpx version="1.1"><wpt lat="9" lon="9"/><rte><name>Plan</name>
              <rtept lat="41.1" lon="2.1"><ele>100</ele><time>2022-05-14T06:40:00Z</time></rtept>
              <rtept lat="41.2" lon="2.2"><ele>110</ele></rtept><rtept lat="41.3" lon="2.3"/></rte></gpx>)",
         {"41.1", "41.2", "41.3"}},
        {"only the first of two routes",
         R"(<gpx><rte><rtept lat="1" lon="1"/><rtept lat="2" lon="2"/></rte>
              <rte><rtept lat="3" lon="3"/></rte></gpx>)",
         {"1", "2"}},
        {"a track with empty segments after the route",
         R"(<gpx><rte><rtept lat="1" lon="1"/></rte><trk><trkseg/></trk></gpx>)",
         {"1"}},
        {"track points win over an earlier route",
         R"(<gpx><rte><rtept lat="1" lon="1"/></rte><trk><trkseg><trkpt lat="5" lon="5"/>
              <trkpt lat="6" lon="6"/></trkseg></trk></gpx>)",
         {"5", "6"}},
        {"a later route adds nothing to the track",
         R"(<gpx><trk><trkseg><trkpt lat="5" lon="5"/></trkseg></trk><rte><rtept lat="1" lon="1"/></rte></gpx>)",
         {"5"}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        errores.clear();
        abrir(c.gpx);
        ASSERT_TRUE(data.cdsTrack.Active()) << errores.join('|').toStdString();
        QStringList lat;
        for (int i = 0; i < data.cdsPoints.RecordCount(); ++i)
            lat << punto(i, CampoPunto::Lat);
        EXPECT_EQ(lat, c.lat);
    }
    abrir(casos[0].gpx);
    EXPECT_EQ(punto(0, CampoPunto::Ele), "100");
    EXPECT_EQ(punto(0, CampoPunto::Time), "2022-05-14T06:40:00Z");
    EXPECT_EQ(punto(1, CampoPunto::Lon), "2.2");
    EXPECT_EQ(punto(2, CampoPunto::Ele), QString());
}

// A logger whose battery died leaves a file cut short: the points before the cut can be
// opened, the one it was writing cannot.
TEST_F(LecturaGpx, ADamagedFileOffersThePointsReadBeforeTheDamage) {
    const QByteArray bueno(kGpx11);
    const struct {
        const char* guarda;
        QByteArray bytes;
        int puntos;
    } casos[] = {
        {"cut inside the second point", bueno.left(bueno.indexOf("<ele>630")), 1},
        {"cut inside an attribute of the second point", bueno.left(bueno.indexOf("41.7710") + 3),
         1},
        {"cut after the last point", bueno.left(bueno.indexOf("</trkseg>")), 2},
        {"garbage after the first point", bueno.left(bueno.indexOf("<trkpt lat='41.7710'")) + "<<<",
         1},
    };
    for (const bool abrirlos : {true, false}) {
        for (const auto& c : casos) {
            SCOPED_TRACE(c.guarda);
            SCOPED_TRACE(abrirlos ? "Yes" : "No");
            errores.clear();
            QString detalle;
            int ofrecidos = -1;
            data.AbrirIncompleto = [&](const QString& d, int n) {
                detalle = d;
                ofrecidos = n;
                return abrirlos;
            };
            abrir(c.bytes);
            EXPECT_EQ(ofrecidos, c.puntos);
            EXPECT_TRUE(
                detalle.contains(QRegularExpression(QStringLiteral("línea \\d+, columna \\d+"))))
                << detalle.toStdString();
            EXPECT_TRUE(errores.isEmpty()) << "the question already said what is wrong";
            if (!abrirlos) {
                esperarCerrado();
                continue;
            }
            ASSERT_TRUE(data.cdsTrack.Active());
            ASSERT_EQ(data.cdsPoints.RecordCount(), c.puntos);
            EXPECT_EQ(punto(0, CampoPunto::Ele), "620.5");
            EXPECT_EQ(data.Incompleto, detalle);
            EXPECT_EQ(data.cdsTrack.Cabecera().name, "Montseny & Matagalls");
        }
    }
    // Without anyone to ask (the command-line tools) the file is refused, saying where.
    data.AbrirIncompleto = nullptr;
    errores.clear();
    abrir(casos[0].bytes);
    esperarCerrado();
    ASSERT_EQ(errores.size(), 1);
    EXPECT_TRUE(errores[0].startsWith(errorDeApertura(data.XMLDataFile)));
    EXPECT_TRUE(errores[0].contains(QRegularExpression(QStringLiteral("línea \\d+, columna \\d+"))))
        << errores[0].toStdString();
    // A whole file opened afterwards is no longer marked incomplete.
    abrir(bueno);
    EXPECT_TRUE(data.Incompleto.isEmpty());
}

TEST_F(LecturaGpx, TextForms) {
    abrir("<!DOCTYPE gpx SYSTEM \"gpx.dtd\">\r\n<?senderal test?>\r\n"
          "<gpx version=\"1.1\" creator=\"a &lt;b&gt; &quot;c&quot; &apos;d&apos;\">\r\n"
          "<metadata><link href=\"x\"><text>line one\r\nline two</text></link></metadata>\r\n"
          "<trk><name><![CDATA[Sóller &amp; <Deià>\r\n]]></name><trkseg>\r\n"
          "<trkpt lat=\" 41.5 \" lon=\"2&#46;5\"><ele>1<!-- split -->00</ele></trkpt>\r\n"
          "</trkseg></trk></gpx>\r\n<!-- after the root -->\r\n");
    ASSERT_TRUE(data.cdsTrack.Active()) << log.Lineas().join('|').toStdString();
    const TrackHeader& h = data.cdsTrack.Cabecera();
    EXPECT_EQ(h.creator, "a <b> \"c\" 'd'");
    EXPECT_EQ(h.text, "line one\nline two") << "CR LF is read as LF";
    EXPECT_EQ(h.name, QStringLiteral("Sóller &amp; <Deià>\n")) << "CDATA is taken literally";
    EXPECT_EQ(punto(0, CampoPunto::Lat), " 41.5 ");
    EXPECT_EQ(punto(0, CampoPunto::Lon), "2.5");
    EXPECT_EQ(punto(0, CampoPunto::Ele), "100") << "text split by a comment is one value";
}

TEST_F(LecturaGpx, BadInputGivesTheOpenErrorAndClosedStores) {
    QByteArray binario;
    for (int i = 0; i < 4096; ++i)
        binario += char((i * 7919) & 0xFF);
    const QByteArray bueno(kGpx11);
    QByteArray muchosAtributos = "<gpx";
    for (int i = 0; i < 50000; ++i)
        muchosAtributos += " a" + QByteArray::number(i) + "=\"\"";
    muchosAtributos += " a49999=\"\"/>";
    const struct {
        const char* guarda;
        QByteArray bytes;
        const char* motivo; // a piece of the ERROR line
    } casos[] = {
        {"tags that do not match", "<gpx version=\"1.1\">\n<trk>\n</gpx>", "línea 3"},
        {"an end tag of the same length with another name", "<gpx><trk><name>x</namf></trk></gpx>",
         "</namf>"},
        {"truncated in a point", bueno.left(bueno.indexOf("<ele>630")), "fin inesperado"},
        {"truncated in an attribute value", bueno.left(bueno.indexOf("41.7710") + 3),
         "fin del fichero"},
        {"truncated in a tag", bueno.left(bueno.indexOf("<trkpt") + 4), "fin inesperado"},
        {"0-byte file", QByteArray(), "vacío"},
        {"only white space", "  \r\n ", "raíz"},
        {"binary file", binario, "línea 1"},
        {"not GPX",
         "<?xml version=\"1.0\"?><kml xmlns=\"http://www.opengis.net/kml/2.2\">"
         "<Document/></kml>",
         "kml"},
        {"an HTML page", "<!DOCTYPE html><html><body><p>Not found</p></body></html>", "html"},
        {"a JSON file", "{\"lat\": 41.0, \"lon\": 2.0}", "línea 1, columna 1"},
        {"a CSV file", "lat,lon\n41.0,2.0\n", "línea 1, columna 1"},
        {"an undeclared entity", "<gpx><trk><name>A&nbsp;B</name></trk></gpx>", "&nbsp;"},
        {"a lone ampersand", "<gpx><trk><name>A & B</name></trk></gpx>", "&"},
        {"a reference to a control character", "<gpx><trk><name>A&#1;</name></trk></gpx>",
         "carácter"},
        {"a control character in the text", "<gpx><trk><name>A\x01</name></trk></gpx>", "carácter"},
        {"UTF-8 declared but Latin-1 written",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><gpx><trk><name>S\xF3ller</name></trk></gpx>",
         "carácter"},
        {"an encoding nobody knows", "<?xml version=\"1.0\" encoding=\"X-NOTHING\"?><gpx/>",
         "X-NOTHING"},
        {"UTF-16 declared but 8-bit written", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx/>",
         "UTF-16"},
        {"an attribute without quotes",
         "<gpx><trk><trkseg><trkpt lat=41 lon=\"2\"/></trkseg></trk></gpx>", "comillas"},
        {"a repeated attribute among very many", muchosAtributos, "a49999"},
        {"a repeated attribute",
         "<gpx><trk><trkseg><trkpt lat=\"1\" lat=\"2\"/></trkseg></trk></gpx>", "repetido"},
        {"attributes run together",
         "<gpx><trk><trkseg><trkpt lat=\"1\"lon=\"2\"/></trkseg></trk></gpx>", "atributo"},
        {"'<' in an attribute value", "<gpx creator=\"a<b\"/>", "'<'"},
        {"an unclosed comment", "<gpx><!-- no end </gpx>", "comentario"},
        {"a second root", "<gpx/><gpx/>", "después"},
        {"text before the root", "hello <gpx/>", "texto"},
        {"a misplaced XML declaration", "<gpx><?xml version=\"1.0\"?></gpx>", "declaración"},
        {"an unclosed CDATA section", "<gpx><trk><name><![CDATA[abc</name></trk></gpx>", "CDATA"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        TLog nuevo;
        errores.clear();
        TFormData otra(&nuevo);
        otra.CarpetaMapeo = dir.path();
        otra.MostrarError = [this](const QString& t) { errores << t; };
        otra.XMLDataFile = escribir(c.bytes);
        otra.OpenData();
        const QStringList& l = nuevo.Lineas();
        ASSERT_EQ(l.size(), 4) << l.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(l.mid(0, 3), kLineasBuenas.mid(0, 3));
        EXPECT_TRUE(l[3].startsWith(QLatin1String("ERROR: "))) << l[3].toStdString();
        EXPECT_TRUE(l[3].contains(QString::fromUtf8(c.motivo))) << l[3].toStdString();
        ASSERT_EQ(errores.size(), 1);
        // A file damaged inside its root also says where; the rest is the same box.
        EXPECT_TRUE(errores[0].startsWith(errorDeApertura(otra.XMLDataFile)))
            << errores[0].toStdString();
        EXPECT_FALSE(otra.cdsTrack.Active());
        EXPECT_FALSE(otra.cdsPoints.Active());
        EXPECT_EQ(otra.cdsPoints.RecordCount(), 0);
    }
}

TEST_F(LecturaGpx, EntityExpansionBombEndsAtOnceWithAnError) {
    QByteArray bomba = "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n <!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        bomba += QStringLiteral(" <!ENTITY lol%1 \"").arg(i).toUtf8();
        for (int k = 0; k < 10; ++k)
            bomba += i == 1 ? QByteArray("&lol;") : QStringLiteral("&lol%1;").arg(i - 1).toUtf8();
        bomba += "\">\n";
    }
    bomba += "]>\n<gpx version=\"1.1\" creator=\"&lol9;\"><trk><name>&lol9;</name></trk></gpx>\n";
    abrir(bomba);
    esperarFalloDeLectura(data.XMLDataFile);
    EXPECT_TRUE(log.Lineas().last().contains(QLatin1String("lol9")))
        << log.Lineas().last().toStdString();
}

TEST_F(LecturaGpx, MissingFileGivesTheOpenError) {
    data.XMLDataFile = dir.filePath(QStringLiteral("no-such-track.gpx"));
    data.OpenData();
    esperarFalloDeLectura(data.XMLDataFile);
    EXPECT_TRUE(log.Lineas().last().contains(QLatin1String("no-such-track.gpx")));
}

TEST_F(LecturaGpx, AFolderInsteadOfAFileGivesTheOpenError) {
    data.XMLDataFile = dir.path();
    data.OpenData();
    esperarFalloDeLectura(data.XMLDataFile);
}

TEST_F(LecturaGpx, UnreadableLatitudeIsAConversionErrorOfTheMeasures) {
    const struct {
        const char* guarda;
        const char* lat;
    } casos[] = {{"empty latitude", ""}, {"non-numeric latitude", "north"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        data.VaciarYCerrar();
        abrir(QStringLiteral("<gpx version=\"1.1\"><trk><trkseg>"
                             "<trkpt lat=\"41.0\" lon=\"2.0\"/><trkpt lat=\"%1\" lon=\"2.0\"/>"
                             "</trkseg></trk></gpx>")
                  .arg(QLatin1String(c.lat))
                  .toUtf8());
        ASSERT_TRUE(data.cdsPoints.Active()) << "the text is kept as read";
        EXPECT_EQ(punto(1, CampoPunto::Lat), QLatin1String(c.lat));
        try {
            CalcularMedidasRuta(data.cdsPoints);
            ADD_FAILURE() << "no conversion error";
        } catch (const ESenderalError& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("'%1'").arg(QLatin1String(c.lat))))
                << e.text().toStdString();
        }
        EXPECT_THROW(CalcularDistanciaTotal(data.cdsPoints), ESenderalError);
    }
}

TEST_F(LecturaGpx, MissingMappingFileIsToldBeforeTheTrackPath) {
    QTemporaryDir vacio;
    for (const QString& path : {QString(), dir.filePath(QStringLiteral("no-such-track.gpx"))}) {
        SCOPED_TRACE(path.toStdString());
        TLog nuevo;
        TFormData otra(&nuevo);
        otra.CarpetaMapeo = vacio.path();
        errores.clear();
        otra.MostrarError = [this](const QString& t) { errores << t; };
        otra.XMLDataFile = path;
        otra.OpenData();
        EXPECT_EQ(nuevo.Lineas(), (QStringList{QString(), kSinMapeo}));
        EXPECT_EQ(errores, QStringList{kSinMapeo});
        EXPECT_FALSE(otra.cdsTrack.Active());
        EXPECT_FALSE(otra.cdsPoints.Active());
    }
}

TEST_F(LecturaGpx, EmptyTrackPathIsToldWithoutOpeningAnything) {
    data.XMLDataFile.clear();
    data.OpenData();
    EXPECT_EQ(log.Lineas(), (QStringList{QString(), kSinFichero}));
    EXPECT_EQ(errores, QStringList{kSinFichero});
    esperarCerrado();
}

TEST_F(LecturaGpx, MalformedMappingFileGivesTheOpenError) {
    QFile map(dir.filePath(QStringLiteral("GpxDS.dll")));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly | QIODevice::Truncate));
    map.write("\x7f"
              "ELF binary, not a mapping\n");
    map.close();
    abrir(kGpx11);
    esperarFalloDeLectura(data.XMLDataFile);
    EXPECT_TRUE(log.Lineas().last().contains(QLatin1String("GpxDS.dll")));
}

TEST_F(LecturaGpx, AFailureAfterATrackLeavesTheStoresClosedAndEmpty) {
    abrir(kGpx11);
    ASSERT_EQ(data.cdsPoints.RecordCount(), 2);
    // Even without the close that normally comes first, a failed read closes both.
    abrir("<gpx><trk>");
    esperarCerrado();
    abrir(kGpx11);
    EXPECT_EQ(data.cdsPoints.RecordCount(), 2);
}

TEST_F(LecturaGpx, ReadingAgainDoesNotMixTwoTracks) {
    abrir(kGpx11);
    abrir(
        R"(<gpx version="1.1"><trk><name>B</name><trkseg><trkpt lat="5" lon="5"/></trkseg></trk></gpx>)");
    ASSERT_EQ(data.cdsPoints.RecordCount(), 1);
    EXPECT_EQ(punto(0, CampoPunto::Lat), "5");
    EXPECT_EQ(data.cdsTrack.Cabecera().name, "B");
    EXPECT_EQ(data.cdsTrack.Cabecera().creator, QString()) << "nothing left of the first header";
}

TEST(LeerGpx, ReadsFromAnyDevice) {
    // A device that is not a file is read whole rather than mapped.
    QFile mapFile(QStringLiteral(SENDERAL_SOURCE_DIR "/data/GpxDS.dll"));
    ASSERT_TRUE(mapFile.open(QIODevice::ReadOnly));
    TGpxMapping mapping;
    QString error;
    ASSERT_TRUE(TGpxMapping::Parse(mapFile.readAll(), mapping, error)) << error.toStdString();
    QByteArray bytes(kGpx11);
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    TrackHeader header;
    TTrackPointStore points;
    ASSERT_TRUE(LeerGpx(buffer, mapping, header, points, error)) << error.toStdString();
    EXPECT_EQ(header.name, "Montseny & Matagalls");
    ASSERT_EQ(points.RecordCount(), 2);
    EXPECT_EQ(points.texto(1, CampoPunto::Lon), "2.4310");

    QByteArray roto("<gpx>\n<trk>\n<name>x</trk>");
    QBuffer malo(&roto);
    ASSERT_TRUE(malo.open(QIODevice::ReadOnly));
    TTrackPointStore otros;
    EXPECT_FALSE(LeerGpx(malo, mapping, header, otros, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("línea 3, columna 8: "))) << error.toStdString();
}
