// The tile keys of the settings file: what they change, and what a bad value leaves.
#include "TeselasMapa.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <gtest/gtest.h>

namespace {
TConfigTeselas leer(const QMap<QString, QString>& ini) {
    return LeerConfigTeselas([&ini](const QString& k) { return ini.value(k); });
}

const TConfigTeselas kDefecto = ConfigTeselasPorDefecto();

struct TCasoPlantilla {
    const char* nombre;
    const char* plantilla;
    bool vale;
};

const TCasoPlantilla kPlantillas[] = {
    {"a plain template", "https://tiles.example.org/{z}/{x}/{y}.png", true},
    {"subdomains and retina", "http://{s}.tiles.example.org/{z}/{x}/{y}{r}.png", true},
    {"TMS rows counted from the south", "https://tms.example.org/{z}/{x}/{-y}.png", true},
    {"an API key in the query", "https://t.example.com/outdoors/{z}/{x}/{y}.png?apikey=ab12", true},
    {"a local server with its port", "http://127.0.0.1:8080/{z}/{x}/{y}.png", true},
    {"no row", "https://tiles.example.org/{z}/{x}.png", false},
    {"no zoom", "https://tiles.example.org/{x}/{y}.png", false},
    {"a placeholder Leaflet has no value for", "https://t.example.com/{z}/{x}/{y}.png?k={apikey}",
     false},
    {"an unclosed placeholder", "https://t.example.com/{z}/{x}/{y.png", false},
    {"not a web address", "ftp://tiles.example.org/{z}/{x}/{y}.png", false},
    {"a local file", "file:///home/u/tiles/{z}/{x}/{y}.png", false},
    {"no host", "https:///{z}/{x}/{y}.png", false},
    {"script instead of an address", "javascript:alert(1)//{z}/{x}/{y}", false},
};

class PlantillaTeselas : public ::testing::TestWithParam<TCasoPlantilla> {};
} // namespace

TEST_P(PlantillaTeselas, IsUsedOnlyWhenLeafletCanFillItFromTheWeb) {
    const TCasoPlantilla& c = GetParam();
    const QString plantilla = QString::fromUtf8(c.plantilla);
    EXPECT_EQ(ProblemaPlantillaTeselas(plantilla).isEmpty(), c.vale);

    const TConfigTeselas leida = leer({{"RelieveTeselas", plantilla}});
    const TCapaTeselas& relieve = leida.capa(TTipoMapa::tmRelieve);
    if (c.vale) {
        EXPECT_EQ(relieve.plantilla, plantilla);
        EXPECT_TRUE(TextosAvisosTeselas(leida).isEmpty());
    } else {
        EXPECT_EQ(relieve.plantilla, kDefecto.capa(TTipoMapa::tmRelieve).plantilla)
            << "a bad template leaves the map as it was";
        ASSERT_EQ(TextosAvisosTeselas(leida).size(), 1);
        EXPECT_TRUE(TextosAvisosTeselas(leida)[0].contains("RelieveTeselas"));
        EXPECT_TRUE(TextosAvisosTeselas(leida)[0].contains(plantilla))
            << TextosAvisosTeselas(leida)[0].toStdString();
    }
    // The other types are not touched.
    EXPECT_EQ(leida.capa(TTipoMapa::tmMapa).plantilla, kDefecto.capa(TTipoMapa::tmMapa).plantilla);
}

INSTANTIATE_TEST_SUITE_P(Casos, PlantillaTeselas, ::testing::ValuesIn(kPlantillas),
                         [](const auto& info) {
                             std::string n;
                             for (const char* p = info.param.nombre; *p; ++p)
                                 n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return n;
                         });

TEST(ConfigTeselas, WithoutKeysTheFourTypesKeepTheirProviders) {
    const TConfigTeselas c = leer({});
    EXPECT_TRUE(TextosAvisosTeselas(c).isEmpty());
    EXPECT_EQ(c.capa(TTipoMapa::tmMapa).plantilla,
              "https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    EXPECT_EQ(c.capa(TTipoMapa::tmMapa).zoomMax, 19);
    EXPECT_EQ(c.capa(TTipoMapa::tmRelieve).plantilla,
              "https://{s}.tile.opentopomap.org/{z}/{x}/{y}.png");
    EXPECT_EQ(c.capa(TTipoMapa::tmRelieve).zoomMax, 17);
    EXPECT_TRUE(c.capa(TTipoMapa::tmSatelite).plantilla.contains("World_Imagery"));
    EXPECT_TRUE(c.capa(TTipoMapa::tmHibrido).plantilla.contains("World_Boundaries_and_Places"));
    EXPECT_TRUE(c.capa(TTipoMapa::tmMapa).atribucion.contains("OpenStreetMap"));
    EXPECT_EQ(c.cacheMaxBytes, 500LL * 1024 * 1024);
}

TEST(ConfigTeselas, EachTypeHasItsOwnKeys) {
    const TConfigTeselas c = leer({
        {"MapaTeselas", "https://a.example/{z}/{x}/{y}.png"},
        {"SateliteTeselas", "https://b.example/{z}/{y}/{x}.jpg"},
        {"SateliteZoomMax", " 20 "},
        {"HibridoAtribucion", "Etiquetas B"},
        {"CacheMapaMB", "64"},
    });
    EXPECT_TRUE(TextosAvisosTeselas(c).isEmpty())
        << TextosAvisosTeselas(c).join('\n').toStdString();
    EXPECT_EQ(c.capa(TTipoMapa::tmMapa).plantilla, "https://a.example/{z}/{x}/{y}.png");
    EXPECT_EQ(c.capa(TTipoMapa::tmSatelite).plantilla, "https://b.example/{z}/{y}/{x}.jpg");
    EXPECT_EQ(c.capa(TTipoMapa::tmSatelite).zoomMax, 20);
    EXPECT_EQ(c.capa(TTipoMapa::tmHibrido).atribucion, "Etiquetas B");
    EXPECT_EQ(c.capa(TTipoMapa::tmHibrido).plantilla,
              kDefecto.capa(TTipoMapa::tmHibrido).plantilla);
    EXPECT_EQ(c.cacheMaxBytes, 64LL * 1024 * 1024);
}

TEST(ConfigTeselas, AnotherProviderIsNeverCreditedToTheDefaultOne) {
    const TConfigTeselas c =
        leer({{"MapaTeselas", "https://{s}.tiles.example.net/{z}/{x}/{y}.png"}});
    EXPECT_FALSE(c.capa(TTipoMapa::tmMapa).atribucion.contains("OpenStreetMap"));
    EXPECT_EQ(c.capa(TTipoMapa::tmMapa).atribucion, "a.tiles.example.net");
}

TEST(ConfigTeselas, AnAttributionFromTheSettingsIsShownAsText) {
    const TConfigTeselas c = leer({{"MapaAtribucion", "<img src=x onerror=alert(1)> Mapas & Co"}});
    EXPECT_EQ(c.capa(TTipoMapa::tmMapa).atribucion,
              "&lt;img src=x onerror=alert(1)&gt; Mapas &amp; Co");
}

TEST(ConfigTeselas, BadNumbersKeepTheDefaultAndAreSaid) {
    struct Caso {
        const char* clave;
        const char* valor;
    };
    const Caso casos[] = {{"MapaZoomMax", "muchos"}, {"MapaZoomMax", "0"},
                          {"RelieveZoomMax", "99"},  {"CacheMapaMB", "-5"},
                          {"CacheMapaMB", "1e3"},    {"CacheMapaMB", "4096"}};
    for (const Caso& k : casos) {
        SCOPED_TRACE(std::string(k.clave) + "=" + k.valor);
        const TConfigTeselas c = leer({{k.clave, k.valor}});
        EXPECT_EQ(c.capa(TTipoMapa::tmMapa).zoomMax, 19);
        EXPECT_EQ(c.capa(TTipoMapa::tmRelieve).zoomMax, 17);
        EXPECT_EQ(c.cacheMaxBytes, kDefecto.cacheMaxBytes);
        ASSERT_EQ(TextosAvisosTeselas(c).size(), 1);
        EXPECT_TRUE(TextosAvisosTeselas(c)[0].contains(k.clave));
        EXPECT_TRUE(TextosAvisosTeselas(c)[0].contains(k.valor));
    }
}

TEST(ConfigTeselas, ThePageScriptCarriesTheTilesTheNotesAndTheirTexts) {
    const TConfigTeselas c =
        leer({{"MapaTeselas", "http://127.0.0.1:9/{z}/{x}/{y}.png"}, {"RelieveTeselas", "nada"}});
    const QByteArray guion = GuionConfigPagina(c);
    const QByteArray prefijo = "window.SenderalMapaConfig = ";
    ASSERT_TRUE(guion.startsWith(prefijo));
    ASSERT_TRUE(guion.trimmed().endsWith(';'));
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(guion.mid(prefijo.size()).trimmed().chopped(1), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject capas = doc["capas"].toObject();
    EXPECT_EQ(capas["Mapa"]["url"].toString(), "http://127.0.0.1:9/{z}/{x}/{y}.png");
    EXPECT_EQ(capas["Relieve"]["zoomMax"].toInt(), 17);
    EXPECT_EQ(capas.keys(), QStringList({"Hibrido", "Mapa", "Relieve", "Satelite"}));
    EXPECT_FALSE(doc["textos"]["sinTeselas"].toString().isEmpty());
    ASSERT_EQ(doc["avisos"].toArray().size(), 1);
    EXPECT_TRUE(doc["avisos"][0].toString().contains("RelieveTeselas"));
}

TEST(ConfigTeselas, TheProgramNamesItselfAndItsHomePage) {
    EXPECT_EQ(RefererMapa(), "https://senderal.org/");
    EXPECT_EQ(AgenteUsuarioMapa(), "Senderal/" SENDERAL_VERSION_TEXT " (+https://senderal.org/)");
    const QString rechazo = TextoTeselasRechazadas("tile.example.org", 429);
    EXPECT_TRUE(rechazo.contains("tile.example.org"));
    EXPECT_TRUE(rechazo.contains("429"));
    EXPECT_FALSE(rechazo.contains("%s"));
}

// The status goes into its own place, not into a "%s" the server's name happens to hold.
TEST(ConfigTeselas, TheRefusalFillsEachPlaceOnce) {
    EXPECT_EQ(TextoTeselasRechazadas("%s.example.org", 429).toStdString(),
              "El servidor de teselas %s.example.org ha rechazado las peticiones (HTTP 429).");
}
