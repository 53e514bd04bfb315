// The numeric table of the loaded track: the same figures as the measure pass and the
// total distance, with each reader's conversion error kept for the point it belongs to.
#include "TablaMedidas.h"

#include "FormData.h"
#include "Medidas.h"
#include "PuntosPrueba.h"
#include "SenderalError.h"
#include "TrackStores.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using Punto = TPuntoPrueba;

// A walk with uneven steps, missing elevations and times, repeated points and
// coordinates written with many digits, so every rule of the pass is exercised.
std::vector<Punto> paseo(int n) {
    std::vector<Punto> pts;
    double lat = 41.77, lon = 2.43, ele = 620;
    for (int i = 0; i < n; ++i) {
        if (i % 7 != 3) {
            lat += 0.00001 * ((i * 37) % 11 - 4);
            lon += 0.000013 * ((i * 53) % 13 - 5);
            ele += ((i * 17) % 9) - 4.25;
        }
        char la[40], lo[40], el[40], t[40];
        std::snprintf(la, sizeof la, "%.13f", lat);
        std::snprintf(lo, sizeof lo, "%.16f", lon);
        std::snprintf(el, sizeof el, "%.2f", ele);
        std::snprintf(t, sizeof t, "2022-05-14T06:%02d:%02dZ", (i / 60) % 60, i % 60);
        pts.push_back({la, lo, i % 11 == 5 ? "" : el, i % 13 == 6 ? "" : t});
    }
    return pts;
}
} // namespace

TEST(TTablaMedidas, HoldsTheFiguresOfTheMeasurePassToTheLastBit) {
    TTrackPointStore store;
    LlenarPuntos(store, paseo(500));
    const TResultadoMedidas pase = CalcularMedidasRuta(store);
    const auto tabla = TTablaMedidas::Calcular(store);
    ASSERT_EQ(tabla->Puntos(), 500);
    ASSERT_TRUE(tabla->MedidasCompletas());
    for (int i = 0; i < 500; ++i) {
        SCOPED_TRACE(i);
        const TMedidasPunto& a = pase.puntos[size_t(i)];
        const TMedidasPunto b = tabla->Punto(i);
        EXPECT_EQ(a.Latitud, b.Latitud);
        EXPECT_EQ(a.Longitud, b.Longitud);
        EXPECT_EQ(a.Elevacion, b.Elevacion);
        EXPECT_EQ(a.FechaHora, b.FechaHora);
        EXPECT_EQ(a.FechaHoraIni, b.FechaHoraIni);
        EXPECT_EQ(a.Distancia, b.Distancia);
        EXPECT_EQ(a.AscAcumulado, b.AscAcumulado);
        EXPECT_EQ(a.DescAcumulado, b.DescAcumulado);
        EXPECT_EQ(a.VelocidadInstant, b.VelocidadInstant);
        EXPECT_EQ(a.Tag, b.Tag);
    }
    EXPECT_EQ(tabla->AlturaMaxima(), pase.AlturaMaxima);
    EXPECT_EQ(tabla->VelocidadMaxima(), pase.VelocidadMaxima);
    EXPECT_EQ(tabla->DistanciaTotal(), CalcularDistanciaTotal(store));
    EXPECT_GT(tabla->DistanciaTotal(), 0);
}

// Each reader stops where it stopped when it read the texts itself: the total distance
// needs lat and lon only, the views need the elevation too.
TEST(TTablaMedidas, KeepsEachReadersErrorAtItsPoint) {
    const Punto ok{"41.5", "2.1", "100", ""};
    const Punto otro{"41.6", "2.2", "120", ""};
    const struct {
        const char* guarda;
        std::vector<Punto> pts;
        int conCoordenadas, medidos;
        const char* errorCoordenadas; // text named by the total distance's error
        const char* errorMedidas;
    } casos[] = {
        {"bad ele: the distance still sums every pair",
         {ok, otro, {"41.7", "2.3", "x1", ""}, ok},
         4,
         2,
         nullptr,
         "x1"},
        {"bad lat stops both", {ok, otro, {"4l.7", "2.3", "5", ""}, ok}, 2, 2, "4l.7", "4l.7"},
        {"bad ele then a bad lon further on",
         {ok, {"41.6", "2.2", "", ""}, {"41.6", "2.2", "1,5", ""}, ok, {"41.8", "", "1", ""}},
         4,
         2,
         "''",
         "1,5"},
        {"empty lat on the first point", {{"", "2", "1", ""}, ok}, 0, 0, "''", "''"},
        {"all good", {ok, otro}, 2, 2, nullptr, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        TTrackPointStore store;
        LlenarPuntos(store, c.pts);
        const auto t = TTablaMedidas::Calcular(store);
        EXPECT_EQ(t->Puntos(), int(c.pts.size()));
        EXPECT_EQ(t->PuntosConCoordenadas(), c.conCoordenadas);
        EXPECT_EQ(t->PuntosMedidos(), c.medidos);
        if (c.errorCoordenadas) {
            try {
                t->DistanciaTotal();
                ADD_FAILURE() << "no coordinate error";
            } catch (const ESenderalError& e) {
                EXPECT_TRUE(e.text().contains(QLatin1String(c.errorCoordenadas)))
                    << e.text().toStdString();
            }
            EXPECT_THROW(CalcularDistanciaTotal(store), ESenderalError);
        } else {
            EXPECT_EQ(t->DistanciaTotal(), CalcularDistanciaTotal(store));
        }
        if (c.errorMedidas) {
            try {
                t->ComprobarMedidas();
                ADD_FAILURE() << "no measure error";
            } catch (const ESenderalError& e) {
                EXPECT_TRUE(e.text().contains(QLatin1String(c.errorMedidas)))
                    << e.text().toStdString();
            }
            EXPECT_THROW(CalcularMedidasRuta(store), ESenderalError);
        } else {
            EXPECT_NO_THROW(t->ComprobarMedidas());
        }
    }
}

// The file is read once and measured once: every later reader gets the same table,
// and closing the track lets it go.
TEST(TTablaMedidas, TheDataHolderMeasuresOnReadingAndForgetsOnClose) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString mapping = QStringLiteral(SENDERAL_SOURCE_DIR "/data/GpxDS.dll");
    ASSERT_TRUE(QFile::copy(mapping, dir.filePath(QStringLiteral("GpxDS.dll"))))
        << mapping.toStdString();
    QFile gpx(dir.filePath(QStringLiteral("t.gpx")));
    ASSERT_TRUE(gpx.open(QIODevice::WriteOnly));
    gpx.write("<gpx version=\"1.1\"><trk><trkseg>"
              "<trkpt lat=\"41.0\" lon=\"2.0\"><ele>10</ele></trkpt>"
              "<trkpt lat=\"41.001\" lon=\"2.0\"><ele>12.5</ele></trkpt>"
              "</trkseg></trk></gpx>");
    gpx.close();

    TFormData data;
    data.CarpetaMapeo = dir.path();
    data.XMLDataFile = gpx.fileName();
    data.OpenData();
    ASSERT_TRUE(data.cdsTrack.Active());
    const auto primera = data.Medidas();
    ASSERT_EQ(primera->Puntos(), 2);
    EXPECT_EQ(primera->Elevacion(1), 12.5);
    EXPECT_EQ(primera->DistanciaTotal(), 111);
    EXPECT_EQ(data.Medidas().get(), primera.get()) << "measured again";

    data.VaciarYCerrar();
    EXPECT_EQ(data.Medidas()->Puntos(), 0) << "the closed track's numbers are gone";
    EXPECT_EQ(primera->Puntos(), 2) << "a view holding the table keeps it whole";
}
