#include "Carpetas.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

bool CrearCacheDir(const QString& carpeta) {
    return QDir().mkpath(carpeta);
}

namespace {
bool esEnlace(const QFileInfo& fi) {
    return fi.isSymLink() || fi.isJunction();
}

// Deletes what lies under `carpeta`, never entering a link.
void borrarArbol(const QString& carpeta) {
    QDirIterator it(carpeta, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (fi.isDir() && !esEnlace(fi)) {
            borrarArbol(fi.filePath());
            QDir().rmdir(fi.filePath());
        } else {
            QFile::remove(fi.filePath());
        }
    }
}

// The second pass: the files of the folder and of each direct subfolder.
void borrarFicherosSueltos(const QString& carpeta) {
    const QDir dir(carpeta);
    const auto filtro = QDir::Files | QDir::Hidden | QDir::System;
    QStringList carpetas{carpeta};
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (!esEnlace(sub))
            carpetas << sub.filePath();
    for (const QString& c : carpetas)
        for (const QFileInfo& fi : QDir(c).entryInfoList(filtro))
            QFile::remove(fi.filePath());
}
} // namespace

void LimpiarCacheDir(const QString& carpeta, int esperaMs) {
    QString ruta = carpeta;
    while (ruta.size() > 1 && ruta.endsWith(QLatin1Char('/')))
        ruta.chop(1);
    const QFileInfo fi(ruta);
    if (esEnlace(fi)) {
        QFile::remove(ruta); // only the link itself
        return;
    }
    if (!fi.isDir())
        return;
    borrarArbol(ruta);
    if (QDir().rmdir(ruta))
        return;
    borrarFicherosSueltos(ruta);
    if (esperaMs > 0)
        QThread::msleep(esperaMs);
    QDir().rmdir(ruta);
}

QRect TraerAPantalla(const QRect& ventana, const QList<QRect>& pantallas) {
    if (pantallas.isEmpty() || ventana.isEmpty())
        return ventana;
    // Enough of the top edge to grab and drag the window back.
    const QRect agarre(ventana.left(), ventana.top(), ventana.width(), qMin(30, ventana.height()));
    for (const QRect& p : pantallas) {
        const QRect comun = p.intersected(agarre);
        if (comun.width() >= 50 && comun.height() >= 10)
            return ventana;
    }
    const QRect& p = pantallas.first();
    QRect r(ventana.topLeft(), ventana.size().boundedTo(p.size()));
    r.moveLeft(qBound(p.left(), r.left(), p.right() - r.width() + 1));
    r.moveTop(qBound(p.top(), r.top(), p.bottom() - r.height() + 1));
    return r;
}
