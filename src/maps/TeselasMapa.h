#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Where the map page takes its tiles from, as the settings file may change it, and what the
// program tells the tile servers about itself.

// The four map types of the page, in the order of their buttons.
enum class TTipoMapa { tmMapa, tmRelieve, tmSatelite, tmHibrido };
inline constexpr TTipoMapa TiposMapa[] = {TTipoMapa::tmMapa, TTipoMapa::tmRelieve,
                                          TTipoMapa::tmSatelite, TTipoMapa::tmHibrido};

// One map type's tiles. The hybrid type draws its tiles (place names and borders) over the
// satellite type's.
struct TCapaTeselas {
    QString plantilla;  // URL template: {z}, {x}, {y} or {-y}; {s} and {r} optional
    QString atribucion; // HTML shown in the attribution line
    int zoomMax = 18;   // deepest zoom level the server has tiles for
};

struct TConfigTeselas {
    TCapaTeselas capas[4]; // indexed by TTipoMapa
    qint64 cacheMaxBytes = 500LL * 1024 * 1024;
    // The values found in the settings that could not be used. They are told in the
    // language in force when the page is made, which the settings file may still change.
    struct TValorMal {
        QString clave;
        QString valor;
        bool plantilla = false;
    };
    QList<TValorMal> malos;

    const TCapaTeselas& capa(TTipoMapa t) const { return capas[int(t)]; }
};

// The tiles the page shows when the settings name none.
TConfigTeselas ConfigTeselasPorDefecto();

// Prefix of the settings keys of a map type: "Mapa", "Relieve", "Satelite", "Hibrido".
// Its keys are prefix + "Teselas", "Atribucion" and "ZoomMax"; "CacheMapaMB" sets the size
// of the tile cache.
QString PrefijoClaveTeselas(TTipoMapa t);
QString ClaveCacheMapa(); // "CacheMapaMB"

// Reads the tile keys of [Config]. `valor` gives a key's text, or a null text when the key
// is absent. A bad value keeps the default and adds a line to `avisos`.
TConfigTeselas LeerConfigTeselas(const std::function<QString(const QString&)>& valor);

// One line per bad value, in the user's language; the page shows them over the map.
QStringList TextosAvisosTeselas(const TConfigTeselas& c);

// Empty when `plantilla` is an http(s) address template Leaflet can fill; otherwise what is
// wrong with it (for the log; the user sees the translated line).
QString ProblemaPlantillaTeselas(const QString& plantilla);

// The program as it names itself to the tile servers: "Senderal/<version> (+<home page>)",
// and its home page, sent as the Referer.
QString AgenteUsuarioMapa();
QString RefererMapa();

// The script that hands the page its tiles and the texts of its notes:
// "window.SenderalMapaConfig = {...};".
QByteArray GuionConfigPagina(const TConfigTeselas& c);

// The name a map type's button shows, in the language in force.
QString NombreTipoMapa(TTipoMapa t);

// The note the page shows when a tile server answers 403 or 429.
QString TextoTeselasRechazadas(const QString& servidor, int estadoHttp);
