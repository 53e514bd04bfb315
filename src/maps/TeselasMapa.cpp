#include "TeselasMapa.h"

#include "EnlacesSenderal.h"
#include "Verbario.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>
#include <optional>

namespace {
const char* const kOSM =
    "&copy; <a href=\"https://www.openstreetmap.org/copyright\">OpenStreetMap</a> contributors";
const char* const kEsri = "Tiles &copy; <a href=\"https://www.esri.com/\">Esri</a> &mdash; Esri, "
                          "Maxar, Earthstar Geographics, and the GIS User Community";

QString avisoPlantilla(const QString& clave, const QString& valor) {
    return LookupTextCon(QStringLiteral("_STR_MAPA_PLANTILLAMAL"),
                         QStringLiteral("La plantilla de teselas de %s no vale (%s): debe ser "
                                        "una dirección http o https con {z}, {x} e {y}; se "
                                        "usa la de siempre."),
                         {clave, valor});
}

QString avisoValor(const QString& clave, const QString& valor) {
    return LookupTextCon(QStringLiteral("_STR_MAPA_VALORMAL"),
                         QStringLiteral("El valor de %s no vale (%s); se usa el de siempre."),
                         {clave, valor});
}

// A whole number in [min, max], or nothing.
std::optional<qint64> entero(const QString& text, qint64 min, qint64 max) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || n < min || n > max)
        return std::nullopt;
    return n;
}

QJsonObject capaJson(const TCapaTeselas& c) {
    return QJsonObject{{QStringLiteral("url"), c.plantilla},
                       {QStringLiteral("atribucion"), c.atribucion},
                       {QStringLiteral("zoomMax"), c.zoomMax}};
}
} // namespace

TConfigTeselas ConfigTeselasPorDefecto() {
    TConfigTeselas c;
    const QString osm = QString::fromUtf8(kOSM);
    const QString esri = QString::fromUtf8(kEsri);
    c.capas[int(TTipoMapa::tmMapa)] = {
        QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"), osm, 19};
    c.capas[int(TTipoMapa::tmRelieve)] = {
        QStringLiteral("https://{s}.tile.opentopomap.org/{z}/{x}/{y}.png"),
        osm + QStringLiteral(", SRTM | &copy; <a href=\"https://opentopomap.org\">OpenTopoMap</a> "
                             "(CC-BY-SA)"),
        17};
    c.capas[int(TTipoMapa::tmSatelite)] = {
        QStringLiteral("https://server.arcgisonline.com/ArcGIS/rest/services/World_Imagery/"
                       "MapServer/tile/{z}/{y}/{x}"),
        esri, 18};
    c.capas[int(TTipoMapa::tmHibrido)] = {
        QStringLiteral("https://server.arcgisonline.com/ArcGIS/rest/services/Reference/"
                       "World_Boundaries_and_Places/MapServer/tile/{z}/{y}/{x}"),
        esri, 18};
    return c;
}

QString PrefijoClaveTeselas(TTipoMapa t) {
    switch (t) {
    case TTipoMapa::tmMapa:
        return QStringLiteral("Mapa");
    case TTipoMapa::tmRelieve:
        return QStringLiteral("Relieve");
    case TTipoMapa::tmSatelite:
        return QStringLiteral("Satelite");
    case TTipoMapa::tmHibrido:
        break;
    }
    return QStringLiteral("Hibrido");
}

QString ClaveCacheMapa() {
    return QStringLiteral("CacheMapaMB");
}

QString ProblemaPlantillaTeselas(const QString& plantilla) {
    QString t = plantilla.trimmed();
    if (!t.contains(QLatin1String("{z}")) || !t.contains(QLatin1String("{x}")) ||
        (!t.contains(QLatin1String("{y}")) && !t.contains(QLatin1String("{-y}"))))
        return QStringLiteral("{z}, {x} or {y} missing");
    // Leaflet stops drawing the layer at a placeholder it has no value for.
    static const QRegularExpression conocidos(QStringLiteral(R"(\{(?:z|x|y|-y|s|r)\})"));
    t.replace(conocidos, QStringLiteral("0"));
    if (t.contains(QLatin1Char('{')) || t.contains(QLatin1Char('}')))
        return QStringLiteral("unknown placeholder");
    const QUrl url(t, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QStringLiteral("not an http(s) address");
    return QString();
}

TConfigTeselas LeerConfigTeselas(const std::function<QString(const QString&)>& valor) {
    TConfigTeselas c = ConfigTeselasPorDefecto();
    for (TTipoMapa tipo : TiposMapa) {
        TCapaTeselas& capa = c.capas[int(tipo)];
        const QString prefijo = PrefijoClaveTeselas(tipo);

        const QString clavePlantilla = prefijo + QStringLiteral("Teselas");
        const QString plantilla = valor(clavePlantilla).trimmed();
        bool propia = false;
        if (!plantilla.isEmpty()) {
            if (ProblemaPlantillaTeselas(plantilla).isEmpty()) {
                propia = plantilla != capa.plantilla;
                capa.plantilla = plantilla;
            } else {
                c.malos.append({clavePlantilla, plantilla, true});
            }
        }

        // Settings are plain text: what they say is shown as text, never run as HTML.
        const QString atribucion = valor(prefijo + QStringLiteral("Atribucion")).trimmed();
        if (!atribucion.isEmpty())
            capa.atribucion = atribucion.toHtmlEscaped();
        else if (propia)
            // Another provider's tiles must not be credited to the default one.
            capa.atribucion =
                QUrl(QString(plantilla).replace(QStringLiteral("{s}"), QStringLiteral("a")))
                    .host()
                    .toHtmlEscaped();

        const QString claveZoom = prefijo + QStringLiteral("ZoomMax");
        const QString zoom = valor(claveZoom);
        if (!zoom.trimmed().isEmpty()) {
            if (const auto n = entero(zoom, 1, 22))
                capa.zoomMax = int(*n);
            else
                c.malos.append({claveZoom, zoom.trimmed(), false});
        }
    }
    const QString cache = valor(ClaveCacheMapa());
    if (!cache.trimmed().isEmpty()) {
        if (const auto mb = entero(cache, 1, 2047))
            c.cacheMaxBytes = *mb * 1024 * 1024;
        else
            c.malos.append({ClaveCacheMapa(), cache.trimmed(), false});
    }
    return c;
}

QStringList TextosAvisosTeselas(const TConfigTeselas& c) {
    QStringList lines;
    for (const TConfigTeselas::TValorMal& m : c.malos)
        lines << (m.plantilla ? avisoPlantilla(m.clave, m.valor) : avisoValor(m.clave, m.valor));
    return lines;
}

QString AgenteUsuarioMapa() {
    return QStringLiteral("Senderal/%1 (+%2)")
        .arg(QStringLiteral(SENDERAL_VERSION_TEXT), RefererMapa());
}

QString RefererMapa() {
    return PaginaSenderal();
}

QString NombreTipoMapa(TTipoMapa t) {
    switch (t) {
    case TTipoMapa::tmMapa:
        return LookupText(QStringLiteral("_STR_MAPA_TIPO_MAPA"), QStringLiteral("Mapa"));
    case TTipoMapa::tmRelieve:
        return LookupText(QStringLiteral("_STR_MAPA_TIPO_RELIEVE"), QStringLiteral("Relieve"));
    case TTipoMapa::tmSatelite:
        return LookupText(QStringLiteral("_STR_MAPA_TIPO_SATELITE"), QStringLiteral("Satélite"));
    case TTipoMapa::tmHibrido:
        break;
    }
    return LookupText(QStringLiteral("_STR_MAPA_TIPO_HIBRIDO"), QStringLiteral("Híbrido"));
}

QByteArray GuionConfigPagina(const TConfigTeselas& c) {
    QJsonObject capas;
    for (TTipoMapa tipo : TiposMapa) {
        QJsonObject capa = capaJson(c.capa(tipo));
        capa.insert(QStringLiteral("nombre"), NombreTipoMapa(tipo));
        capas.insert(PrefijoClaveTeselas(tipo), capa);
    }
    const QJsonObject textos{
        {QStringLiteral("sinTeselas"),
         LookupText(QStringLiteral("_STR_MAPA_SINTESELAS"),
                    QStringLiteral("No se han podido cargar las teselas del mapa (¿sin "
                                   "conexión?); la ruta se muestra igualmente."))}};
    const QJsonObject config{
        {QStringLiteral("capas"), capas},
        {QStringLiteral("textos"), textos},
        {QStringLiteral("avisos"), QJsonArray::fromStringList(TextosAvisosTeselas(c))}};
    return "window.SenderalMapaConfig = " + QJsonDocument(config).toJson(QJsonDocument::Compact) +
           ";\n";
}

QString TextoTeselasRechazadas(const QString& servidor, int estadoHttp) {
    return LookupTextCon(QStringLiteral("_STR_MAPA_RECHAZADAS"),
                         QStringLiteral("El servidor de teselas %s ha rechazado las "
                                        "peticiones (HTTP %s)."),
                         {servidor, QString::number(estadoHttp)});
}
