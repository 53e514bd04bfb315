#pragma once

#include <QString>
#include <QStringList>

// The conversion command as the user and the developer record see it. The placeholders
// are filled in one pass, so a path that itself contains "%DEST%" or "%BABEL%" is shown
// as it is, exactly as it is passed to GPSBabel.
QString PlantillaComando();
QString LineaComando(const QString& babel, const QString& origen, const QString& destino,
                     const QString& tipoOrigen, const QString& tipoDestino);

// The same command as GPSBabel's argument list: nothing is re-read by a shell, so blanks,
// quotes and "$" in a path reach GPSBabel intact.
QStringList ArgumentosGPSBabel(const QString& origen, const QString& destino,
                               const QString& tipoOrigen, const QString& tipoDestino);

// The file name's extension without the dot (after the last dot of the name, not of a
// folder); empty when the name has none.
QString ExtensionFichero(const QString& path);

// `path` with the extension of its file name replaced by `extension` (given with its
// dot), or with `extension` appended when the name has none.
QString CambiarExtension(const QString& path, const QString& extension);

// The GPSBabel program to run when the configured box is empty: "gpsbabel" in the program
// folder if it is there, else the one found on PATH, else the program-folder path (which
// then does not exist, and the conversion command is disabled).
QString UbicacionGPSBabelPorDefecto(const QString& appDir);
