#include "Paquete.h"

#include "BuscadorActualizaciones.h"
#include "SenderalError.h"
#include "Verbario.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

namespace {
constexpr int kEsperaTarMs = 300000;

bool fallo(QString* error, const QString& texto) {
    if (error)
        *error = texto;
    return false;
}

QString textoArchivoMalo(const QString& detalle) {
    return LookupTextCon(QStringLiteral("_STR_MI_UPD_BADARCHIVE"),
                         QStringLiteral("El fichero descargado no es una actualización válida del "
                                        "programa.\r\nMotivo: %s"),
                         {detalle});
}

QString textoEntradaRechazada(const QString& entrada) {
    return LookupTextCon(
        QStringLiteral("_STR_MI_UPD_UNSAFEENTRY"),
        QStringLiteral("El fichero descargado contiene una entrada que no es un "
                       "fichero ni una carpeta dentro de la carpeta del programa, y "
                       "no se ha usado: %s"),
        {entrada});
}

// Runs tar with fixed arguments; its messages in the C locale so listings read the same
// everywhere. False with tar's own message when it cannot start or fails.
bool ejecutarTar(const QStringList& argumentos, QByteArray* salida, QString* mensaje) {
    QProcess tar;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    tar.setProcessEnvironment(entorno);
    tar.start(QStringLiteral("tar"), argumentos);
    if (!tar.waitForStarted()) {
        *mensaje = QStringLiteral("tar: ") + tar.errorString();
        return false;
    }
    // The output is taken as it comes, so a long listing cannot fill the pipe and stall.
    QByteArray leido;
    const QDeadlineTimer plazo(kEsperaTarMs);
    while (!tar.waitForFinished(200)) {
        leido += tar.readAllStandardOutput();
        if (tar.state() == QProcess::NotRunning)
            break;
        if (plazo.hasExpired()) {
            tar.kill();
            tar.waitForFinished();
            *mensaje = QStringLiteral("tar: tiempo agotado");
            return false;
        }
    }
    leido += tar.readAllStandardOutput();
    if (salida)
        *salida = leido;
    if (tar.exitStatus() != QProcess::NormalExit || tar.exitCode() != 0) {
        *mensaje = QString::fromLocal8Bit(tar.readAllStandardError()).trimmed();
        if (mensaje->isEmpty())
            *mensaje = QStringLiteral("tar: código de salida %1").arg(tar.exitCode());
        return false;
    }
    return true;
}

QStringList lineas(const QByteArray& salida) {
    QStringList r = QString::fromUtf8(salida).split(QLatin1Char('\n'));
    while (!r.isEmpty() && r.last().isEmpty())
        r.removeLast();
    return r;
}

// A name stays inside the folder: relative, no "..", and nothing odd that the listing had
// to escape (control characters, backslashes).
bool nombreSeguro(const QString& nombre) {
    if (nombre.isEmpty() || nombre.startsWith(QLatin1Char('/')) ||
        nombre.contains(QLatin1Char('\\')))
        return false;
    const QStringList partes = nombre.split(QLatin1Char('/'));
    return !partes.contains(QStringLiteral(".."));
}
} // namespace

bool DesempaquetarActualizacion(const QString& archivo, const QString& destino,
                                const QString& nombrePrograma, QString* error) {
    const QString fichero = QStringLiteral("--file=") + QFileInfo(archivo).absoluteFilePath();
    QByteArray nombres, detalle;
    QString mensaje;
    // Names and types come from two listings of the same archive, one line per entry.
    if (!ejecutarTar({QStringLiteral("--list"), QStringLiteral("--gzip"),
                      QStringLiteral("--quoting-style=escape"), fichero},
                     &nombres, &mensaje) ||
        !ejecutarTar({QStringLiteral("--list"), QStringLiteral("--verbose"),
                      QStringLiteral("--gzip"), QStringLiteral("--quoting-style=escape"), fichero},
                     &detalle, &mensaje))
        return fallo(error, textoArchivoMalo(mensaje));
    const QStringList listaNombres = lineas(nombres);
    const QStringList listaDetalle = lineas(detalle);
    if (listaNombres.isEmpty() || listaNombres.size() != listaDetalle.size())
        return fallo(error, textoArchivoMalo(QStringLiteral("tar --list")));
    for (qsizetype i = 0; i < listaNombres.size(); ++i) {
        const QChar tipo = listaDetalle[i].isEmpty() ? QChar() : listaDetalle[i].at(0);
        // '-' a plain file, 'd' a folder; links, hard links and devices are refused.
        if ((tipo != QLatin1Char('-') && tipo != QLatin1Char('d')) ||
            !nombreSeguro(listaNombres[i]))
            return fallo(error, textoEntradaRechazada(listaNombres[i]));
    }

    if (!ejecutarTar({QStringLiteral("--extract"), QStringLiteral("--gzip"), fichero,
                      QStringLiteral("--directory=") + QFileInfo(destino).absoluteFilePath(),
                      QStringLiteral("--no-same-owner"), QStringLiteral("--no-same-permissions")},
                     nullptr, &mensaje))
        return fallo(error, LookupTextCon(QStringLiteral("_STR_MI_UPD_UNPACK"),
                                          QStringLiteral("No se ha podido desempaquetar "
                                                         "la actualización en %s.\r\n"
                                                         "Motivo: %s"),
                                          {destino, mensaje}));

    // What was written is checked too: the listing is tar's word, the folder is the fact.
    QDirIterator recorrido(destino,
                           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
    while (recorrido.hasNext()) {
        const QFileInfo info(recorrido.next());
        if (info.isSymLink() || (!info.isFile() && !info.isDir()))
            return fallo(error, textoEntradaRechazada(
                                    QDir(destino).relativeFilePath(info.absoluteFilePath())));
    }
    const QFileInfo programa(QDir(destino).filePath(nombrePrograma));
    if (!programa.isFile() || !programa.isExecutable())
        return fallo(error, textoArchivoMalo(LookupTextCon(
                                QStringLiteral("_STR_MI_UPD_NOPROGRAM"),
                                QStringLiteral("no contiene el programa %s"), {nombrePrograma})));
    return true;
}

bool VersionDeProgramaEn(const QString& programa, TNumeroVersion* version, int esperaMs) {
    QProcess proceso;
    proceso.setWorkingDirectory(QFileInfo(programa).absolutePath());
    proceso.start(programa, {QStringLiteral("--version")});
    if (!proceso.waitForFinished(esperaMs)) {
        proceso.kill();
        proceso.waitForFinished();
        return false;
    }
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0)
        return false;
    const QString salida = QString::fromUtf8(proceso.readAllStandardOutput()).trimmed();
    const QString prefijo = QStringLiteral("Senderal ");
    if (!salida.startsWith(prefijo) || salida.count(QLatin1Char('.')) != 3)
        return false;
    try {
        *version = LeerVersion(salida.mid(prefijo.size()));
    } catch (const ESenderalError&) {
        return false;
    }
    return true;
}
