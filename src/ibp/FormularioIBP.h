#pragma once

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

// A multipart/form-data body holding one file part, as the service's upload form expects.
struct TFormularioIBP {
    QByteArray TipoContenido; // the request's Content-Type, with the boundary
    QByteArray Frontera;
    QByteArray Cuerpo;
};

// The upload body: one part named "fichero" with the file name (no folders), the part
// content type "file" and binary transfer encoding, followed by `contenido` unchanged.
// `frontera` is used when it does not occur in the content; otherwise, or when empty,
// a random boundary that does not occur in it is chosen.
TFormularioIBP ConstruirFormularioIBP(const QString& nombreFichero, const QByteArray& contenido,
                                      const QByteArray& frontera = {});

// The same body for a file on disk, read as it is sent: the part header, the file's
// bytes and the closing line, without the file ever being held in memory (a long track
// is a hundred megabytes). Random access, so the request knows its length.
class TCuerpoFormularioIBP : public QIODevice {
  public:
    // Opens the file and chooses the boundary as ConstruirFormularioIBP does; false with
    // the reason in `error` when the file cannot be read.
    bool Abrir(const QString& nombreFichero, QString& error, const QByteArray& frontera = {});
    const QByteArray& TipoContenido() const { return FTipo; }
    const QByteArray& Frontera() const { return FFrontera; }

    bool isSequential() const override { return false; }
    qint64 size() const override;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    bool fronteraLibre(const QByteArray& frontera);
    QFile FFichero;
    qint64 FLargo = 0; // of the file, when it was opened
    QByteArray FCabecera, FPie, FTipo, FFrontera;
};
