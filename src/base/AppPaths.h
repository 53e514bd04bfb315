#pragma once

#include <QString>

// The program runs from two layouts:
// - portable: one folder holds the program, its module, its data and (when the folder is
//   writable) everything it writes: settings, the translation template and the cache;
// - installed: the program in bin/, its module and the updater in lib/senderal/, its data
//   in share/senderal/. Nothing is ever written there: the settings go to the user's
//   configuration folder and the cache to the user's cache folder.
// Every folder below ends with '/'.

// The folder of the data files the program reads at run time (mapping file, catalogue,
// language files, map page files, samples): the program folder in the portable layout,
// share/senderal/ when installed.
QString AppDir();

// The folder of the running program file.
QString ProgramDir();

// The folder of the window module and the updater: the program folder in the portable
// layout, lib/senderal/ when installed.
QString ModuleDir();

// True when the data lies in share/senderal/ beside the program's bin/ folder.
bool InstalledLayout();

// Where the settings file, the translation template and the language files the user adds
// are written: the program folder when it is portable and writable, otherwise the user's
// configuration folder (~/.config/senderal/).
QString ConfigDir();

// The temporary files of one run; created at start, removed at exit: "cache/" in the
// program folder when it is portable and writable, otherwise a folder in the user's cache
// folder (~/.cache/senderal/run/).
QString CacheDir();

// Tests and tools point the program's own folder somewhere else; the layout is then found
// from that folder as from a real one. An empty text restores the running executable's.
void SetAppDirOverride(const QString& dir);
