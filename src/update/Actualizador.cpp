#include "Actualizador.h"

#include "Version.h"

#include <QDeadlineTimer>
#include <QDir>
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

bool ReemplazarPrograma(const QString& programa, const QString& nuevo, QString* error) {
    const QFileInfo infoNuevo(nuevo);
    if (!infoNuevo.isFile() || infoNuevo.size() == 0)
        return fallo(error, QStringLiteral("el fichero nuevo no existe o está vacío: ") + nuevo);
    if (!QFileInfo(programa).isFile())
        return fallo(error, QStringLiteral("no existe el programa: ") + programa);

    // The copy goes beside the program first, so the final step is a rename in one folder.
    const QString temporal = programa + QStringLiteral(".new");
    QFile::remove(temporal);
    if (!QFile::copy(nuevo, temporal))
        return fallo(error, QStringLiteral("no se puede copiar ") + nuevo);
    QFile::setPermissions(temporal, QFile::permissions(programa) | QFile::ReadOwner |
                                        QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                        QFile::ExeOther);

    const QString viejo = ExtensionCambiada(programa, QStringLiteral(".old"));
    QFile::remove(viejo);
    if (!QFile::rename(programa, viejo)) {
        QFile::remove(temporal);
        return fallo(error, QStringLiteral("no se puede apartar el programa: ") + programa);
    }
    if (!QFile::rename(temporal, programa)) {
        QFile::rename(viejo, programa);
        QFile::remove(temporal);
        return fallo(error, QStringLiteral("no se puede colocar el programa nuevo: ") + programa);
    }
    return true;
}
