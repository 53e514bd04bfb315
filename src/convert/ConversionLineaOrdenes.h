#pragma once

#include <QString>
#include <QStringList>

// `senderal --convert SRC DEST`: converts SRC into the format that the catalogue gives
// DEST's extension, as the wizard does. Returns the exit code (0 done, 1 failed) and
// writes the reason of a failure to `error`. An existing DEST is never replaced.
int ConvertirDesdeLineaDeOrdenes(const QString& origen, const QString& destino, QString& error);

// `senderal --convert SRC DEST` with the arguments after the option: runs the conversion,
// writes a failure's reason to stderr and returns the exit status (2: wrong arguments).
int EjecutarConversion(const QStringList& argumentos);

// The GPSBabel program the window would use: the stored "GPSBabel" setting of the
// settings file `ini` when it is not empty, else UbicacionGPSBabelPorDefecto.
QString UbicacionGPSBabelConfigurada(const QString& ini, const QString& appDir);
