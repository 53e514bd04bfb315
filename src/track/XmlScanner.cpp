#include "XmlScanner.h"

#include "Numeros.h"
#include "TextosPista.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <sys/mman.h>
#include <unistd.h>

namespace {
bool esEspacio(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Name characters, simplified to ASCII: every non-ASCII byte is taken as a name
// character (the document was checked as UTF-8 already).
struct TablaNombres {
    std::array<bool, 256> inicio{}, resto{};
    TablaNombres() {
        for (int c = 0; c < 256; ++c) {
            const bool letra = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
                               c == ':' || c >= 0x80;
            inicio[size_t(c)] = letra;
            resto[size_t(c)] = letra || (c >= '0' && c <= '9') || c == '-' || c == '.';
        }
    }
};
const TablaNombres& nombres() {
    static const TablaNombres t;
    return t;
}

bool caracterXml(uint32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

void anadirUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Offset of the first byte that cannot stand in an XML document (a control character,
// malformed UTF-8, a surrogate or U+FFFE/U+FFFF), or -1. Runs of eight plain printable
// ASCII bytes are passed over a word at a time.
qsizetype primerByteInvalido(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        if (i + 8 <= n) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            const uint64_t alto = w & 0x8080808080808080ULL;
            const uint64_t control = (w - 0x2020202020202020ULL) & ~w & 0x8080808080808080ULL;
            if ((alto | control) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned c = p[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return qsizetype(i);
            ++i;
            continue;
        }
        size_t len;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return qsizetype(i);
        }
        if (i + len > n)
            return qsizetype(i);
        for (size_t k = 1; k < len; ++k) {
            const unsigned d = p[i + k];
            if ((d & 0xC0) != 0x80)
                return qsizetype(i);
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || !caracterXml(cp))
            return qsizetype(i);
        i += len;
    }
    return -1;
}

// The encoding named in an XML declaration at the start of an 8-bit document; empty
// when there is no declaration or it names none.
QByteArray codificacionDeclarada(const QByteArray& raw) {
    if (!raw.startsWith("<?xml"))
        return {};
    const qsizetype fin = raw.indexOf("?>");
    if (fin < 0)
        return {};
    const QByteArray decl = raw.left(fin);
    qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return {};
    at += 8;
    while (at < decl.size() && esEspacio(decl[at]))
        ++at;
    if (at >= decl.size() || decl[at] != '=')
        return {};
    ++at;
    while (at < decl.size() && esEspacio(decl[at]))
        ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\''))
        return {};
    const qsizetype cierre = decl.indexOf(decl[at], at + 1);
    return cierre < 0 ? QByteArray() : decl.mid(at + 1, cierre - at - 1).trimmed();
}
} // namespace

void TDocumentoUtf8::empezar(qint64 tamano) {
    FModo = Modo::Cabeza;
    FTamano = tamano;
    FLeidos = 0;
    FCabeza = QByteArray();
    FBuscado = 0;
    FSaltar = 0;
    FUnidad = 1;
    FDecodificador.reset();
    FPendiente.clear();
    FUtf8 = QByteArray();
}

TDocumentoUtf8::Decision TDocumentoUtf8::decidir(bool alFinal, QString& error) {
    const QByteArray& raw = FCabeza;
    if (raw.size() < 4 && !alFinal)
        return Decision::Falta;
    const auto b = [&raw](qsizetype i) {
        return i < raw.size() ? static_cast<unsigned char>(raw[i]) : 0x100u;
    };
    const auto ancho = [this](QStringConverter::Encoding e, qsizetype marca, int unidad) {
        FDecodificador.emplace(e);
        FSaltar = marca;
        FUnidad = unidad;
        FModo = Modo::Decodificador;
        return Decision::Hecha;
    };
    // Byte-order marks first, then the first characters "<?" as each wide form writes them.
    if (b(0) == 0xFF && b(1) == 0xFE && b(2) == 0 && b(3) == 0)
        return ancho(QStringConverter::Utf32LE, 4, 4);
    if (b(0) == 0 && b(1) == 0 && b(2) == 0xFE && b(3) == 0xFF)
        return ancho(QStringConverter::Utf32BE, 4, 4);
    if (b(0) == 0xFF && b(1) == 0xFE)
        return ancho(QStringConverter::Utf16LE, 2, 2);
    if (b(0) == 0xFE && b(1) == 0xFF)
        return ancho(QStringConverter::Utf16BE, 2, 2);
    if (b(0) == '<' && b(1) == 0 && b(2) == '?' && b(3) == 0)
        return ancho(QStringConverter::Utf16LE, 0, 2);
    if (b(0) == 0 && b(1) == '<' && b(2) == 0 && b(3) == '?')
        return ancho(QStringConverter::Utf16BE, 0, 2);
    if (b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
        FModo = Modo::Igual; // the reader passes over the mark
        return Decision::Hecha;
    }
    if (!alFinal) {
        if (raw.size() < 5)
            return Decision::Falta;
        // A declaration is read whole before its encoding is taken.
        if (raw.startsWith("<?xml")) {
            if (raw.indexOf("?>", std::max<qsizetype>(0, FBuscado - 1)) < 0) {
                FBuscado = raw.size();
                return Decision::Falta;
            }
        }
    }

    const QByteArray name = codificacionDeclarada(raw).toUpper();
    if (name.isEmpty() || name == "UTF-8" || name == "UTF8" || name == "US-ASCII" ||
        name == "ASCII") {
        FModo = Modo::Igual;
        return Decision::Hecha;
    }
    if (name == "ISO-8859-1" || name == "ISO8859-1" || name == "ISO_8859-1" || name == "LATIN1" ||
        name == "LATIN-1" || name == "L1") {
        FModo = Modo::Latin1;
        return Decision::Hecha;
    }
    if (name.startsWith("UTF-16") || name.startsWith("UTF-32") || name.startsWith("UCS")) {
        error = TextoPista("_STR_RD_NOTINENCODING",
                           "el fichero declara la codificación %s pero no está escrito en ella",
                           {CitaCorta(QString::fromLatin1(name))});
        return Decision::Error;
    }
    QStringDecoder dec(name.constData());
    if (!dec.isValid()) {
        error = TextoPista("_STR_RD_UNKNOWNENCODING", "codificación de caracteres no admitida: %s",
                           {CitaCorta(QString::fromLatin1(name))});
        return Decision::Error;
    }
    FDecodificador.emplace(std::move(dec));
    FModo = Modo::Decodificador;
    return Decision::Hecha;
}

// Room for `mas` more bytes. The first estimate comes from the file's size; past it the
// buffer grows by a quarter, so that its spare room stays small.
void TDocumentoUtf8::reservar(qsizetype mas) {
    const qsizetype falta = FUtf8.size() + mas;
    if (falta > FUtf8.capacity())
        FUtf8.reserve(std::max(falta, FUtf8.size() + FUtf8.size() / 4));
}

// Once the encoding is known, the bytes gathered so far become the start of the result.
bool TDocumentoUtf8::seguirConCabeza(QString& error) {
    QByteArray cabeza = std::move(FCabeza);
    FCabeza = QByteArray();
    const qint64 resto = std::max<qint64>(FTamano, FLeidos) - FSaltar;
    switch (FModo) {
    case Modo::Igual:
        FUtf8 = std::move(cabeza);
        if (FUtf8.capacity() < resto)
            FUtf8.reserve(qsizetype(resto));
        return true;
    case Modo::Latin1: // mostly ASCII: a few letters take two bytes
        FUtf8.reserve(qsizetype(resto + resto / 64 + 64));
        break;
    case Modo::Decodificador: // the same for wide units, each ASCII letter one byte
        FUtf8.reserve(qsizetype(resto / FUnidad + resto / (64 * FUnidad) + 64));
        break;
    case Modo::Cabeza:
        break;
    }
    return convertir(QByteArrayView(cabeza).sliced(std::min(FSaltar, cabeza.size())), error);
}

bool TDocumentoUtf8::bloque(QByteArrayView datos, QString& error) {
    FLeidos += datos.size();
    if (FModo != Modo::Cabeza)
        return convertir(datos, error);
    FCabeza.append(datos);
    switch (decidir(false, error)) {
    case Decision::Falta:
        return true;
    case Decision::Error:
        return false;
    case Decision::Hecha:
        break;
    }
    return seguirConCabeza(error);
}

bool TDocumentoUtf8::convertir(QByteArrayView datos, QString& error) {
    if (FModo == Modo::Igual) {
        reservar(datos.size());
        FUtf8.append(datos);
        return true;
    }
    if (FModo == Modo::Latin1) {
        const auto* p = reinterpret_cast<const unsigned char*>(datos.data());
        const qsizetype n = datos.size();
        qsizetype altos = 0;
        for (qsizetype i = 0; i < n; ++i)
            altos += p[i] >> 7;
        reservar(n + altos);
        const qsizetype antes = FUtf8.size();
        FUtf8.resize(antes + n + altos);
        char* o = FUtf8.data() + antes;
        for (qsizetype i = 0; i < n;) {
            if (i + 8 <= n) {
                uint64_t w;
                std::memcpy(&w, p + i, 8);
                if ((w & 0x8080808080808080ULL) == 0) {
                    std::memcpy(o, p + i, 8);
                    o += 8;
                    i += 8;
                    continue;
                }
            }
            const unsigned c = p[i++];
            if (c < 0x80) {
                *o++ = char(c);
            } else {
                *o++ = char(0xC0 | (c >> 6));
                *o++ = char(0x80 | (c & 0x3F));
            }
        }
        return true;
    }
    // Through the decoder 64 KiB at a time, so that its UTF-16 stays small.
    constexpr qsizetype Trozo = qsizetype(1) << 16;
    for (qsizetype at = 0; at < datos.size(); at += Trozo) {
        FPendiente += FDecodificador->decode(datos.sliced(at, std::min(Trozo, datos.size() - at)));
        if (FDecodificador->hasError()) {
            error = TextoPista("_STR_RD_BADENCODING",
                               "el contenido no está codificado como declara el fichero");
            return false;
        }
        // The first half of a pair that a block boundary split waits for its second
        // half: converted alone it would be lost.
        const bool mitad = !FPendiente.isEmpty() && FPendiente.back().isHighSurrogate();
        const QByteArray parte = QStringView(FPendiente).chopped(mitad ? 1 : 0).toUtf8();
        reservar(parte.size());
        FUtf8 += parte;
        FPendiente = mitad ? QString(FPendiente.back()) : QString();
    }
    return true;
}

bool TDocumentoUtf8::terminar(QString& error) {
    if (FModo == Modo::Cabeza) {
        if (decidir(true, error) == Decision::Error || !seguirConCabeza(error))
            return false;
    }
    if (FModo == Modo::Decodificador) {
        const qint64 sobran = (FLeidos - FSaltar) % FUnidad;
        if (sobran != 0) {
            error =
                TextoPista("_STR_RD_CUTCHAR",
                           "el fichero está escrito en %s pero termina a medias de un "
                           "carácter (le sobran %s bytes al final)",
                           {QString::fromLatin1(FDecodificador->name()), QString::number(sobran)});
            return false;
        }
        FUtf8 += FPendiente.toUtf8();
        FPendiente.clear();
        FDecodificador.reset();
    }
    return true;
}

bool TDocumentoUtf8::Todo(QByteArray raw, QString& error) {
    empezar(raw.size());
    FLeidos = raw.size();
    FCabeza = std::move(raw);
    return terminar(error);
}

bool DocumentoXmlEnUtf8(QByteArray raw, QByteArray& utf8, QString& error) {
    TDocumentoUtf8 documento;
    if (!documento.Todo(std::move(raw), error))
        return false;
    utf8 = documento.Tomar();
    return true;
}

namespace {
// No track file comes near this depth; the limit keeps a hostile file of nested
// elements from costing memory for every level.
constexpr size_t ProfundidadMaxima = 1000;

class Recorrido {
  public:
    Recorrido(std::string_view doc, TXmlHandler& h, size_t liberarCada)
        : FIni(doc.data()), p(doc.data()), fin(doc.data() + doc.size()), handler(h),
          FLiberarCada(liberarCada), FLiberado(doc.data()) {}

    bool leer(QString& error) {
        const bool ok = documento();
        if (!ok) {
            int l = 0, c = 0;
            posicion(FPosError, l, c);
            error = TextoPista("_STR_MI_LINECOLUMN", "línea %s, columna %s",
                               {QString::number(l), QString::number(c)}) +
                    QStringLiteral(": ") + FMotivo;
        }
        return ok;
    }

    // Where the current start tag begins. Tags are asked for in document order, so the
    // count goes on from the last tag asked for and the whole file is counted once.
    void posicionEtiqueta(int& linea, int& columna) { posicion(FEtiqueta, linea, columna); }

  private:
    // Line and column of `at`. Places are asked for in document order (errors come at or
    // after the last tag asked for), so the count goes on from the last one.
    void posicion(const char* at, int& linea, int& columna) {
        if (at < FContado) { // never happens in document order; count afresh
            linea = this->linea(at);
            columna = this->columna(at);
            return;
        }
        contarHasta(at);
        linea = FLineaContada;
        columna = FColumnaContada;
    }

    void contarHasta(const char* at) {
        const char* ultimaLinea = nullptr;
        for (const char* q = FContado; q < at;) {
            const void* nl = std::memchr(q, '\n', size_t(at - q));
            if (!nl)
                break;
            ultimaLinea = static_cast<const char*>(nl);
            ++FLineaContada;
            q = ultimaLinea + 1;
        }
        if (ultimaLinea)
            FColumnaContada = 1 + caracteres(ultimaLinea + 1, at);
        else
            FColumnaContada += caracteres(FContado, at);
        FContado = at;
    }

    // Gives the pages of the document read so far back to the system, once every
    // FLiberarCada bytes. `hasta` is where the current piece of content begins: nothing
    // before it is read again, except the names of the open elements (copied first) and
    // the line count (taken up to there first).
    void quizaLiberar(const char* hasta) {
        if (FLiberarCada == 0 || size_t(hasta - FLiberado) < FLiberarCada)
            return;
        const auto pagina = uintptr_t(::sysconf(_SC_PAGESIZE));
        // Whole pages only, never the one the document begins in: whatever holds the
        // buffer keeps its own bookkeeping just before it.
        const uintptr_t desde =
            FLiberado == FIni ? (uintptr_t(FIni) + pagina) & ~(pagina - 1) : uintptr_t(FLiberado);
        const uintptr_t hastaPagina = uintptr_t(hasta) & ~(pagina - 1);
        if (hastaPagina <= desde)
            return;
        const auto limite = reinterpret_cast<const char*>(hastaPagina);
        contarHasta(std::max(FContado, limite));
        for (std::string_view& n : FPila) {
            if (uintptr_t(n.data()) >= uintptr_t(FIni) && uintptr_t(n.data()) < hastaPagina) {
                FRescatados.emplace_back(n);
                n = FRescatados.back();
            }
        }
        ::madvise(reinterpret_cast<void*>(desde), hastaPagina - desde, MADV_DONTNEED);
        FLiberado = limite;
    }
    static int caracteres(const char* a, const char* b) {
        int n = 0;
        for (; a < b; ++a)
            if ((static_cast<unsigned char>(*a) & 0xC0) != 0x80)
                ++n;
        return n;
    }

    bool falla(const char* donde, const QString& motivo) {
        FPosError = donde;
        FMotivo = motivo;
        return false;
    }
    bool empieza(const char* s) const {
        const size_t n = std::strlen(s);
        return size_t(fin - p) >= n && std::memcmp(p, s, n) == 0;
    }
    void espacios() {
        while (p < fin && esEspacio(*p))
            ++p;
    }
    bool nombre() {
        const auto& t = nombres();
        if (p >= fin || !t.inicio[static_cast<unsigned char>(*p)])
            return false;
        ++p;
        while (p < fin && t.resto[static_cast<unsigned char>(*p)])
            ++p;
        return true;
    }
    // A name or value quoted in a message.
    static QString texto(std::string_view s) { return CitaCorta(s); }

    int linea(const char* at) const { return 1 + int(std::count(FIni, at, '\n')); }
    int columna(const char* at) const {
        const char* l = at;
        while (l > FIni && l[-1] != '\n')
            --l;
        int col = 1;
        for (; l < at; ++l)
            if ((static_cast<unsigned char>(*l) & 0xC0) != 0x80)
                ++col;
        return col;
    }

    bool documento() {
        if (fin - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
            p += 3;
        const qsizetype malo = primerByteInvalido(std::string_view(p, size_t(fin - p)));
        if (malo >= 0)
            return falla(p + malo,
                         TextoPista("_STR_RD_BADCHAR", "carácter no permitido en un documento XML "
                                                       "(¿fichero binario o mal codificado?)"));
        if (p == fin)
            return falla(p, TextoPista("_STR_RD_DOCEMPTY", "el documento está vacío"));
        if (empieza("<?xml") && fin - p > 5 && esEspacio(p[5]) && !declaracion())
            return false;
        bool doctype = false;
        for (;;) {
            espacios();
            if (p == fin)
                return falla(p,
                             TextoPista("_STR_RD_NOROOT", "el documento no tiene elemento raíz"));
            if (*p != '<')
                return falla(p, TextoPista("_STR_RD_TEXTOUTSIDE", "texto fuera del elemento raíz"));
            if (empieza("<!--")) {
                if (!comentario())
                    return false;
            } else if (empieza("<?")) {
                if (!instruccion())
                    return false;
            } else if (empieza("<!DOCTYPE")) {
                if (doctype)
                    return falla(
                        p, TextoPista("_STR_RD_SECONDDOCTYPE", "segunda declaración DOCTYPE"));
                doctype = true;
                if (!tipoDocumento())
                    return false;
            } else {
                break;
            }
        }
        if (!contenido())
            return false;
        for (;;) {
            espacios();
            if (p == fin)
                return true;
            if (empieza("<!--")) {
                if (!comentario())
                    return false;
            } else if (empieza("<?")) {
                if (!instruccion())
                    return false;
            } else {
                return falla(p, TextoPista("_STR_RD_AFTERROOT",
                                           "contenido después del final del elemento raíz"));
            }
        }
    }

    // <?xml version="1.0" encoding="..." standalone="..."?>
    bool declaracion() {
        const char* ini = p;
        p += 5;
        bool version = false;
        for (;;) {
            const char* antes = p;
            espacios();
            if (empieza("?>")) {
                p += 2;
                break;
            }
            if (p >= fin)
                return falla(ini, TextoPista("_STR_RD_XMLDECLOPEN", "declaración XML sin cerrar"));
            const char* n0 = p;
            if (p == antes || !nombre())
                return falla(p, TextoPista("_STR_RD_XMLDECLBAD", "declaración XML mal formada"));
            const std::string_view n(n0, size_t(p - n0));
            std::string_view valor;
            if (!valorEntreComillas(valor, false))
                return false;
            if (n == "version")
                version = !valor.empty();
            else if (n != "encoding" && n != "standalone")
                return falla(n0, TextoPista("_STR_RD_XMLDECLFIELD",
                                            "declaración XML con un campo desconocido '%s'",
                                            {texto(n)}));
        }
        if (!version)
            return falla(
                ini, TextoPista("_STR_RD_XMLDECLNOVERSION", "la declaración XML no tiene versión"));
        return true;
    }

    bool comentario() {
        const char* ini = p;
        for (const char* q = p + 4; q + 1 < fin; ++q) {
            q = static_cast<const char*>(std::memchr(q, '-', size_t(fin - q)));
            if (!q || q + 1 >= fin)
                break;
            if (q[1] != '-')
                continue;
            if (q + 2 < fin && q[2] == '>') {
                p = q + 3;
                return true;
            }
            return falla(q, TextoPista("_STR_RD_DASHESCOMMENT", "'--' dentro de un comentario"));
        }
        return falla(ini, TextoPista("_STR_RD_COMMENTOPEN", "comentario sin cerrar"));
    }

    bool instruccion() {
        const char* ini = p;
        p += 2;
        const char* n0 = p;
        if (!nombre())
            return falla(p, TextoPista("_STR_RD_PINONAME", "instrucción de proceso sin nombre"));
        const std::string_view n(n0, size_t(p - n0));
        if (n.size() == 3 && (n[0] | 0x20) == 'x' && (n[1] | 0x20) == 'm' && (n[2] | 0x20) == 'l')
            return falla(ini, TextoPista("_STR_RD_XMLDECLPLACE",
                                         "declaración XML fuera del principio del documento"));
        if (empieza("?>")) {
            p += 2;
            return true;
        }
        if (p >= fin || !esEspacio(*p))
            return falla(p, TextoPista("_STR_RD_PIBAD", "instrucción de proceso mal formada"));
        for (; p + 1 < fin; ++p)
            if (p[0] == '?' && p[1] == '>') {
                p += 2;
                return true;
            }
        return falla(ini, TextoPista("_STR_RD_PIOPEN", "instrucción de proceso sin cerrar"));
    }

    // The document type is passed over; its entity declarations are never used.
    bool tipoDocumento() {
        const char* ini = p;
        p += 9;
        const char* antes = p;
        espacios();
        if (p == antes || !nombre())
            return falla(p, TextoPista("_STR_RD_DOCTYPEBAD", "declaración DOCTYPE mal formada"));
        while (p < fin) {
            const char c = *p;
            if (c == '>') {
                ++p;
                return true;
            }
            if (c == '"' || c == '\'') {
                const char* q =
                    static_cast<const char*>(std::memchr(p + 1, c, size_t(fin - p - 1)));
                if (!q)
                    break;
                p = q + 1;
            } else if (c == '[') {
                ++p;
                if (!subconjuntoInterno())
                    return false;
            } else {
                ++p;
            }
        }
        return falla(ini, TextoPista("_STR_RD_DOCTYPEOPEN", "declaración DOCTYPE sin cerrar"));
    }

    bool subconjuntoInterno() {
        const char* ini = p;
        while (p < fin) {
            const char c = *p;
            if (c == ']') {
                ++p;
                return true;
            }
            if (empieza("<!--")) {
                if (!comentario())
                    return false;
            } else if (c == '"' || c == '\'') {
                const char* q =
                    static_cast<const char*>(std::memchr(p + 1, c, size_t(fin - p - 1)));
                if (!q)
                    break;
                p = q + 1;
            } else {
                ++p;
            }
        }
        return falla(ini, TextoPista("_STR_RD_DOCTYPEOPEN", "declaración DOCTYPE sin cerrar"));
    }

    // A reference at p ('&'), appended to out as UTF-8.
    bool referencia(std::string& out) {
        const char* ini = p;
        ++p;
        if (p < fin && *p == '#') {
            ++p;
            const bool hex = p < fin && *p == 'x';
            if (hex)
                ++p;
            uint32_t cp = 0;
            int cifras = 0;
            for (; p < fin && *p != ';'; ++p, ++cifras) {
                const char c = *p;
                uint32_t d;
                if (c >= '0' && c <= '9')
                    d = uint32_t(c - '0');
                else if (hex && c >= 'a' && c <= 'f')
                    d = uint32_t(c - 'a' + 10);
                else if (hex && c >= 'A' && c <= 'F')
                    d = uint32_t(c - 'A' + 10);
                else
                    return falla(ini, TextoPista("_STR_RD_CHARREFBAD",
                                                 "referencia de carácter mal formada"));
                cp = cp * (hex ? 16 : 10) + d;
                if (cp > 0x10FFFF)
                    return falla(ini, TextoPista("_STR_RD_CHARREFNONE",
                                                 "referencia a un carácter inexistente"));
            }
            if (p >= fin || cifras == 0)
                return falla(
                    ini, TextoPista("_STR_RD_CHARREFBAD", "referencia de carácter mal formada"));
            ++p;
            if (!caracterXml(cp))
                return falla(ini, TextoPista("_STR_RD_CHARREFXML",
                                             "referencia a un carácter no permitido en XML"));
            anadirUtf8(out, cp);
            return true;
        }
        const char* n0 = p;
        if (!nombre() || p >= fin || *p != ';')
            return falla(ini, TextoPista("_STR_RD_LONEAMP", "'&' suelto o referencia sin ';'"));
        const std::string_view n(n0, size_t(p - n0));
        ++p;
        if (n == "lt")
            out += '<';
        else if (n == "gt")
            out += '>';
        else if (n == "amp")
            out += '&';
        else if (n == "apos")
            out += '\'';
        else if (n == "quot")
            out += '"';
        else
            return falla(ini, TextoPista("_STR_RD_ENTITY",
                                         "la entidad '&%s;' no está definida o no se admite",
                                         {texto(n)}));
        return true;
    }

    // Resolves the references of [a, b) and turns CR LF (and a lone CR) into LF; in an
    // attribute value every white-space character becomes a space as well.
    bool resolver(const char* a, const char* b, bool atributo, std::string& out) {
        out.clear();
        const char* guardado = p;
        for (const char* q = a; q < b;) {
            const char c = *q;
            if (c == '&') {
                p = q;
                if (!referencia(out))
                    return false;
                q = p;
            } else if (c == '\r') {
                out += atributo ? ' ' : '\n';
                q += (q + 1 < b && q[1] == '\n') ? 2 : 1;
            } else {
                out += (atributo && (c == '\n' || c == '\t')) ? ' ' : c;
                ++q;
            }
        }
        p = guardado;
        return true;
    }

    bool valorEntreComillas(std::string_view& valor, bool atributo) {
        espacios();
        if (p >= fin || *p != '=')
            return falla(p, TextoPista("_STR_RD_NOEQUALS", "se esperaba '='"));
        ++p;
        espacios();
        if (p >= fin || (*p != '"' && *p != '\''))
            return falla(p, TextoPista("_STR_RD_NOQUOTES", "se esperaba un valor entre comillas"));
        const char q = *p++;
        const char* v0 = p;
        bool especial = false;
        for (; p < fin && *p != q; ++p) {
            const char c = *p;
            if (c == '<')
                return falla(
                    p, TextoPista("_STR_RD_LTINVALUE", "'<' dentro del valor de un atributo"));
            if (c == '&' || c == '\r' || (atributo && (c == '\n' || c == '\t')))
                especial = true;
        }
        if (p >= fin)
            return falla(v0, TextoPista("_STR_RD_EOFINVALUE",
                                        "fin del fichero dentro del valor de un atributo"));
        const char* v1 = p++;
        valor = std::string_view(v0, size_t(v1 - v0));
        if (especial) {
            FValores.emplace_back();
            if (!resolver(v0, v1, atributo, FValores.back()))
                return false;
            valor = FValores.back();
        }
        return true;
    }

    // A tag has few attributes: each new name is compared with the earlier ones.
    static constexpr size_t PocosAtributos = 16;
    bool repetidoEntrePocos(std::string_view nombre) const {
        for (const TXmlAtributo& a : FAtributos)
            if (a.nombre == nombre)
                return true;
        return false;
    }

    // The first attribute of the tag, in document order, whose name an earlier one has,
    // or -1. Used once a tag has more than a handful (a hostile file can put a million
    // on one tag), in time linear in their number: the names' hashes are split by their
    // top bits into groups small enough for the cache, and each group is checked with a
    // small table. One big table would cost a cache miss per name.
    std::ptrdiff_t primerRepetido() {
        const size_t n = FAtributos.size();
        int bits = 0;
        while ((n >> bits) > 256)
            ++bits;
        const size_t grupos = size_t(1) << bits;
        const auto grupo = [bits](uint64_t h) { return bits == 0 ? 0 : size_t(h >> (64 - bits)); };

        std::vector<uint64_t> hashes(n);
        std::vector<size_t> inicio(grupos + 1, 0);
        for (size_t i = 0; i < n; ++i) {
            hashes[i] = hashNombre(FAtributos[i].nombre);
            ++inicio[grupo(hashes[i]) + 1];
        }
        for (size_t g = 0; g < grupos; ++g)
            inicio[g + 1] += inicio[g];
        struct Entrada {
            uint64_t hash;
            size_t indice;
        };
        // Each group keeps document order, so its first repeat is its earliest.
        std::vector<Entrada> entradas(n);
        {
            std::vector<size_t> siguiente(inicio.begin(), inicio.end() - 1);
            for (size_t i = 0; i < n; ++i)
                entradas[siguiente[grupo(hashes[i])]++] = {hashes[i], i};
        }
        hashes = {};

        std::ptrdiff_t primero = -1;
        std::vector<uint32_t> tabla; // position in the group + 1, 0 when free
        for (size_t g = 0; g < grupos; ++g) {
            const Entrada* e = entradas.data() + inicio[g];
            const size_t m = inicio[g + 1] - inicio[g];
            size_t tam = 4;
            while (tam < 2 * m)
                tam *= 2;
            tabla.assign(tam, 0);
            const size_t mascara = tam - 1;
            for (size_t k = 0; k < m; ++k) {
                size_t at = size_t(e[k].hash) & mascara;
                bool igual = false;
                for (; tabla[at] != 0; at = (at + 1) & mascara) {
                    const Entrada& otra = e[tabla[at] - 1];
                    if (otra.hash == e[k].hash &&
                        FAtributos[otra.indice].nombre == FAtributos[e[k].indice].nombre) {
                        igual = true;
                        break;
                    }
                }
                if (igual) {
                    if (primero < 0 || std::ptrdiff_t(e[k].indice) < primero)
                        primero = std::ptrdiff_t(e[k].indice);
                    break;
                }
                tabla[at] = uint32_t(k + 1);
            }
        }
        return primero;
    }

    // A hash with a seed chosen when the program starts, so that a file cannot be made
    // of names that all fall in one group.
    static uint64_t hashNombre(std::string_view s) {
        static const uint64_t semilla = QRandomGenerator::system()->generate64();
        const auto mezclar = [](uint64_t x) {
            x ^= x >> 30;
            x *= 0xBF58476D1CE4E5B9ULL;
            x ^= x >> 27;
            x *= 0x94D049BB133111EBULL;
            return x ^ (x >> 31);
        };
        uint64_t h = semilla ^ (uint64_t(s.size()) * 0x9E3779B97F4A7C15ULL);
        const char* q = s.data();
        size_t n = s.size();
        for (; n >= 8; q += 8, n -= 8) {
            uint64_t w;
            std::memcpy(&w, q, 8);
            h = mezclar(h ^ w);
        }
        uint64_t w = 0;
        std::memcpy(&w, q, n);
        return mezclar(h ^ w);
    }

    // The attributes of a start tag, up to its '>' or "/>".
    bool atributos(const char* ini, std::string_view nombreEl, bool& vacio) {
        for (;;) {
            const char* antes = p;
            espacios();
            if (p >= fin)
                return falla(ini, TextoPista("_STR_RD_EOFINTAG",
                                             "fin inesperado del fichero dentro de <%s>",
                                             {texto(nombreEl)}));
            if (*p == '>') {
                ++p;
                return true;
            }
            if (*p == '/') {
                if (p + 1 < fin && p[1] == '>') {
                    p += 2;
                    vacio = true;
                    return true;
                }
                return falla(p, TextoPista("_STR_RD_NOGT", "se esperaba '>'"));
            }
            const char* a0 = p;
            if (p == antes || !nombre())
                return falla(p, TextoPista("_STR_RD_BADATTR", "atributo mal formado en <%s>",
                                           {texto(nombreEl)}));
            const std::string_view nombreAt(a0, size_t(p - a0));
            std::string_view valor;
            if (!valorEntreComillas(valor, true))
                return false;
            if (FAtributos.size() < PocosAtributos && repetidoEntrePocos(nombreAt))
                return falla(a0, TextoPista("_STR_RD_REPEATEDATTR", "atributo '%s' repetido",
                                            {texto(nombreAt)}));
            FAtributos.push_back({nombreAt, valor});
        }
    }

    bool etiquetaInicio() {
        const char* ini = p;
        FEtiqueta = ini;
        ++p;
        const char* n0 = p;
        if (!nombre())
            return falla(p, p >= fin
                                ? TextoPista("_STR_RD_EOF", "fin inesperado del fichero")
                                : TextoPista("_STR_RD_BADNAME", "nombre de elemento no válido"));
        const std::string_view nombreEl(n0, size_t(p - n0));
        FAtributos.clear();
        FValores.clear();
        bool vacio = false;
        const bool bien = atributos(ini, nombreEl, vacio);
        // Past a handful, repeats are looked for once the tag is read; one found before
        // whatever stopped the reading is the first fault.
        if (FAtributos.size() > PocosAtributos) {
            const std::ptrdiff_t i = primerRepetido();
            if (i >= 0) {
                const std::string_view n = FAtributos[size_t(i)].nombre;
                return falla(n.data(), TextoPista("_STR_RD_REPEATEDATTR", "atributo '%s' repetido",
                                                  {texto(n)}));
            }
        }
        if (!bien)
            return false;
        if (FPila.size() >= ProfundidadMaxima)
            return falla(ini, TextoPista("_STR_RD_TOODEEP",
                                         "los elementos están anidados a más de %s niveles; "
                                         "ningún fichero de track los anida tanto",
                                         {QString::number(ProfundidadMaxima)}));
        FPila.push_back(nombreEl);
        QString motivo;
        if (!handler.inicioElemento(nombreEl, FAtributos, motivo))
            return falla(ini, motivo);
        if (vacio) {
            FPila.pop_back();
            handler.finElemento();
        }
        return true;
    }

    bool etiquetaFin() {
        const char* ini = p;
        p += 2;
        const char* n0 = p;
        if (!nombre())
            return falla(p, TextoPista("_STR_RD_ENDTAGBAD", "etiqueta de cierre mal formada"));
        const std::string_view n(n0, size_t(p - n0));
        espacios();
        if (p >= fin || *p != '>')
            return falla(
                p, p >= fin ? TextoPista("_STR_RD_EOF", "fin inesperado del fichero")
                            : TextoPista("_STR_RD_ENDTAGBAD", "etiqueta de cierre mal formada"));
        ++p;
        if (n != FPila.back())
            return falla(ini,
                         TextoPista("_STR_RD_ENDTAGWRONG", "se esperaba </%s> y se encontró </%s>",
                                    {texto(FPila.back()), texto(n)}));
        FPila.pop_back();
        handler.finElemento();
        return true;
    }

    // Character data between tags: references resolved, line ends made LF.
    bool textoPlano(const char* a, const char* b) {
        const size_t n = size_t(b - a);
        const bool referencias = std::memchr(a, '&', n) != nullptr;
        if (!handler.quiereTexto()) // nobody keeps it: only its references need checking
            return !referencias || resolver(a, b, false, FTexto);
        if (!referencias && std::memchr(a, '\r', n) == nullptr) {
            handler.texto(std::string_view(a, n));
            return true;
        }
        if (!resolver(a, b, false, FTexto))
            return false;
        handler.texto(FTexto);
        return true;
    }

    // A CDATA section is taken literally, '&' included; only its line ends are made LF.
    void textoLiteral(const char* a, const char* b) {
        if (!handler.quiereTexto())
            return;
        const size_t n = size_t(b - a);
        if (std::memchr(a, '\r', n) == nullptr) {
            handler.texto(std::string_view(a, n));
            return;
        }
        FTexto.clear();
        for (const char* q = a; q < b; ++q) {
            if (*q != '\r') {
                FTexto += *q;
                continue;
            }
            FTexto += '\n';
            if (q + 1 < b && q[1] == '\n')
                ++q;
        }
        handler.texto(FTexto);
    }

    bool cdata() {
        const char* ini = p;
        const char* a = p + 9;
        for (const char* q = a; q + 2 < fin; ++q) {
            q = static_cast<const char*>(std::memchr(q, ']', size_t(fin - q)));
            if (!q || q + 2 >= fin)
                break;
            if (q[1] == ']' && q[2] == '>') {
                p = q + 3;
                textoLiteral(a, q);
                return true;
            }
        }
        return falla(ini, TextoPista("_STR_RD_CDATAOPEN", "sección CDATA sin cerrar"));
    }

    // The root element and everything in it; p is at its '<'.
    bool contenido() {
        FPila.clear();
        if (!etiquetaInicio())
            return false;
        while (!FPila.empty()) {
            quizaLiberar(p);
            const char* t = p;
            const void* menor = std::memchr(p, '<', size_t(fin - p));
            p = menor ? static_cast<const char*>(menor) : fin;
            if (p > t && !textoPlano(t, p))
                return false;
            if (p >= fin)
                return falla(p, TextoPista("_STR_RD_EOFMISSING",
                                           "fin inesperado del fichero: falta </%s>",
                                           {texto(FPila.back())}));
            if (p + 1 < fin && p[1] == '/') {
                if (!etiquetaFin())
                    return false;
            } else if (empieza("<!--")) {
                if (!comentario())
                    return false;
            } else if (empieza("<![CDATA[")) {
                if (!cdata())
                    return false;
            } else if (empieza("<?")) {
                if (!instruccion())
                    return false;
            } else if (p + 1 < fin && p[1] == '!') {
                return falla(p, TextoPista("_STR_RD_DECLINELEMENT",
                                           "declaración no permitida dentro de un elemento"));
            } else if (!etiquetaInicio()) {
                return false;
            }
        }
        return true;
    }

    const char* FIni;
    const char* p;
    const char* fin;
    TXmlHandler& handler;
    std::vector<std::string_view> FPila;
    std::vector<TXmlAtributo> FAtributos;
    std::deque<std::string> FValores; // resolved attribute values of the current tag
    std::string FTexto;
    const char* FPosError = nullptr;
    QString FMotivo;
    const char* FEtiqueta = nullptr; // start of the start tag being read
    const char* FContado = FIni;     // line and column counted up to here
    int FLineaContada = 1;
    int FColumnaContada = 1;
    const size_t FLiberarCada;           // 0: the document is left as it is
    const char* FLiberado;               // pages before this were given back
    std::deque<std::string> FRescatados; // names of open elements whose pages were given back
};
} // namespace

bool RecorrerXml(std::string_view utf8, TXmlHandler& handler, QString& error, size_t liberarCada) {
    Recorrido r(utf8, handler, liberarCada);
    handler.FPosicion = [&r](int& linea, int& columna) { r.posicionEtiqueta(linea, columna); };
    const bool ok = r.leer(error);
    handler.FPosicion = nullptr;
    return ok;
}
