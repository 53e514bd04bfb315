#include "GpxReader.h"

#include "SenderalError.h"

#include <QHash>
#include <QXmlStreamReader>
#include <vector>

namespace {
// Appends a value to the store's last point, converting to UTF-8 without a temporary
// for the plain ASCII that numbers and times are made of.
void fijar(TTrackPointStore& points, CampoPunto field, QStringView value) {
    char buf[64];
    if (value.size() < qsizetype(sizeof buf)) {
        bool ascii = true;
        for (qsizetype i = 0; i < value.size() && ascii; ++i) {
            const char16_t c = value[i].unicode();
            ascii = c < 0x80;
            buf[i] = char(c);
        }
        if (ascii) {
            points.FijarCampo(field, std::string_view(buf, size_t(value.size())));
            return;
        }
    }
    const QByteArray utf8 = value.toUtf8();
    points.FijarCampo(field, std::string_view(utf8.constData(), size_t(utf8.size())));
}

struct ReglaCabecera {
    int campo;
    QString atributo;
};

class Lector {
public:
    Lector(QIODevice& device, const TGpxMapping& m, TrackHeader& h, TTrackPointStore& p)
        : xml(&device), map(m), header(h), points(p) {
        for (const auto& [field, nodes] : map.cabecera)
            for (const auto& n : nodes)
                reglas[n.ruta].push_back({field, n.atributo});
        for (size_t f = 0; f < map.punto.size(); ++f)
            for (const auto& n : map.punto[f])
                (n.atributo.isEmpty() ? hijosPunto : atributosPunto).push_back({int(f), n});
    }

    bool leer(QString& error) {
        while (!xml.atEnd()) {
            const auto tok = xml.readNext();
            if (tok == QXmlStreamReader::StartElement) {
                if (!inicio(error))
                    return false;
            } else if (tok == QXmlStreamReader::EndElement) {
                fin();
            }
        }
        if (xml.hasError()) {
            error = QStringLiteral("línea %1, columna %2: %3")
                        .arg(xml.lineNumber())
                        .arg(xml.columnNumber())
                        .arg(xml.errorString());
            return false;
        }
        if (!vistoRaiz) {
            error = QStringLiteral("el fichero no contiene ningún elemento GPX");
            return false;
        }
        return true;
    }

private:
    struct PuntoRegla {
        int campo;
        TGpxMapping::Nodo nodo;
    };

    void entrar() {
        longitudes.push_back(ruta.size());
        if (!ruta.isEmpty())
            ruta += QLatin1Char('/');
        ruta += xml.name();
    }
    void salir() {
        if (!longitudes.empty()) {
            ruta.truncate(longitudes.back());
            longitudes.pop_back();
        }
    }

    bool inicio(QString& error) {
        entrar();
        if (longitudes.size() == 1) {
            if (xml.name() != map.raiz()) {
                error = QStringLiteral("el elemento raíz <%1> no es <%2>: no es un fichero GPX")
                            .arg(xml.name(), map.raiz());
                return false;
            }
            vistoRaiz = true;
        }
        if (enPunto < 0 && ruta == map.rutaRegistro) {
            enPunto = int(ruta.size());
            points.NuevoPunto();
            const QXmlStreamAttributes attrs = xml.attributes();
            for (const auto& r : atributosPunto)
                if (r.nodo.ruta.isEmpty() && attrs.hasAttribute(r.nodo.atributo))
                    fijar(points, CampoPunto(r.campo), attrs.value(r.nodo.atributo));
            return true;
        }
        if (enPunto >= 0) {
            const QStringView rel = QStringView(ruta).mid(enPunto + 1);
            for (const auto& r : hijosPunto)
                if (rel == r.nodo.ruta) {
                    const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
                    fijar(points, CampoPunto(r.campo), text);
                    salir();
                    return true;
                }
            return true;
        }
        const auto it = reglas.constFind(ruta);
        if (it == reglas.constEnd())
            return true;
        QString text;
        bool leido = false;
        for (const ReglaCabecera& r : *it) {
            if (fijado[size_t(r.campo)])
                continue;
            if (r.atributo.isEmpty()) {
                if (!leido) {
                    text = xml.readElementText(QXmlStreamReader::SkipChildElements);
                    leido = true;
                }
                header.campo(r.campo) = text;
                fijado[size_t(r.campo)] = true;
            } else if (r.atributo.startsWith(QLatin1String("xmlns:"))) {
                const QStringView prefix = QStringView(r.atributo).mid(6);
                for (const auto& ns : xml.namespaceDeclarations())
                    if (ns.prefix() == prefix) {
                        header.campo(r.campo) = ns.namespaceUri().toString();
                        fijado[size_t(r.campo)] = true;
                    }
            } else if (xml.attributes().hasAttribute(r.atributo)) {
                header.campo(r.campo) = xml.attributes().value(r.atributo).toString();
                fijado[size_t(r.campo)] = true;
            }
        }
        if (leido)
            salir(); // readElementText consumed the end of the element
        return true;
    }

    void fin() {
        if (enPunto >= 0 && ruta.size() == enPunto)
            enPunto = -1;
        salir();
    }

    QXmlStreamReader xml;
    const TGpxMapping& map;
    TrackHeader& header;
    TTrackPointStore& points;
    QHash<QString, std::vector<ReglaCabecera>> reglas;
    std::vector<PuntoRegla> atributosPunto, hijosPunto;
    std::array<bool, 12> fijado{};
    QString ruta;
    std::vector<qsizetype> longitudes;
    int enPunto = -1;
    bool vistoRaiz = false;
};
} // namespace

bool LeerGpx(QIODevice& device, const TGpxMapping& mapping, TrackHeader& header,
             TTrackPointStore& points, QString& error) {
    const qint64 size = device.size();
    if (size > 0) // about 100 bytes of GPX per point
        points.Reservar(size_t(size / 100), size_t(size / 4));
    try {
        Lector lector(device, mapping, header, points);
        return lector.leer(error);
    } catch (const ESenderalError& e) {
        error = e.text();
        return false;
    }
}
