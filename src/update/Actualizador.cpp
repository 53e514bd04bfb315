#include "Actualizador.h"

#include "Version.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

bool ProgramaEnEjecucion(const QString& programa) {
    const QString buscado = QFileInfo(programa).canonicalFilePath();
    if (buscado.isEmpty())
        return false;
    const QStringList procesos = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : procesos) {
        bool esNumero = false;
        pid.toLongLong(&esNumero);
        if (!esNumero)
            continue;
        QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
        // A replaced file shows as "path (deleted)"; it is still the old program running.
        exe.remove(QLatin1String(" (deleted)"));
        if (exe == buscado)
            return true;
    }
    return false;
}

bool EsperarFinPrograma(const QString& programa, int esperaMs) {
    QDeadlineTimer plazo(esperaMs);
    while (ProgramaEnEjecucion(programa)) {
        if (plazo.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

namespace {
bool fallo(QString* error, const QString& texto) {
    if (error)
        *error = texto;
    return false;
}
} // namespace

QString PrefijoCarpetaNueva(const QString& carpeta) {
    const QFileInfo info(QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath()));
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral("-nueva-");
}

bool EsCarpetaNueva(const QString& carpeta, const QString& nueva) {
    const QString limpia = QDir::cleanPath(QFileInfo(nueva).absoluteFilePath());
    const QString prefijo = PrefijoCarpetaNueva(carpeta);
    return limpia.startsWith(prefijo) && limpia.size() > prefijo.size() &&
           !limpia.mid(prefijo.size()).contains(QLatin1Char('/'));
}

bool FicheroDelUsuario(const QString& rutaRelativa) {
    if (rutaRelativa.contains(QLatin1Char('/')))
        return false;
    return rutaRelativa.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive) ||
           rutaRelativa == QLatin1String("ComboBox.txt") || rutaRelativa == QLatin1String("zumbo");
}

namespace {
// Copies what the user has in `vieja` into `nueva` (see ReemplazarCarpeta).
bool llevarFicherosUsuario(const QString& vieja, const QString& nueva, QString* error) {
    const QDir origen(vieja);
    QDirIterator recorrido(vieja,
                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
    while (recorrido.hasNext()) {
        const QFileInfo info(recorrido.next());
        const QString relativa = origen.relativeFilePath(info.absoluteFilePath());
        if (relativa == QLatin1String("cache") || relativa.startsWith(QLatin1String("cache/")))
            continue;
        const QString destino = QDir(nueva).filePath(relativa);
        const QFileInfo enNueva(destino);
        const bool existe = enNueva.exists() || enNueva.isSymLink();
        if (info.isSymLink()) {
            if (!existe && !QFile::link(info.symLinkTarget(), destino))
                return fallo(error, QStringLiteral("no se puede copiar el enlace ") + relativa);
        } else if (info.isDir()) {
            if (!existe && !QDir().mkpath(destino))
                return fallo(error, QStringLiteral("no se puede crear la carpeta ") + destino);
        } else if (info.isFile()) {
            if (existe && !FicheroDelUsuario(relativa))
                continue; // the new version's own file
            if (existe && !QFile::remove(destino))
                return fallo(error, QStringLiteral("no se puede sustituir ") + destino);
            if (!QFile::copy(info.absoluteFilePath(), destino))
                return fallo(error, QStringLiteral("no se puede copiar ") + relativa +
                                        QStringLiteral(" (¿disco lleno?)"));
        }
        // Sockets, pipes and devices are not the user's files; they are left behind.
    }
    return true;
}

// A name beside `carpeta` that nothing has yet.
QString nombreLibre(const QString& carpeta, const QString& sufijo) {
    for (int n = 0;; ++n) {
        const QString nombre = carpeta + sufijo + (n ? QString::number(n) : QString());
        if (!QFileInfo::exists(nombre) && !QFileInfo(nombre).isSymLink())
            return nombre;
    }
}
} // namespace

bool ReemplazarCarpeta(const QString& programa, const QString& nueva, QString* error) {
    const QString carpeta = QDir::cleanPath(QFileInfo(programa).absolutePath());
    const QString nuevaLimpia = QDir::cleanPath(QFileInfo(nueva).absoluteFilePath());
    const QFileInfo infoNueva(nuevaLimpia);
    if (!infoNueva.isDir() || infoNueva.isSymLink())
        return fallo(error, QStringLiteral("la carpeta nueva no existe: ") + nueva);
    // A rename is only atomic inside one folder: the new folder must lie beside the old,
    // and be one the program made.
    if (!EsCarpetaNueva(carpeta, nuevaLimpia))
        return fallo(error, QStringLiteral("no es una carpeta nueva junto a ") + carpeta +
                                QStringLiteral(": ") + nueva);
    const QFileInfo programaNuevo(QDir(nuevaLimpia).filePath(QFileInfo(programa).fileName()));
    if (!programaNuevo.isFile() || programaNuevo.isSymLink() || !programaNuevo.isExecutable())
        return fallo(error, QStringLiteral("la carpeta nueva no tiene el programa: ") + nueva);
    if (!QFileInfo(carpeta).isDir())
        return fallo(error, QStringLiteral("no existe la carpeta del programa: ") + carpeta);

    if (!llevarFicherosUsuario(carpeta, nuevaLimpia, error))
        return false;

    // The new folder was made private while it was filled; it takes the old one's rights.
    QFile::setPermissions(nuevaLimpia, QFile::permissions(carpeta));

    const QString apartada = nombreLibre(carpeta, QStringLiteral(".old"));
    if (!QDir().rename(carpeta, apartada))
        return fallo(error, QStringLiteral("no se puede apartar la carpeta: ") + carpeta);
    if (!QDir().rename(nuevaLimpia, carpeta)) {
        QDir().rename(apartada, carpeta);
        return fallo(error, QStringLiteral("no se puede colocar la carpeta nueva: ") + carpeta);
    }
    // The new folder is in place: a copy of the old one that cannot be removed is left
    // behind, but the update stands.
    if (!QDir(apartada).removeRecursively() && error)
        *error = QStringLiteral("no se ha podido borrar la carpeta anterior: ") + apartada;
    return true;
}
