#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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
QStringList ListaPuntosMapa(const TTrackPointStore& points);

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

// Fills the template and writes "~dat.html" and "~map.html" into `folder`, with the
// page's script files copied from `supportFolder` beside them. Reports what failed.
TResultadoMapa EscribirMapa(const TParametrosMapa& p, const QString& folder,
                            const QString& supportFolder);
