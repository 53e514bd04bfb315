#pragma once

#include <QString>

// The updater's work, shared by the "Updater" program and its tests.

// True while a process runs the program file at `programa`.
bool ProgramaEnEjecucion(const QString& programa);

// Waits up to `esperaMs` for every process running `programa` to end.
bool EsperarFinPrograma(const QString& programa, int esperaMs);

// Puts `nuevo` in the place of `programa` with its run bit and keeps the old file beside
// it with the extension ".old". Fails safely: when any step goes wrong the old program is
// back in its place and `error` tells why.
bool ReemplazarPrograma(const QString& programa, const QString& nuevo, QString* error);
