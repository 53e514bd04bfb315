#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// Where the installed layout keeps data and module, relative to the program's folder.
#ifndef SENDERAL_RELATIVE_DATA_DIR
#define SENDERAL_RELATIVE_DATA_DIR "../share/senderal"
#endif
#ifndef SENDERAL_RELATIVE_MODULE_DIR
#define SENDERAL_RELATIVE_MODULE_DIR "../lib/senderal"
#endif

namespace {
QString& overrideDir() {
    static QString dir;
    return dir;
}

QString withSlash(QString dir) {
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// The mapping file is needed by every load, so it marks a folder holding the data.
bool holdsData(const QString& dir) {
    return QFileInfo(dir + QStringLiteral("GpxDS.dll")).isFile();
}

QString installedDir(const char* relative) {
    return withSlash(QDir::cleanPath(ProgramDir() + QLatin1String(relative)));
}

// The portable folder takes the writable files only when the user may write it; access()
// decides, so a folder made read-only for this user counts as read-only.
bool writablePortable() {
    return !InstalledLayout() && QFileInfo(AppDir()).isWritable();
}

QString userFolder(QStandardPaths::StandardLocation where, const QString& below) {
    QString base = QStandardPaths::writableLocation(where);
    if (base.isEmpty())
        base = QDir::homePath();
    return withSlash(base) + below;
}
} // namespace

QString ProgramDir() {
    if (!overrideDir().isEmpty())
        return withSlash(overrideDir());
    return withSlash(QCoreApplication::applicationDirPath());
}

bool InstalledLayout() {
    const QString program = ProgramDir();
    return !holdsData(program) && holdsData(installedDir(SENDERAL_RELATIVE_DATA_DIR));
}

QString AppDir() {
    return InstalledLayout() ? installedDir(SENDERAL_RELATIVE_DATA_DIR) : ProgramDir();
}

QString ModuleDir() {
    return InstalledLayout() ? installedDir(SENDERAL_RELATIVE_MODULE_DIR) : ProgramDir();
}

QString ConfigDir() {
    if (writablePortable())
        return AppDir();
    return userFolder(QStandardPaths::GenericConfigLocation, QStringLiteral("senderal/"));
}

QString CacheDir() {
    if (writablePortable())
        return AppDir() + QStringLiteral("cache/");
    return userFolder(QStandardPaths::GenericCacheLocation, QStringLiteral("senderal/run/"));
}

void SetAppDirOverride(const QString& dir) {
    overrideDir() = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}
