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
    QString SalidaError; // its own error output
    bool Correcto() const { return Iniciado && Terminado && !AgotadoTiempo && CodigoSalida == 0; }
};

// Starts `programa` with `argumentos` (no shell in between) in the program's working
// folder and environment, and returns when it has ended. The event loop runs meanwhile,
// so the window stays responsive; after `limiteMs` the program is killed.
TResultadoProceso EjecutarYEsperar(const QString& programa, const QStringList& argumentos,
                                   int limiteMs);
