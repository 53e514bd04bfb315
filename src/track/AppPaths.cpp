#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>

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
} // namespace

QString AppDir() {
    if (!overrideDir().isEmpty())
        return withSlash(overrideDir());
    return withSlash(QCoreApplication::applicationDirPath());
}

QString CacheDir() { return AppDir() + QStringLiteral("cache/"); }

void SetAppDirOverride(const QString& dir) {
    overrideDir() = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}
