#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The settings file as an ordered list of sections and keys. Reading is the language
// files' reader (TIniTexto: lines trimmed, ';' comments, "[name]" sections, a key ends at
// the first '=', names without letter case, the last duplicate wins). Writing keeps every
// section and key where it was, changes values in place, appends new keys at the end of
// their section and writes each value exactly as given: no quotes, no escapes, nothing
// that the reader would not give back as it was.
class TEscritorIni {
  public:
    // A missing or unreadable file gives an empty document.
    static TEscritorIni DesdeFichero(const QString& path, bool* existe = nullptr);
    static TEscritorIni DesdeTexto(const QString& texto);

    bool TieneClave(const QString& seccion, const QString& clave) const;
    QString Valor(const QString& seccion, const QString& clave,
                  const QString& porDefecto = QString()) const;
    QStringList Secciones() const;
    QStringList Claves(const QString& seccion) const;

    // The value is stored trimmed and on one line (a line break would start a new key).
    void Escribir(const QString& seccion, const QString& clave, const QString& valor);
    void BorrarSeccion(const QString& seccion);

    // UTF-8 with a byte-order mark (the reader then never guesses the encoding), CR LF.
    QByteArray Serializar() const;
    // Writes through a temporary file and renames it, so a failed save leaves the old
    // file whole. False with `error` when it cannot.
    bool Guardar(const QString& path, QString* error = nullptr) const;

  private:
    struct TEntrada {
        QString clave;
        QString valor;
    };
    struct TSeccion {
        QString nombre;
        QList<TEntrada> entradas;
    };
    const TSeccion* seccion(const QString& nombre) const;
    QList<TSeccion> FSecciones;
};
