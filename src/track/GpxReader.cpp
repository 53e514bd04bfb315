#include "GpxReader.h"

#include "FicheroRegular.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "Sensores.h"
#include "TextosPista.h"
#include "XmlScanner.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {
// Larger files are refused before they are read: a track this size would be millions
// of points, far past anything a device records.
constexpr qint64 TamanoMaximo = qint64(1) << 30;
// How much of a document is read before its pages are given back.
constexpr size_t LiberarDocumentoCada = size_t(16) << 20;

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

// The mapping's node paths as a tree of element local names (UTF-8, the form the
// document is read in), so that each element of the document is placed with one look
// among the children of its parent's node.
struct Regla {
    int campo;
    std::string atributo; // empty: the element's own text
};

struct NodoMapa {
    std::string nombre;
    std::vector<int> hijos;
    std::vector<Regla> cabecera, punto;
    bool registro = false;     // the element that makes one TrackPoint
    bool registroRuta = false; // a route point, read when the tracks hold none
};

class ArbolMapa {
  public:
    explicit ArbolMapa(const TGpxMapping& map) {
        nodos.emplace_back(); // above the root element
        for (const auto& [field, nodes] : map.cabecera)
            for (const auto& n : nodes)
                nodos[size_t(nodo(0, n.ruta))].cabecera.push_back(
                    {field, n.atributo.toStdString()});
        const int registro = nodo(0, map.rutaRegistro);
        nodos[size_t(registro)].registro = true;
        reglasPunto(registro, map);
        if (!map.rutaRegistroRuta.isEmpty()) {
            const int ruta = nodo(0, map.rutaRegistroRuta);
            nodos[size_t(ruta)].registroRuta = true;
            reglasPunto(ruta, map);
            padreRuta = nodo(0, map.rutaRegistroRuta.section(QLatin1Char('/'), 0, -2));
        }
    }

    // The node whose elements each hold one route (gpx/rte), -1 without routes.
    int padreRuta = -1;

    // The child of `padre` named `local`, or -1 when the mapping names nothing there.
    int hijo(int padre, std::string_view local) const {
        if (padre < 0)
            return -1;
        for (int h : nodos[size_t(padre)].hijos)
            if (nodos[size_t(h)].nombre == local)
                return h;
        return -1;
    }
    const NodoMapa& operator[](int i) const { return nodos[size_t(i)]; }

  private:
    void reglasPunto(int registro, const TGpxMapping& map) {
        for (size_t f = 0; f < map.punto.size(); ++f)
            for (const auto& n : map.punto[f])
                nodos[size_t(nodo(registro, n.ruta))].punto.push_back(
                    {int(f), n.atributo.toStdString()});
    }

    int nodo(int desde, const QString& ruta) {
        int actual = desde;
        for (const QString& parte : ruta.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            const std::string nombre = parte.trimmed().toStdString();
            int h = hijo(actual, nombre);
            if (h < 0) {
                h = int(nodos.size());
                nodos.push_back({nombre, {}, {}, {}, false});
                nodos[size_t(actual)].hijos.push_back(h);
            }
            actual = h;
        }
        return actual;
    }
    std::vector<NodoMapa> nodos;
};

class LectorGpx : public TXmlHandler {
  public:
    LectorGpx(const TGpxMapping& map, TrackHeader& h, TTrackPointStore& p)
        : header(h), points(p), arbol(map), raiz(map.raiz().toStdString()) {
        pila.reserve(32);
    }

    bool vistoRaiz = false;

    bool inicioElemento(std::string_view nombre, const std::vector<TXmlAtributo>& attrs,
                        QString& error) override {
        const std::string_view local = nombreLocal(nombre);
        const int padre = pila.empty() ? 0 : pila.back();
        const int nodo = arbol.hijo(padre, local);
        pila.push_back(nodo);
        declararEspacios(attrs);
        if (profPunto > 0 && profSensor == 0)
            empezarSensor(nombre, local);
        if (pila.size() == 1) {
            if (local != raiz) {
                error = TextoPista("_STR_RD_NOTGPX",
                                   "el elemento raíz <%s> no es <%s>: no es un fichero GPX",
                                   {CitaCorta(nombre), QString::fromStdString(raiz)});
                return false;
            }
            vistoRaiz = true;
        }
        if (capturando() || nodo < 0)
            return true; // the text of a child is not the captured element's own
        if (nodo == arbol.padreRuta)
            ++rutas;
        const NodoMapa& n = arbol[nodo];
        // Route points stand in for the track only while no track point has come, and
        // only those of the first route; the first track point replaces them.
        const bool puntoRuta = n.registroRuta && !hayPuntosTrack && rutas == 1;
        if (profPunto == 0 && n.registro && puntosDeRuta) {
            points.EmptyDataSet();
            puntosDeRuta = false;
        }
        if (profPunto == 0 && (n.registro || puntoRuta)) {
            hayPuntosTrack = hayPuntosTrack || n.registro;
            puntosDeRuta = puntosDeRuta || puntoRuta;
            profPunto = pila.size();
            camposPunto = 0;
            sensoresPunto = 0;
            prioridadTemperatura = 0;
            points.NuevoPunto();
            int linea = 0, columna = 0;
            PosicionEtiqueta(linea, columna);
            points.FijarPosicion(linea, columna);
            elementoPunto(n, attrs);
        } else if (profPunto > 0) {
            elementoPunto(n, attrs);
        } else {
            elementoCabecera(n, attrs);
        }
        return true;
    }

    void finElemento() override {
        const size_t prof = pila.size();
        if (capturando() && prof == profCaptura) {
            if (campoPuntoCaptura >= 0)
                fijarPunto(campoPuntoCaptura, captura);
            for (int f : camposCabeceraCaptura)
                header.campo(f) = QString::fromStdString(captura);
            campoPuntoCaptura = -1;
            camposCabeceraCaptura.clear();
            profCaptura = 0;
        }
        if (prof == profSensor)
            terminarSensor();
        if (prof == profPunto)
            profPunto = 0;
        while (!espacios.empty() && espacios.back().prof == prof)
            espacios.pop_back();
        pila.pop_back();
    }

    bool quiereTexto() const override {
        return (capturando() && pila.size() == profCaptura) ||
               (profSensor > 0 && pila.size() == profSensor);
    }

    // Inside a point element that has not ended yet.
    bool dentroDePunto() const { return profPunto > 0; }

    void texto(std::string_view utf8) override {
        if (capturando() && pila.size() == profCaptura)
            captura.append(utf8);
        if (profSensor > 0 && pila.size() == profSensor)
            textoSensor.append(utf8);
    }

  private:
    bool capturando() const { return profCaptura > 0; }

    // Extension elements are told apart by namespace, whatever prefix the file gives it.
    void declararEspacios(const std::vector<TXmlAtributo>& attrs) {
        for (const TXmlAtributo& a : attrs) {
            if (a.nombre.substr(0, 5) != "xmlns")
                continue;
            if (a.nombre.size() == 5)
                espacios.push_back({pila.size(), {}, std::string(a.valor)});
            else if (a.nombre[5] == ':')
                espacios.push_back(
                    {pila.size(), std::string(a.nombre.substr(6)), std::string(a.valor)});
        }
    }

    std::string_view espacioDe(std::string_view qname) const {
        const size_t colon = qname.rfind(':');
        const std::string_view prefijo =
            colon == std::string_view::npos ? std::string_view() : qname.substr(0, colon);
        for (auto e = espacios.rbegin(); e != espacios.rend(); ++e)
            if (e->prefijo == prefijo)
                return e->uri;
        return {};
    }

    void empezarSensor(std::string_view qname, std::string_view local) {
        Sensor s;
        int prioridad = 0;
        if (!SensorDeElemento(espacioDe(qname), local, s, prioridad))
            return;
        profSensor = pila.size();
        sensorCaptura = s;
        prioridadCaptura = prioridad;
        textoSensor.clear();
    }

    // A value that is not a number leaves the point without it. The first value of a
    // sensor wins, except that air temperature goes before water temperature.
    void terminarSensor() {
        profSensor = 0;
        double v = 0;
        if (!IntentarLeerNumero(std::string_view(textoSensor), v))
            return;
        const unsigned bit = 1u << int(sensorCaptura);
        if (sensoresPunto & bit) {
            if (sensorCaptura != Sensor::Temperatura || prioridadCaptura >= prioridadTemperatura)
                return;
        }
        sensoresPunto |= bit;
        if (sensorCaptura == Sensor::Temperatura)
            prioridadTemperatura = prioridadCaptura;
        points.FijarSensor(sensorCaptura, v);
    }

    void capturar(int campoPunto, int campoCabecera) {
        if (!capturando()) {
            profCaptura = pila.size();
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

    void elementoPunto(const NodoMapa& n, const std::vector<TXmlAtributo>& attrs) {
        for (const Regla& r : n.punto) {
            if (camposPunto & (1u << r.campo))
                continue;
            if (r.atributo.empty()) {
                capturar(r.campo, -1);
            } else if (const std::string_view* v = buscarAtributo(attrs, r.atributo)) {
                fijarPunto(r.campo, *v);
            }
        }
    }

    void elementoCabecera(const NodoMapa& n, const std::vector<TXmlAtributo>& attrs) {
        for (const Regla& r : n.cabecera) {
            if (fijado[size_t(r.campo)])
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
    const ArbolMapa arbol;
    const std::string raiz;
    std::array<bool, 12> fijado{};

    std::vector<int> pila; // the mapping node of each open element, -1 outside it
    size_t profPunto = 0;  // depth of the open record element, 0 outside one
    int rutas = 0;         // route elements begun so far
    bool hayPuntosTrack = false;
    bool puntosDeRuta = false; // the store holds the first route's points
    unsigned camposPunto = 0;

    struct Espacio {
        size_t prof;              // depth of the element that declares it
        std::string prefijo, uri; // the scanner's views last only for one call
    };
    std::vector<Espacio> espacios;

    size_t profSensor = 0; // depth of the open sensor element, 0 outside one
    Sensor sensorCaptura = Sensor::Pulso;
    int prioridadCaptura = 0;
    unsigned sensoresPunto = 0;
    int prioridadTemperatura = 0;
    std::string textoSensor;

    size_t profCaptura = 0; // depth of the element whose text is being gathered
    int campoPuntoCaptura = -1;
    std::vector<int> camposCabeceraCaptura;
    std::string captura;
};

// The whole device, with the size limit holding while it is read: a device that never
// ends (a pipe fed without end) stops at the limit instead of filling the memory.
bool leerTodo(QIODevice& device, QByteArray& raw, QString& error) {
    if (!device.isSequential() && device.size() > TamanoMaximo) {
        error = TextoFicheroGrande(TamanoMaximo);
        return false;
    }
    raw.clear();
    char bloque[1 << 16];
    for (;;) {
        const qint64 n = device.read(bloque, sizeof bloque);
        if (n <= 0)
            break;
        if (raw.size() + n > TamanoMaximo) {
            error = TextoFicheroGrande(TamanoMaximo);
            raw.clear();
            return false;
        }
        raw.append(bloque, qsizetype(n));
    }
    return true;
}

QString TextoVacio() {
    return TextoPista("_STR_RD_FILEEMPTY", "el fichero está vacío");
}

// Runs a read; running out of memory is reported like any other failure.
template <class F> bool leerProtegido(F&& leer, TTrackPointStore& points, QString& error) {
    try {
        return leer();
    } catch (const std::bad_alloc&) {
        // Whatever was filled is dropped at once: the caller reports and goes on.
        points.EmptyDataSet();
        error = TextoSinMemoria();
        return false;
    }
}

bool leerUtf8(QByteArray&& utf8, const TGpxMapping& mapping, TrackHeader& header,
              TTrackPointStore& points, QString& error, bool* danado) {
    // Kept here until the read ends: the scanner works on it in place.
    const QByteArray documento = std::move(utf8);
    // About 125 bytes of GPX per point, about 50 of them kept.
    points.Reservar(size_t(documento.size() / 120), size_t(documento.size() / 2));
    try {
        LectorGpx lector(mapping, header, points);
        // The points grow while the document is read: what was read of a buffer only this
        // function holds is given back as it goes, so that the two are not held whole at
        // once.
        const size_t liberarCada = documento.isDetached() ? LiberarDocumentoCada : 0;
        if (!RecorrerXml(std::string_view(documento.constData(), size_t(documento.size())), lector,
                         error, liberarCada)) {
            // A file cut short keeps the points that ended before the damage; the one
            // it was in the middle of is incomplete.
            if (lector.vistoRaiz && danado)
                *danado = true;
            if (lector.dentroDePunto())
                points.QuitarUltimo();
            return false;
        }
        if (!lector.vistoRaiz) {
            error =
                TextoPista("_STR_RD_NOGPXELEMENT", "el fichero no contiene ningún elemento GPX");
            return false;
        }
        return true;
    } catch (const ESenderalError& e) {
        error = e.text();
        return false;
    }
}
} // namespace

bool LeerGpx(QIODevice& device, const TGpxMapping& mapping, TrackHeader& header,
             TTrackPointStore& points, QString& error, bool* danado) {
    if (danado)
        *danado = false;
    QByteArray raw;
    try {
        if (!leerTodo(device, raw, error))
            return false;
    } catch (const std::bad_alloc&) {
        error = TextoSinMemoria();
        return false;
    }
    return LeerGpxBytes(std::move(raw), mapping, header, points, error, danado);
}

bool LeerFicheroGpx(const QString& path, const TGpxMapping& mapping, TrackHeader& header,
                    TTrackPointStore& points, QString& error, const TLecturaFichero& opciones,
                    bool* danado) {
    if (danado)
        *danado = false;
    TLecturaFichero op = opciones;
    op.Limite = std::min(op.Limite, TamanoMaximo);
    // Decoded as it is read: the file's own bytes are never held whole beside the UTF-8.
    TDocumentoUtf8 documento;
    if (!LeerFicheroRegular(path, documento, error, op))
        return false;
    if (documento.Leidos() == 0) {
        error = TextoVacio();
        return false;
    }
    return leerProtegido(
        [&] { return leerUtf8(documento.Tomar(), mapping, header, points, error, danado); }, points,
        error);
}

bool LeerGpxBytes(QByteArray&& raw, const TGpxMapping& mapping, TrackHeader& header,
                  TTrackPointStore& points, QString& error, bool* danado) {
    if (danado)
        *danado = false;
    return leerProtegido(
        [&] {
            if (raw.isEmpty()) {
                error = TextoVacio();
                return false;
            }
            QByteArray utf8;
            if (!DocumentoXmlEnUtf8(std::move(raw), utf8, error))
                return false;
            return leerUtf8(std::move(utf8), mapping, header, points, error, danado);
        },
        points, error);
}
