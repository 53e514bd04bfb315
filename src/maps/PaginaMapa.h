#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class TTablaMedidas;
class TTrackPointStore;

// The page the map browser shows: the template resource RES_HTML_PAGEMAP with its marker
// lines replaced by the route and the map's set-up.

// The template as text, lines separated by CR LF. Throws ESenderalError
// ("Error no se encuentra el recurso.") when the resource cannot be read.
QString CargarPlantillaMapa();

// The template text as its list of lines (split at CR LF; the CR LF ending the last
// line does not add an empty one).
QStringList LineasPlantilla(const QString& text);

// One line per point, in track order: ten blanks, "," from the second point on, and
// "new GLatLng(lat,lon)" with each coordinate text cut to 12 characters.
// The texts go into the page's script as they are, so a text that is not a number is
// refused (ESenderalError with the number-conversion text) instead of being run.
// A track longer than PuntosMapaCompleto points carries a line simplified to what can
// be seen at the map's closest zoom (see PuntosLineaMapa); the texts of the points it
// keeps are written as for any other track.
QStringList ListaPuntosMapa(const TTrackPointStore& points);
QStringList ListaPuntosMapa(const TTrackPointStore& points, const TTablaMedidas& medidas);

// Up to this many points the map shows every point.
constexpr int PuntosMapaCompleto = 20000;
// How far the simplified line may pass from a point it leaves out, in metres on the
// ground: under one pixel at the map's closest zoom (about 0.3 m).
constexpr double ToleranciaMapaM = 0.25;

// The indices of the points the map's line goes through, in order: every point up to
// PuntosMapaCompleto; past that, the first and the last point and every point the line
// would pass further than `toleranciaM` from without it (Douglas-Peucker on the map's
// own projection), so no turn that could be seen is lost. Reads the coordinates of the
// table; throws its coordinate error when a lat or lon is not a number.
std::vector<int> PuntosLineaMapa(const TTablaMedidas& medidas,
                                 double toleranciaM = ToleranciaMapaM);

// The lines joined into the point block, each followed by CR LF.
QString UnirLineas(const QStringList& lines);

struct TParametrosMapa {
    QStringList controles;
    QString latCentro;
    QString lonCentro;
    int zoom = 1;
    bool mostrarVentana = false;
    QString tipoMapa;
    QString puntos; // the point block; empty means no route
};

// What MostrarMapa hands to GenerarMapa: the control list and a zoom of 0 turned into 14;
// nothing when there is neither a centre nor a point block.
std::optional<TParametrosMapa> ParametrosMostrarMapa(const QString& latCentro,
                                                     const QString& lonCentro,
                                                     const QString& puntos, const QString& tipoMapa,
                                                     int zoom);

// The template lines with the six markers replaced; a marker no line contains changes
// nothing. Entries may hold several lines (the point block).
QStringList RellenarPlantillaMapa(QStringList lines, const TParametrosMapa& p);

// The page file's bytes: every entry followed by CR LF, UTF-8 without byte-order mark.
QByteArray BytesPagina(const QStringList& entries);

enum class TFalloMapa { fmNinguno, fmPlantilla, fmFichero, fmOtro };

struct TResultadoMapa {
    TFalloMapa fallo = TFalloMapa::fmNinguno;
    QString detalle;     // the failure's own error text
    QString paginaDatos; // the path the browser is pointed at ("~dat.html")
    bool ok() const { return fallo == TFalloMapa::fmNinguno; }
    // The text of the error box the user sees; empty on success.
    QString Mensaje() const;
};

QString NombrePaginaDatos(); // "~dat.html"
QString NombrePaginaMapa();  // "~map.html"

// The files the page loads besides itself (the map script and its style sheet), as they
// lie in the program folder's "mapa" folder.
QStringList FicherosSoportePagina();
QString CarpetaSoportePagina(); // AppDir() + "mapa/"
// Leaflet as the system installs it (libjs-leaflet), with a trailing '/'.
QString CarpetaLeafletSistema();
// The files that make up one support file: the copy in `supportFolder` when the build put
// one there (the portable folder); otherwise, as installed, the system's Leaflet, followed
// for the script by the program's own map interface "senderal-mapa-api.js".
QStringList FuentesSoportePagina(const QString& supportFolder, const QString& name);

// Fills the template and writes "~dat.html" and "~map.html" into `folder`, with the
// page's script files copied from `supportFolder` beside them. Reports what failed.
TResultadoMapa EscribirMapa(const TParametrosMapa& p, const QString& folder,
                            const QString& supportFolder);
