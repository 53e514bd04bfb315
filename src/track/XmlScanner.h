#pragma once

#include "FicheroRegular.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <functional>
#include <optional>
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
    friend bool RecorrerXml(std::string_view utf8, TXmlHandler& handler, QString& error,
                            size_t liberarCada);

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

// Turns a document's bytes, handed over a block at a time as a file is read, into
// UTF-8. A byte-order mark or the encoding named in the XML declaration decides how they
// are read (UTF-8, UTF-16, UTF-32, ISO-8859-1 and the other encodings Qt knows). Each
// block is converted as it comes, so that a file in another encoding is never held
// whole beside its UTF-8 form; a UTF-8 file is kept as it was read.
class TDocumentoUtf8 : public TDestinoLectura {
  public:
    void empezar(qint64 tamano) override;
    // False with a reason for an unknown encoding or badly encoded content.
    bool bloque(QByteArrayView datos, QString& error) override;
    bool terminar(QString& error) override;

    // A whole document already in memory, handed over: a UTF-8 one is kept without a
    // copy, another is released as soon as it is converted.
    bool Todo(QByteArray raw, QString& error);
    // The document as UTF-8 once terminar() or Todo() succeeded; taken out, not copied.
    QByteArray Tomar() { return std::move(FUtf8); }
    // Bytes handed over since empezar(): an empty file has none.
    qint64 Leidos() const { return FLeidos; }

  private:
    enum class Modo { Cabeza, Igual, Latin1, Decodificador };
    enum class Decision { Falta, Hecha, Error };
    Decision decidir(bool alFinal, QString& error);
    bool seguirConCabeza(QString& error);
    bool convertir(QByteArrayView datos, QString& error);
    void reservar(qsizetype mas);

    Modo FModo = Modo::Cabeza;
    qint64 FTamano = 0;
    qint64 FLeidos = 0;
    QByteArray FCabeza;     // the first bytes, until they tell the encoding
    qsizetype FBuscado = 0; // FCabeza searched up to here for the end of the declaration
    qsizetype FSaltar = 0;  // byte-order mark not to convert
    int FUnidad = 1;        // bytes of one code unit
    std::optional<QStringDecoder> FDecodificador;
    QString FPendiente; // the first half of a pair whose second half is still to come
    QByteArray FUtf8;
};

// The same for a whole document in memory.
bool DocumentoXmlEnUtf8(QByteArray raw, QByteArray& utf8, QString& error);

// Reads a whole UTF-8 document; false with "línea L, columna C: reason" on the first
// well-formedness error or when the handler stops.
//
// With `liberarCada` > 0 the memory of the part already read is given back to the
// system every that many bytes, so that a big file's buffer shrinks while what is made
// of it grows. The bytes of `utf8` are lost then: only for a buffer the caller owns
// alone (not shared, not a mapped file) and drops after the read.
bool RecorrerXml(std::string_view utf8, TXmlHandler& handler, QString& error,
                 size_t liberarCada = 0);
