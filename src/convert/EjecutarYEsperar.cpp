#include "EjecutarYEsperar.h"

#include "Verbario.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <algorithm>

TResultadoProceso EjecutarYEsperar(const QString& programa, const QStringList& argumentos,
                                   int limiteMs) {
    TResultadoProceso r;
    if (programa.isEmpty()) {
        r.ErrorInicio = LookupText(QStringLiteral("_STR_MI_NOPROGRAM"),
                                   QStringLiteral("No se ha indicado el programa."));
        return r;
    }
    if (!QFileInfo(programa).isFile()) {
        // QProcess would search PATH for a bare name; the configured file is what runs.
        r.ErrorInicio = LookupTextCon(QStringLiteral("_STR_MI_PROGRAMMISSING"),
                                      QStringLiteral("No existe el programa: %s"), {programa});
        return r;
    }
    QProcess proceso;
    proceso.setProgram(programa);
    proceso.setArguments(argumentos);
    proceso.setStandardInputFile(QProcess::nullDevice());
    proceso.setStandardOutputFile(QProcess::nullDevice());

    QEventLoop espera;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&proceso, &QProcess::finished, &espera, &QEventLoop::quit);
    QObject::connect(&proceso, &QProcess::errorOccurred, &espera, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            espera.quit();
    });
    QObject::connect(&limite, &QTimer::timeout, &proceso, [&] {
        r.AgotadoTiempo = true;
        proceso.kill();
    });

    // Only the start of the error output is kept: a program that writes without end
    // must not fill the memory, nor a message box.
    QByteArray errores;
    bool cortado = false;
    QObject::connect(&proceso, &QProcess::readyReadStandardError, &proceso, [&] {
        const QByteArray b = proceso.readAllStandardError();
        const qsizetype cabe = LimiteSalidaError - errores.size();
        if (b.size() > cabe)
            cortado = true;
        errores += b.left(std::max<qsizetype>(cabe, 0));
    });

    proceso.start();
    if (!proceso.waitForStarted(-1)) {
        r.ErrorInicio = proceso.errorString();
        return r;
    }
    r.Iniciado = true;
    limite.start(limiteMs);
    if (proceso.state() != QProcess::NotRunning)
        espera.exec();
    limite.stop();
    r.Terminado = proceso.exitStatus() == QProcess::NormalExit && !r.AgotadoTiempo;
    r.CodigoSalida = proceso.exitCode();
    const QByteArray resto = proceso.readAllStandardError();
    if (errores.size() + resto.size() > LimiteSalidaError)
        cortado = true;
    errores += resto.left(std::max<qsizetype>(LimiteSalidaError - errores.size(), 0));
    r.SalidaError = QString::fromLocal8Bit(errores).trimmed();
    if (cortado)
        r.SalidaError += QStringLiteral("\n…");
    return r;
}
