#pragma once

#include "Version.h"

#include <QString>

// The update archive: the whole program folder as a gzip-compressed tar file (made by
// scripts/make-update). The system's `tar` reads it.

// Unpacks `archivo` into the empty folder `destino`. Before anything is written, every
// entry is checked: only plain files and folders, with relative names that stay inside
// `destino` (no "..", no absolute path, no links, no devices). After unpacking, the folder
// is checked again for anything that is not a plain file or folder, and it must hold the
// executable program file `nombrePrograma` at its top. False, with the reason in the
// user's language in `error`, when the archive cannot be read, holds an entry refused
// above, or cannot be unpacked in full (a full disk, for one); `destino` may then hold a
// part of the archive and is the caller's to remove.
bool DesempaquetarActualizacion(const QString& archivo, const QString& destino,
                                const QString& nombrePrograma, QString* error);

// The version the program at `programa` reports with --version; false when it does not
// start, fails, or prints no version within `esperaMs`.
bool VersionDeProgramaEn(const QString& programa, TNumeroVersion* version, int esperaMs = 30000);
