#pragma once

#include <QString>

// The updater's work, shared by the "Updater" program and its tests.

// True while a process runs the program file at `programa`.
bool ProgramaEnEjecucion(const QString& programa);

// Waits up to `esperaMs` for every process running `programa` to end.
bool EsperarFinPrograma(const QString& programa, int esperaMs);

// The start of the name of a new program folder made for the folder `carpeta`: it lies
// beside it, hidden: "<folder holding it>/.<folder name>-nueva-". The updater takes no
// other folder and removes no other.
QString PrefijoCarpetaNueva(const QString& carpeta);
bool EsCarpetaNueva(const QString& carpeta, const QString& nueva);

// Files the program writes into its own folder, which the user's copy always keeps over
// whatever the new folder brings: the settings (*.ini at the top), the translation
// template (Custom.ini, ComboBox.txt) and the debug marker.
bool FicheroDelUsuario(const QString& rutaRelativa);

// Puts the new program folder `nueva` (a folder beside the program's folder, already
// unpacked and checked) in the place of the folder holding `programa`:
// 1. everything the user has in the old folder and the new one lacks (settings, language
//    files added, any other file), and the user's files above, is copied into the new
//    folder; the temporary "cache/" folder is not;
// 2. the old folder is renamed aside, the new one takes its name, the old one is removed.
// Fails safely: when a step goes wrong before the new folder takes the name, the old
// folder is back in place as it was and `error` tells why; the new folder is left for the
// caller to remove.
bool ReemplazarCarpeta(const QString& programa, const QString& nueva, QString* error);
