#include "PaginaMapa.h"

#include "AppPaths.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TablaMedidas.h"
#include "TrackStores.h"
#include "Verbario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
const QString kCRLF = QStringLiteral("\r\n");

int lineaConMarca(const QStringList& lines, QLatin1String marker) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].contains(marker))
            return i;
    return -1;
}

// The coordinate as read, cut to 12 characters (its number was checked by the table).
QString textoCoordenada(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(std::min<size_t>(text.size(), 12)));
}

// Writes the files `from`, one after the other, over `to`; false with the reason when it
// cannot.
bool copiarSobre(const QStringList& from, const QString& to, QString& error) {
    QByteArray bytes;
    for (const QString& path : from) {
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly)) {
            // Names the page's file too: the source may be one of several joined into it.
            error = QStringLiteral("%1: %2: %3").arg(to, path, source.errorString());
            return false;
        }
        bytes += source.readAll();
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) < 0 || !target.commit()) {
        error = QStringLiteral("%1: %2").arg(to, target.errorString());
        return false;
    }
    return true;
}

bool escribirFichero(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}
} // namespace

QString CargarPlantillaMapa() {
    QFile f(QStringLiteral(":/RES_HTML_PAGEMAP"));
    if (!f.open(QIODevice::ReadOnly))
        throw ESenderalError(LookupText(QStringLiteral("_STR_MI_NORESOURCE"),
                                        QStringLiteral("Error no se encuentra el recurso.")));
    return QString::fromUtf8(f.readAll());
}

QStringList LineasPlantilla(const QString& text) {
    QStringList lines = text.split(kCRLF);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::vector<int> PuntosLineaMapa(const TTablaMedidas& medidas, double toleranciaM) {
    medidas.ComprobarCoordenadas();
    const int n = medidas.Puntos();
    std::vector<int> indices;
    if (n <= PuntosMapaCompleto) {
        indices.resize(size_t(n));
        std::iota(indices.begin(), indices.end(), 0);
        return indices;
    }
    // The map's projection (spherical Mercator, metres at the equator): a length there
    // is the ground length divided by the cosine of the latitude, never shorter, so a
    // line within the tolerance there is within it on the ground too, and on screen the
    // tolerance is the same fraction of a pixel everywhere.
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
    const double limite = 85.0511287798; // where the map's projection ends
    for (int i = 0; i < n; ++i) {
        const double lat = std::clamp(medidas.Latitud(i), -limite, limite) * M_PI / 180.0;
        x[size_t(i)] = RadioTierraM * medidas.Longitud(i) * M_PI / 180.0;
        y[size_t(i)] = RadioTierraM * std::log(std::tan(M_PI / 4.0 + lat / 2.0));
    }
    // Squared distance from point p to the segment a-b.
    auto distancia2 = [&](int p, int a, int b) {
        const double ax = x[size_t(a)], ay = y[size_t(a)];
        const double dx = x[size_t(b)] - ax, dy = y[size_t(b)] - ay;
        const double px = x[size_t(p)] - ax, py = y[size_t(p)] - ay;
        const double largo2 = dx * dx + dy * dy;
        double t = largo2 > 0 ? (px * dx + py * dy) / largo2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double ex = px - t * dx, ey = py - t * dy;
        return ex * ex + ey * ey;
    };
    std::vector<char> queda(size_t(n), 0);
    queda.front() = queda.back() = 1;
    const double tol2 = toleranciaM * toleranciaM;
    std::vector<std::pair<int, int>> pendientes{{0, n - 1}};
    while (!pendientes.empty()) {
        const auto [a, b] = pendientes.back();
        pendientes.pop_back();
        double peor = -1;
        int lejano = -1;
        for (int p = a + 1; p < b; ++p) {
            const double d = distancia2(p, a, b);
            if (d > peor) {
                peor = d;
                lejano = p;
            }
        }
        if (lejano < 0 || peor <= tol2)
            continue;
        queda[size_t(lejano)] = 1;
        pendientes.push_back({a, lejano});
        pendientes.push_back({lejano, b});
    }
    for (int i = 0; i < n; ++i)
        if (queda[size_t(i)])
            indices.push_back(i);
    return indices;
}

QStringList ListaPuntosMapa(const TTrackPointStore& points) {
    return ListaPuntosMapa(points, *TTablaMedidas::Calcular(points));
}

QStringList ListaPuntosMapa(const TTrackPointStore& points, const TTablaMedidas& medidas) {
    // The table has read every coordinate with the program's number rules: a text that
    // is not a number never reaches the page's script.
    const std::vector<int> indices = PuntosLineaMapa(medidas);
    QStringList lines;
    lines.reserve(qsizetype(indices.size()));
    const QString blanks(10, QLatin1Char(' '));
    bool primero = true;
    for (const int i : indices) {
        const QString item = QStringLiteral("new GLatLng(%1,%2)")
                                 .arg(textoCoordenada(points.texto(i, CampoPunto::Lat)),
                                      textoCoordenada(points.texto(i, CampoPunto::Lon)));
        lines << blanks + (primero ? QString() : QStringLiteral(",")) + item;
        primero = false;
    }
    return lines;
}

QString UnirLineas(const QStringList& lines) {
    QString text;
    for (const QString& l : lines)
        text += l + kCRLF;
    return text;
}

std::optional<TParametrosMapa> ParametrosMostrarMapa(const QString& latCentro,
                                                     const QString& lonCentro,
                                                     const QString& puntos, const QString& tipoMapa,
                                                     int zoom) {
    const bool centro = !latCentro.isEmpty() && !lonCentro.isEmpty();
    if (!centro && puntos.isEmpty())
        return std::nullopt;
    TParametrosMapa p;
    p.controles = {QStringLiteral("GLargeMapControl"), QStringLiteral("GMapTypeControl")};
    p.latCentro = latCentro;
    p.lonCentro = lonCentro;
    p.zoom = zoom == 0 ? 14 : zoom;
    p.mostrarVentana = false;
    p.tipoMapa = tipoMapa;
    p.puntos = puntos;
    return p;
}

QStringList RellenarPlantillaMapa(QStringList lines, const TParametrosMapa& p) {
    int i = lineaConMarca(lines, QLatin1String("//##TAMANYO##"));
    if (i >= 0)
        lines[i] = QStringLiteral("<div id=\"map\" style=\"position: absolute; top: 0; left: 0; "
                                  "width: 103%; height: 100%;\"></div>");

    i = lineaConMarca(lines, QLatin1String("//##CONTROLS##"));
    if (i >= 0) {
        lines.removeAt(i);
        // Each control lands before the ones inserted earlier: the page lists them in
        // reverse order.
        for (const QString& control : p.controles)
            lines.insert(i, QStringLiteral("        map.addControl(new %1());").arg(control));
    }

    i = lineaConMarca(lines, QLatin1String("//##MAPTYPE##"));
    if (i >= 0) {
        lines[i] = QStringLiteral("        map.setMapType(%1);").arg(p.tipoMapa);
        const char* const types[] = {"G_NORMAL_MAP", "G_PHYSICAL_MAP", "G_SATELLITE_MAP",
                                     "G_HYBRID_MAP"};
        for (int k = 0; k < 4; ++k)
            lines.insert(
                i + 1 + k,
                QStringLiteral("        map.addMapType(%1); ").arg(QLatin1String(types[k])));
    }

    if (!p.puntos.isEmpty()) {
        i = lineaConMarca(lines, QLatin1String("//##TRACK##"));
        if (i >= 0) {
            lines[i] = QStringLiteral("        // Puntos de la ruta");
            const QStringList track = {
                QStringLiteral("        var polyline = new GPolyline(["),
                p.puntos, // ends with CR LF itself: the page gets an empty line after it
                QStringLiteral("        ], \"#ff0000\", 5);"),
                QStringLiteral("        map.addOverlay(polyline);"),
                QStringLiteral(
                    "        // map.setZoom(map.getBoundsZoomLevel(polyline.getBounds()));"),
            };
            for (int k = 0; k < track.size(); ++k)
                lines.insert(i + 1 + k, track[k]);
        }
    }

    i = lineaConMarca(lines, QLatin1String("//##VENTANA##"));
    if (i >= 0)
        lines[i] = p.mostrarVentana ? QStringLiteral("       marker.openInfoWindowHtml(html);")
                                    : QString();

    if (!p.latCentro.isEmpty() || !p.lonCentro.isEmpty()) {
        i = lineaConMarca(lines, QLatin1String("//##SETCENTER##"));
        if (i >= 0)
            lines[i] = QStringLiteral("        map.setCenter(new GLatLng(%1,%2),%3);")
                           .arg(p.latCentro, p.lonCentro)
                           .arg(p.zoom);
    }
    return lines;
}

QByteArray BytesPagina(const QStringList& entries) {
    return UnirLineas(entries).toUtf8();
}

QString TResultadoMapa::Mensaje() const {
    switch (fallo) {
    case TFalloMapa::fmNinguno:
        return QString();
    case TFalloMapa::fmPlantilla:
        return QStringLiteral("No se ha podido acceder a la página para mostrar el mapa.");
    case TFalloMapa::fmFichero:
        return QStringLiteral("Se ha producido un error crear el mapa. Consulta con el "
                              "Administrador del sistema. \r\nError: %1")
            .arg(detalle);
    case TFalloMapa::fmOtro:
        break;
    }
    return QStringLiteral("Se ha producido un error crear al generar el mapa. Consulta con el "
                          "Administrador del sistema. \r\nError: %1")
        .arg(detalle);
}

QString NombrePaginaDatos() {
    return QStringLiteral("~dat.html");
}
QString NombrePaginaMapa() {
    return QStringLiteral("~map.html");
}

QStringList FicherosSoportePagina() {
    return {QStringLiteral("senderal-mapa.js"), QStringLiteral("leaflet.css")};
}

QString CarpetaSoportePagina() {
    return AppDir() + QStringLiteral("mapa/");
}

QString CarpetaLeafletSistema() {
    return QStringLiteral(SENDERAL_SYSTEM_LEAFLET_DIR "/");
}

QStringList FuentesSoportePagina(const QString& supportFolder, const QString& name) {
    const QDir support(supportFolder);
    if (QFileInfo::exists(support.filePath(name)))
        return {support.filePath(name)};
    const QString leaflet = CarpetaLeafletSistema();
    if (name == QLatin1String("senderal-mapa.js"))
        return {leaflet + QStringLiteral("leaflet.js"),
                support.filePath(QStringLiteral("senderal-mapa-api.js"))};
    return {leaflet + name};
}

TResultadoMapa EscribirMapa(const TParametrosMapa& p, const QString& folder,
                            const QString& supportFolder) {
    TResultadoMapa r;
    QStringList lines;
    try {
        lines = LineasPlantilla(CargarPlantillaMapa());
    } catch (const ESenderalError& e) {
        r.fallo = TFalloMapa::fmPlantilla;
        r.detalle = e.text();
        return r;
    }
    const QByteArray page = BytesPagina(RellenarPlantillaMapa(lines, p));

    const QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder)) {
        r.fallo = TFalloMapa::fmFichero;
        r.detalle = QStringLiteral("%1: no se puede crear la carpeta").arg(folder);
        return r;
    }
    for (const QString& name : {NombrePaginaDatos(), NombrePaginaMapa()})
        if (!escribirFichero(dir.filePath(name), page, r.detalle)) {
            r.fallo = TFalloMapa::fmFichero;
            return r;
        }
    // Without its script the page would show nothing at all: say so.
    for (const QString& name : FicherosSoportePagina())
        if (!copiarSobre(FuentesSoportePagina(supportFolder, name), dir.filePath(name),
                         r.detalle)) {
            r.fallo = TFalloMapa::fmOtro;
            return r;
        }
    r.paginaDatos = dir.filePath(NombrePaginaDatos());
    return r;
}
