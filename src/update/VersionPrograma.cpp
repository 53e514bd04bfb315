// The running program's version, fixed by the build. It lives in a file of its own so that
// a build of the window module can be given other numbers by compiling this file into it
// with other SENDERAL_VERSION_* values (the update tests build such a newer copy).
#include "Version.h"

TNumeroVersion VersionPrograma() {
    return {SENDERAL_VERSION_MAJOR, SENDERAL_VERSION_MINOR, SENDERAL_VERSION_RELEASE,
            SENDERAL_VERSION_BUILD};
}

QString TextoVersionPrograma() {
    return TextoVersion(VersionPrograma());
}
