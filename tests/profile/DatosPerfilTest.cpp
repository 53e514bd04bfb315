#include "DatosPerfil.h"
#include "TrackStores.h"

#include <gtest/gtest.h>

namespace {
void llenar(TTrackPointStore& store, std::initializer_list<const char*> eles) {
    double lat = 41.0;
    for (const char* ele : eles) {
        store.NuevoPunto();
        store.FijarCampo(CampoPunto::Lat, std::to_string(lat += 0.001));
        store.FijarCampo(CampoPunto::Lon, "2.1");
        store.FijarCampo(CampoPunto::Ele, ele);
        store.FijarCampo(CampoPunto::Time, "");
    }
    store.Open();
}

std::vector<std::pair<int, QString>> etiquetas(const TDatosPerfil& d) {
    std::vector<std::pair<int, QString>> out;
    for (const TEtiquetaPerfil& e : d.etiquetas)
        out.emplace_back(e.indice, e.texto);
    return out;
}
} // namespace

TEST(CalcularDatosPerfil, ValuesAxisAndLabels) {
    using L = std::vector<std::pair<int, QString>>;
    struct Case {
        const char* name;
        std::initializer_list<const char*> eles;
        int distanciaM;
        QChar sep;
        std::vector<double> altitudes;
        double maximo;
        L labels;
    } cases[] = {
        {"three points under a comma locale",
         {"100", "250", "200"},
         1500,
         ',',
         {100, 250, 200},
         300,
         {{0, "0"}, {1, "0,75"}, {2, "1,5"}}},
        {"general format keeps the digits",
         {"1", "2", "3", "4"},
         23457,
         ',',
         {1, 2, 3, 4},
         4.8,
         {{0, "0"}, {2, "11,7285"}, {3, "23,457"}}},
        {"one point: the only label is the total", {"500"}, 0, '.', {500}, 600, {{0, "0"}}},
        {"two points: the second label is the total",
         {"10", "20"},
         3000,
         '.',
         {10, 20},
         24,
         {{0, "0"}, {1, "3"}}},
        {"all negative: the axis maximum is 0",
         {"-10", "-3"},
         100,
         '.',
         {-10, -3},
         0,
         {{0, "0"}, {1, "0.1"}}},
        {"missing elevations take the previous one, leading ones the first found",
         {"", "120", "", "130"},
         0,
         '.',
         {120, 120, 120, 130},
         156,
         {{0, "0"}, {2, "0"}, {3, "0"}}},
        {"no points, no labels", {}, 0, '.', {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTrackPointStore store;
        llenar(store, c.eles);
        const TDatosPerfil d = CalcularDatosPerfil(store, c.distanciaM, c.sep);
        EXPECT_TRUE(d.completo());
        EXPECT_EQ(d.altitudes, c.altitudes);
        EXPECT_DOUBLE_EQ(d.maximoEje, c.maximo);
        EXPECT_EQ(etiquetas(d), c.labels);
    }
}

TEST(CalcularDatosPerfil, MiddleLabelSitsUnderPointCountDivTwo) {
    TTrackPointStore store;
    for (int i = 0; i < 1000; ++i) {
        store.NuevoPunto();
        store.FijarCampo(CampoPunto::Lat, "41");
        store.FijarCampo(CampoPunto::Lon, "2");
        store.FijarCampo(CampoPunto::Ele, "5");
        store.FijarCampo(CampoPunto::Time, "");
    }
    store.Open();
    const TDatosPerfil d = CalcularDatosPerfil(store, 10000, '.');
    ASSERT_EQ(d.etiquetas.size(), 3u);
    EXPECT_EQ(d.etiquetas[1].indice, 500);
    EXPECT_EQ(d.etiquetas[1].texto, "5");
    EXPECT_EQ(d.etiquetas[2].indice, 999);
}

TEST(CalcularDatosPerfil, ANonNumericElevationEndsTheFillKeepingTheValuesBefore) {
    TTrackPointStore store;
    llenar(store, {"100", "110", "abc", "130"});
    const TDatosPerfil d = CalcularDatosPerfil(store, 1000, '.');
    EXPECT_FALSE(d.completo());
    EXPECT_TRUE(d.error.contains("abc"));
    EXPECT_EQ(d.altitudes, (std::vector<double>{100, 110}));
    EXPECT_TRUE(d.etiquetas.empty());
}
