#pragma once

#include <QString>

// A program version: major, minor, release, build.
struct TNumeroVersion {
    qint32 Major = 0;
    qint32 Minor = 0;
    qint32 Release = 0;
    qint32 Build = 0;
};

enum class TComparacionVersion { cvIguales, cvProgramaMasNueva, cvWebMasNueva };

// The four numbers joined by ".", as in "1.0.2.17".
QString TextoVersion(const TNumeroVersion& v);

// Reads "major.minor.release.build". Reading stops at the first missing ".", and the
// numbers not reached stay 0: "1.2.3" gives 1.2.0.0, "1.2" gives 1.0.0.0, "7" gives
// 0.0.0.0. A part that is not a decimal integer throws ESenderalError.
TNumeroVersion LeerVersion(const QString& texto);

// The program's version against the published one; the first differing number decides.
TComparacionVersion CompararVersiones(const TNumeroVersion& programa,
                                      const TNumeroVersion& publicada);

// The running program's version, fixed by the build from the project's version.
TNumeroVersion VersionPrograma();
QString TextoVersionPrograma();

// `nombre` with its last extension replaced by `extension` (which starts with "."); a
// name without extension gets it appended: "senderal" -> "senderal.ver".
QString ExtensionCambiada(const QString& nombre, const QString& extension);
