#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A small non-validating XML reader over a document held whole in memory. It checks
// what makes a document well-formed (tag nesting, attribute syntax, references,
// comments, CDATA, the prolog, one root element, nothing after it) and hands the
// elements and their text to a handler. Track files are read many megabytes at a time,
// so it works on UTF-8 bytes in place and copies only text that holds references or CRs.
//
// Entities other than the five predefined ones are never expanded: a document that
// refers to one it declared is refused, so an entity-expansion bomb ends at once.

struct TXmlAtributo {
    std::string_view nombre; // qualified name as written ("lat", "xmlns:xsi")
    std::string_view valor;  // with references resolved and white space normalised
};

class TXmlHandler {
    friend bool RecorrerXml(std::string_view utf8, TXmlHandler& handler, QString& error);

  public:
    virtual ~TXmlHandler() = default;
    // `nombre` is the qualified name; return false with `error` set to stop reading.
    virtual bool inicioElemento(std::string_view nombre, const std::vector<TXmlAtributo>& atributos,
                                QString& error) = 0;
    virtual void finElemento() = 0;
    // A piece of the current element's own text (references resolved, CR LF as LF),
    // valid only during the call. Several pieces may come for one element when
    // comments, CDATA sections or children split it.
    virtual void texto(std::string_view utf8) = 0;
    // Whether texto() would keep anything now; text nobody keeps is only checked.
    virtual bool quiereTexto() const { return true; }

  protected:
    // Line and column (in characters, from 1) of the start tag that inicioElemento is
    // reporting; counted only when asked, and only valid during that call.
    void PosicionEtiqueta(int& linea, int& columna) const {
        if (FPosicion)
            FPosicion(linea, columna);
    }

  private:
    std::function<void(int&, int&)> FPosicion;
};

// The document's bytes as UTF-8: a byte-order mark or the encoding named in the XML
// declaration decides how `raw` is read (UTF-8, UTF-16 and ISO-8859-1 among others).
// Returns false with a reason for an unknown encoding or badly encoded content. `raw`
// is taken by value so that a caller handing it over (std::move) has it released as soon
// as it is decoded.
bool DocumentoXmlEnUtf8(QByteArray raw, QByteArray& utf8, QString& error);

// Reads a whole UTF-8 document; false with "línea L, columna C: reason" on the first
// well-formedness error or when the handler stops.
bool RecorrerXml(std::string_view utf8, TXmlHandler& handler, QString& error);
