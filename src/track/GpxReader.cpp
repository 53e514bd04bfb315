#include "GpxReader.h"

#include "SenderalError.h"
#include "XmlScanner.h"

#include <QFileDevice>
#include <array>
#include <string>
#include <vector>

namespace {
// Larger files are refused before they are read: a track this size would be millions
// of points, far past anything a device records.
constexpr qint64 TamanoMaximo = qint64(1) << 30;

std::string_view nombreLocal(std::string_view qname) {
    const size_t colon = qname.rfind(':');
    return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

const std::string_view* buscarAtributo(const std::vector<TXmlAtributo>& attrs,
                                       std::string_view nombre) {
    for (const TXmlAtributo& a : attrs)
        if (a.nombre == nombre)
            return &a.valor;
    return nullptr;
}

// The mapping's node paths as UTF-8, the form the document is read in.
struct Regla {
    int campo;
    std::string ruta;     // absolute for the header, relative to the record for points
    std::string atributo; // empty: the element's own text
};

class LectorGpx : public TXmlHandler {
  public:
    LectorGpx(const TGpxMapping& map, TrackHeader& h, TTrackPointStore& p)
        : header(h), points(p), raiz(map.raiz().toStdString()),
          rutaRegistro(map.rutaRegistro.toStdString()) {
        for (const auto& [field, nodes] : map.cabecera)
            for (const auto& n : nodes)
                cabecera.push_back({field, n.ruta.toStdString(), n.atributo.toStdString()});
        for (size_t f = 0; f < map.punto.size(); ++f)
            for (const auto& n : map.punto[f])
                punto.push_back({int(f), n.ruta.toStdString(), n.atributo.toStdString()});
    }

    bool vistoRaiz = false;

    bool inicioElemento(std::string_view nombre, const std::vector<TXmlAtributo>& attrs,
                        QString& error) override {
        const std::string_view local = nombreLocal(nombre);
        longitudes.push_back(ruta.size());
        if (!ruta.empty())
            ruta += '/';
        ruta += local;
        const size_t prof = longitudes.size();
        if (prof == 1) {
            if (local != raiz) {
                error = QStringLiteral("el elemento raíz <%1> no es <%2>: no es un fichero GPX")
                            .arg(QString::fromUtf8(nombre.data(), qsizetype(nombre.size())),
                                 QString::fromStdString(raiz));
                return false;
            }
            vistoRaiz = true;
        }
        if (capturando())
            return true; // the text of a child is not the captured element's own
        if (profPunto == 0 && ruta == rutaRegistro) {
            profPunto = prof;
            camposPunto = 0;
            points.NuevoPunto();
            elementoPunto(std::string_view(), attrs);
        } else if (profPunto > 0) {
            elementoPunto(std::string_view(ruta).substr(rutaRegistro.size() + 1), attrs);
        } else {
            elementoCabecera(attrs);
        }
        return true;
    }

    void finElemento() override {
        const size_t prof = longitudes.size();
        if (capturando() && prof == profCaptura) {
            if (campoPuntoCaptura >= 0)
                fijarPunto(campoPuntoCaptura, captura);
            for (int f : camposCabeceraCaptura)
                header.campo(f) = QString::fromStdString(captura);
            campoPuntoCaptura = -1;
            camposCabeceraCaptura.clear();
            profCaptura = 0;
        }
        if (prof == profPunto)
            profPunto = 0;
        ruta.resize(longitudes.back());
        longitudes.pop_back();
    }

    bool quiereTexto() const override { return capturando() && longitudes.size() == profCaptura; }

    void texto(std::string_view utf8) override {
        if (capturando() && longitudes.size() == profCaptura)
            captura.append(utf8);
    }

  private:
    bool capturando() const { return profCaptura > 0; }

    void capturar(int campoPunto, int campoCabecera) {
        if (!capturando()) {
            profCaptura = longitudes.size();
            captura.clear();
        }
        if (campoPunto >= 0)
            campoPuntoCaptura = campoPunto;
        if (campoCabecera >= 0)
            camposCabeceraCaptura.push_back(campoCabecera);
    }

    // The first node found fills a field; later alternatives and repeats are ignored.
    void fijarPunto(int campo, std::string_view valor) {
        const unsigned bit = 1u << campo;
        if (camposPunto & bit)
            return;
        camposPunto |= bit;
        points.FijarCampo(CampoPunto(campo), valor);
    }

    void elementoPunto(std::string_view rel, const std::vector<TXmlAtributo>& attrs) {
        for (const Regla& r : punto) {
            if (r.ruta != rel || (camposPunto & (1u << r.campo)))
                continue;
            if (r.atributo.empty()) {
                capturar(r.campo, -1);
            } else if (const std::string_view* v = buscarAtributo(attrs, r.atributo)) {
                fijarPunto(r.campo, *v);
            }
        }
    }

    void elementoCabecera(const std::vector<TXmlAtributo>& attrs) {
        for (const Regla& r : cabecera) {
            if (r.ruta != ruta || fijado[size_t(r.campo)])
                continue;
            if (r.atributo.empty()) {
                capturar(-1, r.campo);
                fijado[size_t(r.campo)] = true;
            } else if (const std::string_view* v = buscarAtributo(attrs, r.atributo)) {
                header.campo(r.campo) = QString::fromUtf8(v->data(), qsizetype(v->size()));
                fijado[size_t(r.campo)] = true;
            }
        }
    }

    TrackHeader& header;
    TTrackPointStore& points;
    const std::string raiz;
    const std::string rutaRegistro;
    std::vector<Regla> cabecera, punto;
    std::array<bool, 12> fijado{};

    std::string ruta; // local names from the root, joined by '/'
    std::vector<size_t> longitudes;
    size_t profPunto = 0; // depth of the open record element, 0 outside one
    unsigned camposPunto = 0;

    size_t profCaptura = 0; // depth of the element whose text is being gathered
    int campoPuntoCaptura = -1;
    std::vector<int> camposCabeceraCaptura;
    std::string captura;
};

// The whole file in one block: a file is mapped into memory rather than copied.
bool leerTodo(QIODevice& device, QByteArray& raw, QString& error) {
    if (!device.isSequential() && device.size() > TamanoMaximo) {
        error = QStringLiteral("el fichero ocupa %1 MB; el máximo que se puede abrir es %2 MB")
                    .arg(device.size() >> 20)
                    .arg(TamanoMaximo >> 20);
        return false;
    }
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (file && file->pos() == 0 && file->size() > 0) {
        if (const uchar* map = file->map(0, file->size())) {
            raw = QByteArray::fromRawData(reinterpret_cast<const char*>(map), file->size());
            return true;
        }
    }
    raw = device.readAll();
    if (raw.size() > TamanoMaximo) {
        error = QStringLiteral("el fichero supera los %1 MB que se pueden abrir")
                    .arg(TamanoMaximo >> 20);
        return false;
    }
    if (raw.isEmpty()) {
        error = QStringLiteral("el fichero está vacío");
        return false;
    }
    return true;
}
} // namespace

bool LeerGpx(QIODevice& device, const TGpxMapping& mapping, TrackHeader& header,
             TTrackPointStore& points, QString& error) {
    // A mapped file stays mapped until the device is closed; `utf8` may share it.
    QByteArray utf8;
    {
        QByteArray raw;
        if (!leerTodo(device, raw, error) || !DocumentoXmlEnUtf8(raw, utf8, error))
            return false;
    }
    // About 125 bytes of GPX per point, about 50 of them kept.
    points.Reservar(size_t(utf8.size() / 120), size_t(utf8.size() / 2));
    try {
        LectorGpx lector(mapping, header, points);
        if (!RecorrerXml(std::string_view(utf8.constData(), size_t(utf8.size())), lector, error))
            return false;
        if (!lector.vistoRaiz) {
            error = QStringLiteral("el fichero no contiene ningún elemento GPX");
            return false;
        }
        return true;
    } catch (const ESenderalError& e) {
        error = e.text();
        return false;
    }
}
