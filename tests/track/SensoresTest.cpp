// Heart rate, cadence, power and temperature read from the extensions devices write,
// recognised by namespace whatever prefix the file gives it.
#include "GpxMapping.h"
#include "GpxReader.h"
#include "TrackStores.h"

#include <QBuffer>
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

namespace {
TGpxMapping mapeo() {
    QFile f(QStringLiteral(SENDERAL_SOURCE_DIR "/data/GpxDS.dll"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    TGpxMapping m;
    QString error;
    EXPECT_TRUE(TGpxMapping::Parse(f.readAll(), m, error)) << error.toStdString();
    return m;
}

// A GPX 1.1 document whose two points carry `ext1` and `ext2` as their extensions; the
// namespaces are declared on the root under `decl`.
QByteArray documento(const char* decl, const char* ext1, const char* ext2) {
    return QByteArray("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"t\" "
                      "xmlns=\"http://www.topografix.com/GPX/1/1\" ") +
           decl + "><trk><trkseg>\n<trkpt lat=\"41\" lon=\"2\"><ele>1</ele><extensions>" + ext1 +
           "</extensions></trkpt>\n<trkpt lat=\"41.001\" lon=\"2\"><ele>2</ele><extensions>" +
           ext2 + "</extensions></trkpt>\n</trkseg></trk></gpx>\n";
}

struct Caso {
    const char* guarda;
    QByteArray gpx;
    Sensor sensor;
    double punto1, punto2; // NaN: no value
};

const double kNada = std::nan("");

#define TPX1 "http://www.garmin.com/xmlschemas/TrackPointExtension/v1"
#define TPX2 "http://www.garmin.com/xmlschemas/TrackPointExtension/v2"
#define GPXX "http://www.garmin.com/xmlschemas/GpxExtensions/v3"
#define GPXDATA "http://www.cluetrust.com/XML/GPXDATA/1/0"

std::vector<Caso> casos() {
    return {
        {"TrackPointExtension v1 hr, two prefixes",
         documento(
             "xmlns:gpxtpx=\"" TPX1 "\" xmlns:ns3=\"" TPX1 "\"",
             "<gpxtpx:TrackPointExtension><gpxtpx:hr>121</gpxtpx:hr></gpxtpx:TrackPointExtension>",
             "<ns3:TrackPointExtension><ns3:hr>135</ns3:hr></ns3:TrackPointExtension>"),
         Sensor::Pulso, 121, 135},
        {"TrackPointExtension v1 cad and atemp",
         documento("xmlns:gpxtpx=\"" TPX1 "\"",
                   "<gpxtpx:TrackPointExtension><gpxtpx:atemp>18.5</gpxtpx:atemp>"
                   "<gpxtpx:cad>88</gpxtpx:cad></gpxtpx:TrackPointExtension>",
                   "<gpxtpx:TrackPointExtension><gpxtpx:cad>91</gpxtpx:cad></"
                   "gpxtpx:TrackPointExtension>"),
         Sensor::Cadencia, 88, 91},
        {"TrackPointExtension v2 hr, prefix declared on the element",
         documento("xmlns:tpx2=\"" TPX2 "\"",
                   "<tpx2:TrackPointExtension><tpx2:hr>99</tpx2:hr></tpx2:TrackPointExtension>",
                   "<x:TrackPointExtension xmlns:x=\"" TPX2
                   "\"><x:hr>101</x:hr></x:TrackPointExtension>"),
         Sensor::Pulso, 99, 101},
        {"TrackPointExtension v2 as default namespace, wtemp",
         documento("xmlns:a=\"" TPX2 "\"",
                   "<a:TrackPointExtension><a:wtemp>14</a:wtemp></a:TrackPointExtension>",
                   "<TrackPointExtension xmlns=\"" TPX2
                   "\"><wtemp>15.5</wtemp></TrackPointExtension>"),
         Sensor::Temperatura, 14, 15.5},
        {"air temperature goes before water temperature",
         documento("xmlns:a=\"" TPX2 "\"",
                   "<a:TrackPointExtension><a:wtemp>14</a:wtemp><a:atemp>25</a:atemp></"
                   "a:TrackPointExtension>",
                   "<a:TrackPointExtension><a:atemp>26</a:atemp><a:wtemp>13</a:wtemp></"
                   "a:TrackPointExtension>"),
         Sensor::Temperatura, 25, 26},
        {"GpxExtensions v3 Temperature, two prefixes",
         documento("xmlns:gpxx=\"" GPXX "\" xmlns:g3=\"" GPXX "\"",
                   "<gpxx:TrackPointExtension><gpxx:Temperature>-3.5</gpxx:Temperature></"
                   "gpxx:TrackPointExtension>",
                   "<g3:TrackPointExtension><g3:Temperature>-4</g3:Temperature></"
                   "g3:TrackPointExtension>"),
         Sensor::Temperatura, -3.5, -4},
        {"gpxdata hr, two prefixes",
         documento("xmlns:gpxdata=\"" GPXDATA "\" xmlns:gd=\"" GPXDATA "\"",
                   "<gpxdata:hr>150</gpxdata:hr>", "<gd:hr>152</gd:hr>"),
         Sensor::Pulso, 150, 152},
        {"gpxdata cadence",
         documento("xmlns:gpxdata=\"" GPXDATA "\" xmlns:gd=\"" GPXDATA "\"",
                   "<gpxdata:cadence>70</gpxdata:cadence>", "<gd:cadence>72</gd:cadence>"),
         Sensor::Cadencia, 70, 72},
        {"gpxdata temp",
         documento("xmlns:gpxdata=\"" GPXDATA "\" xmlns:gd=\"" GPXDATA "\"",
                   "<gpxdata:temp>9</gpxdata:temp>", "<gd:temp>8.25</gd:temp>"),
         Sensor::Temperatura, 9, 8.25},
        {"bare power in the GPX namespace, and with the GPX namespace under a prefix",
         documento("xmlns:g=\"http://www.topografix.com/GPX/1/1\"", "<power>240</power>",
                   "<g:power>260</g:power>"),
         Sensor::Potencia, 240, 260},
        {"a value that is not a number is empty",
         documento(
             "xmlns:gpxtpx=\"" TPX1 "\"",
             "<gpxtpx:TrackPointExtension><gpxtpx:hr>fast</gpxtpx:hr></gpxtpx:TrackPointExtension>",
             "<gpxtpx:TrackPointExtension><gpxtpx:hr>130</gpxtpx:hr></gpxtpx:TrackPointExtension>"),
         Sensor::Pulso, kNada, 130},
        {"same local name in another namespace is not heart rate",
         documento(
             "xmlns:gpxtpx=\"" TPX1 "\" xmlns:o=\"urn:other\"", "<o:hr>77</o:hr>",
             "<gpxtpx:TrackPointExtension><gpxtpx:hr>131</gpxtpx:hr></gpxtpx:TrackPointExtension>"),
         Sensor::Pulso, kNada, 131},
        {"an undeclared prefix is no namespace",
         documento("xmlns:gpxtpx=\"" TPX1 "\"", "<gpxtpx:hr>100</gpxtpx:hr>",
                   "<q:TrackPointExtension xmlns:q=\"" TPX1
                   "\"><q:hr>102</q:hr></q:TrackPointExtension>"),
         Sensor::Pulso, 100, 102},
    };
}
} // namespace

TEST(Sensores, EachExtensionFormByNamespaceWhateverThePrefix) {
    const TGpxMapping m = mapeo();
    for (const Caso& c : casos()) {
        SCOPED_TRACE(c.guarda);
        QByteArray bytes = c.gpx;
        QBuffer buf(&bytes);
        ASSERT_TRUE(buf.open(QIODevice::ReadOnly));
        TrackHeader h;
        TTrackPointStore pts;
        QString error;
        ASSERT_TRUE(LeerGpx(buf, m, h, pts, error)) << error.toStdString();
        pts.Open();
        ASSERT_EQ(pts.RecordCount(), 2);
        EXPECT_EQ(pts.valor(1, CampoPunto::Ele), "2") << "the point's own fields stay";
        const TSensoresPuntos& s = pts.Sensores();
        ASSERT_TRUE(s.Tiene(c.sensor));
        const double esperado[] = {c.punto1, c.punto2};
        for (int i = 0; i < 2; ++i) {
            if (std::isnan(esperado[i]))
                EXPECT_FALSE(s.TieneValor(i, c.sensor)) << "point " << i;
            else
                EXPECT_DOUBLE_EQ(s.Valor(i, c.sensor), esperado[i]) << "point " << i;
        }
        // Only the quantities the file carries are there.
        int presentes = 0;
        for (int q = 0; q < NumSensores; ++q)
            presentes += s.Tiene(Sensor(q));
        const bool conAtemp = QByteArray(c.guarda).contains("atemp");
        EXPECT_EQ(presentes, conAtemp ? 2 : 1);
    }
}

TEST(Sensores, EmptyingTheStoreForgetsThem) {
    const TGpxMapping m = mapeo();
    QByteArray bytes = documento("xmlns:gd=\"" GPXDATA "\"", "<gd:hr>1</gd:hr>", "");
    QBuffer buf(&bytes);
    ASSERT_TRUE(buf.open(QIODevice::ReadOnly));
    TrackHeader h;
    TTrackPointStore pts;
    QString error;
    ASSERT_TRUE(LeerGpx(buf, m, h, pts, error)) << error.toStdString();
    pts.Open();
    ASSERT_TRUE(pts.Sensores().Tiene(Sensor::Pulso));
    EXPECT_FALSE(pts.Sensores().TieneValor(1, Sensor::Pulso)) << "the second point has none";
    pts.Close();
    EXPECT_FALSE(pts.Sensores().TieneAlguno());
}
