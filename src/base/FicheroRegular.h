#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Track files come from anywhere: a path may name a pipe with nobody writing to it, a
// device that never ends, or a file another program is still writing. These helpers
// look at what a path is without blocking and read a regular file whole, with a size
// limit that holds while reading.

// What the path names when it is not a regular file ("una tubería (FIFO)", "una
// carpeta", ...), "" when it is one (a symbolic link is followed), and a reason when it
// cannot be looked at (missing, no permission).
QString ClaseNoRegular(const QString& path);

// The reason in one sentence for a path ClaseNoRegular refused, naming the path.
QString TextoNoRegular(const QString& path, const QString& clase);

struct TLecturaFichero {
    qint64 Limite = qint64(1) << 30;
    // Called after each block read; tests use it to change the file under the reader.
    std::function<void()> TrasBloque;
};

// Receives a file's bytes a block at a time as they are read, so that a reader that
// turns them into something else never holds the whole file twice.
class TDestinoLectura {
  public:
    virtual ~TDestinoLectura() = default;
    // Before the first block of each read (a file that changed is read again from the
    // start); `tamano` is the file's size when the read begins.
    virtual void empezar(qint64 tamano) = 0;
    // False with `error` set stops the read.
    virtual bool bloque(QByteArrayView datos, QString& error) = 0;
    // After the last block.
    virtual bool terminar(QString& error) = 0;
};

// Reads a regular file whole. The file is opened without blocking, so a pipe or a
// device is refused before anything waits on it. When the file's size or modification
// time changed while it was read, it is read once more; a second change is an error.
// Allocation failure is reported as an error too.
bool LeerFicheroRegular(const QString& path, TDestinoLectura& destino, QString& error,
                        const TLecturaFichero& opciones = {});
// The same into one buffer of the file's bytes.
bool LeerFicheroRegular(const QString& path, QByteArray& bytes, QString& error,
                        const TLecturaFichero& opciones = {});

// The error text of a file too big to be read.
QString TextoFicheroGrande(qint64 limite);
// The error text when memory runs out while a file is read or converted.
QString TextoSinMemoria();

// Destinations. A program that writes beside a destination and renames over it would
// turn a device, a pipe or a symbolic link into a plain file, or replace the very file
// it reads from. These helpers write only a new regular file, or, when the user agreed
// to replace (`reemplazar`), an existing regular file that is not `origen`.

// Why `destino` cannot be written; empty when it can.
QString ComprobarDestino(const QString& destino, const QString& origen, bool reemplazar);

// Moves the finished file `desde` to `hasta` in one step. Without `reemplazar` the move
// refuses to replace anything, even a file that appeared a moment ago; with it only a
// regular file is replaced.
bool MoverADestino(const QString& desde, const QString& hasta, bool reemplazar, QString& error);

// Writes `bytes` into a temporary file beside `destino` and moves it into place as
// MoverADestino does, after ComprobarDestino. Nothing is left behind on failure.
bool GrabarEnDestino(const QByteArray& bytes, const QString& destino, const QString& origen,
                     bool reemplazar, QString& error);
