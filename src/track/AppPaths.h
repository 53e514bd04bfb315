#pragma once

#include <QString>

// The program folder, with a trailing '/'. Every data file the program reads at run
// time lies here, never in the source tree.
QString AppDir();

// AppDir() + "cache/": the temporary files of one run; created at start, removed at exit.
QString CacheDir();

// Tests and tools point the program folder somewhere else; an empty text restores
// the folder of the running executable.
void SetAppDirOverride(const QString& dir);
