#pragma once

#include <QString>
#include <QStringList>

// `senderal --convert SRC DEST`: converts SRC into the format that the catalogue gives
// DEST's extension, as the wizard does. Returns the exit code (0 done, 1 failed) and
// writes the reason of a failure to `error`. SRC must be a regular file. An existing
// DEST is replaced only with `reemplazar`, and only when it is a regular file other than
// SRC; the same holds for every further file a conversion writes ("DEST-1.ext"...).
// `escritos` gets the files written.
int ConvertirDesdeLineaDeOrdenes(const QString& origen, const QString& destino, QString& error,
                                 bool reemplazar = false, QStringList* escritos = nullptr);

// `senderal --convert SRC DEST [--force]` with the arguments after the option: runs the
// conversion, prints the files written (one a line), writes a failure's reason to stderr
// and returns the exit status (2: wrong arguments).
int EjecutarConversion(QStringList argumentos);

// The GPSBabel program the window would use: the stored "GPSBabel" setting of the
// settings file `ini` when it is not empty, else UbicacionGPSBabelPorDefecto.
QString UbicacionGPSBabelConfigurada(const QString& ini, const QString& appDir);
