#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// An INI-style text file held whole in memory: the reader of the language files, the
// writer of the translation template, and the settings file.
//
// Reading rules (those of the language files):
// - Encoding: a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE; without one the
//   bytes are Latin-1 (the 8-bit code page the program writes its own texts in).
// - Every line is trimmed. Empty lines and lines starting with ';' are skipped; lines
//   before the first section are ignored.
// - "[name]" opens a section; the name is trimmed. A line is split at its FIRST '='
//   into key and value, both trimmed; the value may contain '=' and is taken literally
//   (no quotes removed, no escapes). A line without '=' is kept but matches no key.
// - Sections and keys are compared without letter case. A section that appears twice
//   opens a second section that hides the first entirely (lookups see only the last
//   one); a key that appears twice in a section: the last one wins.
//
// Where a settings file may want other rules, these are the points that differ from the
// usual Windows profile reader: there the FIRST duplicate key and the FIRST duplicate
// section win (and duplicate sections merge), and a value wrapped in matching quotes loses
// them. This class never does any of that; a caller that needs it says so explicitly.
//
// Writing (Escribir): a new section is appended at the end, a new key at the end of its
// section, and writing an existing key replaces its value in place (in the last section
// of that name, on the last line of that key). Serializar() writes UTF-8 with a
// byte-order mark and CR LF line ends; a line break inside a value is written as the
// "*|*" marker so every entry stays on one line. Guardar() writes through a temporary
// file and renames it, so a failed save leaves the old file whole.
//
// The settings file (opciones Ajustes()) is read by the same rules but kept as lookups see
// it: a repeated section counts once, at the place of its last occurrence and with only its
// keys, and a repeated key once, at its first place with the last value; lines without '='
// are dropped. A value is written trimmed and a line break in it becomes a blank, so what
// is written is exactly what the reader gives back.
// What a file does differently from the language files' rules (see TIniTexto).
struct TOpcionesIni {
    enum class TSaltoDeLinea { Marcador, Blanco };
    bool unaSeccionPorNombre = false;
    TSaltoDeLinea saltoDeLinea = TSaltoDeLinea::Marcador;
    qint64 tamanoMaximo = 16 * 1024 * 1024;
};

class TIniTexto {
  public:
    // Files larger than this are refused: no language or settings file comes near it.
    static constexpr qint64 TamanoMaximo = TOpcionesIni().tamanoMaximo;

    using TOpciones = TOpcionesIni;
    // The settings file's options (see above); it is a few hundred bytes, so anything
    // over 4 MB is not one.
    static TOpciones Ajustes() {
        return {true, TOpcionesIni::TSaltoDeLinea::Blanco, 4 * 1024 * 1024};
    }

    TIniTexto() = default;
    explicit TIniTexto(const TOpciones& opciones) : FOpciones(opciones) {}

    static QString DecodificarTexto(const QByteArray& bytes);
    static TIniTexto DesdeTexto(const QString& text, const TOpciones& opciones = {});
    static TIniTexto DesdeBytes(const QByteArray& bytes, const TOpciones& opciones = {}) {
        return DesdeTexto(DecodificarTexto(bytes), opciones);
    }
    // Reads the device to its end. An oversized device gives an empty file and `error`.
    static TIniTexto DesdeDispositivo(QIODevice& device, QString* error = nullptr,
                                      const TOpciones& opciones = {});
    // A missing or unreadable file gives an empty file and `error` names the path.
    static TIniTexto DesdeFichero(const QString& path, QString* error = nullptr,
                                  const TOpciones& opciones = {});
    // The settings file; a missing or unreadable one gives an empty file. `existe` says
    // whether there is a file at `path` at all.
    static TIniTexto AjustesDesdeFichero(const QString& path, bool* existe = nullptr);

    bool TieneSeccion(const QString& section) const;
    bool TieneClave(const QString& section, const QString& key) const;
    // The value, or `defaultValue` when the section or key is missing (an empty value is
    // returned as empty: deciding what an empty value means is the caller's business).
    QString Valor(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;
    // Section names in file order, as written (a repeated section appears twice).
    QStringList Secciones() const;
    // Keys of the section that lookups reach, in file order, as first written.
    QStringList Claves(const QString& section) const;

    void Escribir(const QString& section, const QString& key, const QString& value);
    // Removes every section of that name with its keys.
    void BorrarSeccion(const QString& section);

    QByteArray Serializar() const;
    // Writes the file whole; false with `error` naming the path when it cannot.
    bool Guardar(const QString& path, QString* error = nullptr) const;

  private:
    struct TEntrada {
        QString clave;
        QString valor;
        bool conIgual = true; // a line without '=' is kept as `clave` and never matches
    };
    struct TSeccion {
        QString nombre;
        QList<TEntrada> entradas;
    };

    const TSeccion* seccion(const QString& name) const;
    TSeccion* seccion(const QString& name);
    static const TEntrada* entrada(const TSeccion& section, const QString& key);
    void unaSeccionPorNombre();

    TOpciones FOpciones;
    QList<TSeccion> FSecciones;
};
