// The data page's sensor columns and whole-track figures (filtered climb, times).
#include "FormData.h"
#include "PaginaDatos.h"
#include "PointsModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {
#define TPX1 "http://www.garmin.com/xmlschemas/TrackPointExtension/v1"
#define GPXDATA "http://www.cluetrust.com/XML/GPXDATA/1/0"

// A Garmin watch's file: heart rate and cadence in TrackPointExtension v1; the third
// point lost its heart rate.
const char* const GpxPulsoCadencia = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="reloj" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:gpxtpx=")" TPX1 R"(">
 <trk><name>Carrera</name><trkseg>
  <trkpt lat="41.0000" lon="2.0000"><ele>100</ele><time>2021-05-01T10:00:00Z</time>
   <extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>121</gpxtpx:hr><gpxtpx:cad>80</gpxtpx:cad></gpxtpx:TrackPointExtension></extensions></trkpt>
  <trkpt lat="41.0010" lon="2.0000"><ele>104</ele><time>2021-05-01T10:00:30Z</time>
   <extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>135</gpxtpx:hr><gpxtpx:cad>84</gpxtpx:cad></gpxtpx:TrackPointExtension></extensions></trkpt>
  <trkpt lat="41.0020" lon="2.0000"><ele>110</ele><time>2021-05-01T10:01:00Z</time>
   <extensions><gpxtpx:TrackPointExtension><gpxtpx:cad>86</gpxtpx:cad></gpxtpx:TrackPointExtension></extensions></trkpt>
 </trkseg></trk>
</gpx>
)";

// A cycling computer's file: a bare power element and the gpxdata temperature.
const char* const GpxPotenciaTemperatura = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="ciclo" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:gpxdata=")" GPXDATA R"(">
 <trk><trkseg>
  <trkpt lat="41.0" lon="2.0"><ele>100</ele><extensions><power>210</power><gpxdata:temp>18.5</gpxdata:temp></extensions></trkpt>
  <trkpt lat="41.001" lon="2.0"><ele>101</ele><extensions><power>245</power><gpxdata:temp>18.25</gpxdata:temp></extensions></trkpt>
 </trkseg></trk>
</gpx>
)";

const char* const GpxSinExtensiones = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1">
 <trk><trkseg>
  <trkpt lat="41.0" lon="2.0"><ele>100</ele></trkpt>
  <trkpt lat="41.001" lon="2.0"><ele>120</ele></trkpt>
 </trkseg></trk>
</gpx>
)";

class PaginaDatosFiguras : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        datos.CarpetaMapeo = QStringLiteral(SENDERAL_SOURCE_DIR "/data");
        pagina = std::make_unique<TPaginaDatos>(&datos, nullptr);
        pagina->resize(1000, 700);
    }
    void TearDown() override { pagina.reset(); }

    // Opens `gpx` as the load sequence does: notifications held until the stores are full.
    void abrir(const QByteArray& gpx) {
        QFile f(dir.filePath(QStringLiteral("ruta.gpx")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(gpx);
        f.close();
        datos.cdsPoints.DisableControls();
        datos.cdsTrack.DisableControls();
        datos.XMLDataFile = f.fileName();
        datos.OpenData();
        datos.cdsPoints.EnableControls();
        datos.cdsTrack.EnableControls();
        ASSERT_TRUE(datos.cdsPoints.Active());
    }

    QString celda(int fila, int columna) const {
        const QAbstractItemModel* m = pagina->dbgPuntos->model();
        return m->data(m->index(fila, columna)).toString();
    }
    std::vector<int> columnasVisibles() const {
        std::vector<int> v;
        for (int c = 0; c < pagina->dbgPuntos->model()->columnCount(); ++c)
            if (!pagina->dbgPuntos->isColumnHidden(c))
                v.push_back(c);
        return v;
    }

    QTemporaryDir dir;
    TFormData datos;
    std::unique_ptr<TPaginaDatos> pagina;
};

using C = TPointsModel::Columna;

TEST_F(PaginaDatosFiguras, TheGridShowsAColumnOnlyForEachQuantityTheTrackHas) {
    const std::vector<int> basicas{C::Latitud,  C::Longitud, C::Elevacion,
                                   C::DateTime, C::Fecha,    C::Hora};
    auto con = [&](std::vector<int> extra) {
        std::vector<int> v = basicas;
        v.insert(v.end(), extra.begin(), extra.end());
        return v;
    };
    const struct {
        const char* guarda;
        QByteArray gpx;
        std::vector<int> visibles;
        const char* tituloExtra; // the first sensor column's title
    } casos[] = {
        {"no extensions: the six columns only", GpxSinExtensiones, basicas, nullptr},
        {"heart rate and cadence", GpxPulsoCadencia, con({C::Pulso, C::Cadencia}), "Pulso (ppm)"},
        {"power and temperature", GpxPotenciaTemperatura, con({C::Potencia, C::Temperatura}),
         "Potencia (W)"},
        {"back to no extensions", GpxSinExtensiones, basicas, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        abrir(c.gpx);
        EXPECT_EQ(columnasVisibles(), c.visibles);
        if (c.tituloExtra) {
            const int col = c.visibles[basicas.size()];
            EXPECT_EQ(pagina->dbgPuntos->model()->headerData(col, Qt::Horizontal).toString(),
                      QString::fromUtf8(c.tituloExtra));
        }
    }
    datos.VaciarYCerrar();
    EXPECT_EQ(columnasVisibles(), basicas);
}

TEST_F(PaginaDatosFiguras, SensorCellsHoldEachPointsValueAndNothingWhereItHasNone) {
    abrir(GpxPulsoCadencia);
    const struct {
        int fila, columna;
        const char* texto;
    } celdas[] = {
        {0, C::Pulso, "121"},   {1, C::Pulso, "135"},   {2, C::Pulso, ""},
        {0, C::Cadencia, "80"}, {2, C::Cadencia, "86"}, {1, C::Elevacion, "104"},
    };
    for (const auto& c : celdas) {
        SCOPED_TRACE(std::to_string(c.fila) + "," + std::to_string(c.columna));
        EXPECT_EQ(celda(c.fila, c.columna), QString::fromUtf8(c.texto));
    }
    abrir(GpxPotenciaTemperatura);
    EXPECT_EQ(celda(1, C::Potencia), QStringLiteral("245"));
    EXPECT_EQ(celda(0, C::Temperatura), QStringLiteral("18.5"));
    EXPECT_EQ(celda(1, C::Temperatura), QStringLiteral("18.25"));
    EXPECT_EQ(celda(0, C::Pulso), QString());
}

// A walk along a meridian with a 10-minute stop after point 20: 40 steps of 0.0002°
// (22.24 m) every 10 s, the stop as one gap.
QByteArray paseoConParada(std::vector<double>& tiempos) {
    QByteArray gpx =
        R"(<?xml version="1.0"?><gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>)";
    double t = 0;
    for (int i = 0; i <= 40; ++i) {
        if (i == 21)
            t += 600;
        tiempos.push_back(t);
        const int s = int(t);
        gpx +=
            QStringLiteral(
                R"(<trkpt lat="%1" lon="2.0"><ele>100</ele><time>2021-05-01T%2:%3:%4Z</time></trkpt>)")
                .arg(41.0 + i * 0.0002, 0, 'f', 4)
                .arg(10 + s / 3600, 2, 10, QLatin1Char('0'))
                .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                .arg(s % 60, 2, 10, QLatin1Char('0'))
                .toUtf8();
        t += 10;
    }
    return gpx + "</trkseg></trk></gpx>";
}

QString hms(double s) {
    const int v = int(std::lround(s));
    return QStringLiteral("%1:%2:%3")
        .arg(v / 3600)
        .arg(v / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(v % 60, 2, 10, QLatin1Char('0'));
}

TEST_F(PaginaDatosFiguras, TimesBesideTheDistanceLeaveTheStopOut) {
    std::vector<double> t;
    abrir(paseoConParada(t));
    const double total = t.back() - t.front();
    const double parada = t[21] - t[20];
    const double movimiento = total - parada;
    EXPECT_EQ(pagina->edtTiempoTotal->text(), hms(total));
    EXPECT_EQ(pagina->edtTiempoMovimiento->text(), hms(movimiento));
    EXPECT_EQ(pagina->edtTiempoParado->text(), hms(parada));
    // Speed while moving: the 39 moving steps' length over the moving time, in km/h (the
    // step across the stop is a pause, not movement).
    const QString vel = pagina->edtVelocidadMovimiento->text();
    ASSERT_TRUE(vel.endsWith(QStringLiteral(" km/h"))) << vel.toStdString();
    const double kmh = vel.chopped(5).toDouble();
    const double pasoM = 0.0002 * M_PI / 180 * 6371000; // 22.24 m on a sphere; 0.2 % off at most
    EXPECT_NEAR(kmh, 39 * pasoM / movimiento * 3.6, 0.05);
    EXPECT_NE(kmh, 0.0);

    datos.VaciarYCerrar();
    for (QLineEdit* e :
         {pagina->edtDesnivelFiltrado, pagina->edtTiempoTotal, pagina->edtTiempoMovimiento,
          pagina->edtTiempoParado, pagina->edtVelocidadMovimiento})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
}

TEST_F(PaginaDatosFiguras, ATrackWithoutTimesShowsTheClimbButNoTimes) {
    abrir(GpxSinExtensiones);
    EXPECT_EQ(pagina->edtDesnivelFiltrado->text(), QStringLiteral("20 / 0 metros"));
    for (QLineEdit* e : {pagina->edtTiempoTotal, pagina->edtTiempoMovimiento,
                         pagina->edtTiempoParado, pagina->edtVelocidadMovimiento})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
}

// A phone's climb: 500 m up and 500 m down in 1 m steps with ±2 m of noise on every point.
TEST_F(PaginaDatosFiguras, TheFilteredClimbOfANoisyTrackIsCloseToTheRealOne) {
    std::mt19937 azar(18);
    std::uniform_real_distribution<double> ruido(-2.0, 2.0);
    QByteArray gpx =
        R"(<?xml version="1.0"?><gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>)";
    double crudo = 0, anterior = 0;
    for (int i = 0; i <= 1000; ++i) {
        const double ele = 1000 + (i <= 500 ? i : 1000 - i) + ruido(azar);
        if (i > 0 && ele > anterior)
            crudo += ele - anterior;
        anterior = ele;
        gpx += QStringLiteral(R"(<trkpt lat="%1" lon="2.0"><ele>%2</ele></trkpt>)")
                   .arg(41.0 + i * 0.0001, 0, 'f', 4)
                   .arg(ele, 0, 'f', 2)
                   .toUtf8();
    }
    abrir(gpx + "</trkseg></trk></gpx>");
    ASSERT_GT(crudo, 650.0); // the noise inflates the plain sum
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+) / (\\d+) metros$"))
                                          .match(pagina->edtDesnivelFiltrado->text());
    ASSERT_TRUE(m.hasMatch()) << pagina->edtDesnivelFiltrado->text().toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 500, 15);
    EXPECT_NEAR(m.captured(2).toDouble(), 500, 15);
}

TEST_F(PaginaDatosFiguras, ANewThresholdIsShownWhenTheFiguresAreRefreshed) {
    abrir(GpxSinExtensiones);
    ASSERT_EQ(pagina->edtDesnivelFiltrado->text(), QStringLiteral("20 / 0 metros"));
    datos.AjustesFiguras.UmbralDesnivelM = 25;
    pagina->RefrescarFiguras();
    EXPECT_EQ(pagina->edtDesnivelFiltrado->text(), QStringLiteral("0 / 0 metros"));
}
} // namespace
