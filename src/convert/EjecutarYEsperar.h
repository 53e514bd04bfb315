#pragma once

#include <QString>
#include <QStringList>

// How one run of an outside program ended.
struct TResultadoProceso {
    bool Iniciado = false;      // false: the program could not be started at all
    bool AgotadoTiempo = false; // stopped by the time-out
    bool Terminado = false;     // ended by itself (not crashed, not killed)
    int CodigoSalida = -1;
    QString ErrorInicio; // why it could not start
    QString SalidaError; // its own error output, its first LimiteSalidaError bytes
    bool Correcto() const { return Iniciado && Terminado && !AgotadoTiempo && CodigoSalida == 0; }
};

// How much of a program's error output is kept (the rest is read and dropped).
constexpr qsizetype LimiteSalidaError = 4096;

// Starts `programa` with `argumentos` (no shell in between) in the program's working
// folder and environment, and returns when it has ended. The event loop runs meanwhile,
// so the window stays responsive; after `limiteMs` the program is killed.
TResultadoProceso EjecutarYEsperar(const QString& programa, const QStringList& argumentos,
                                   int limiteMs);
