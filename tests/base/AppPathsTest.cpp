// Where the program reads its data and writes its files, in the portable folder and in
// the installed layout.
#include "AppPaths.h"
#include "ImprimirQt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void crear(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

struct Disposicion {
    const char* nombre;
    QStringList ficheros; // created below the temporary folder
    const char* programa; // the program's folder
    const char* datos;    // expected AppDir()
    const char* modulo;   // expected ModuleDir()
    bool instalado;       // settings and cache in the user's folders
};

class AppPathsTest : public ::testing::TestWithParam<Disposicion> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        FConfig = qgetenv("XDG_CONFIG_HOME");
        FCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FDir.filePath(QStringLiteral("home/config"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(FDir.filePath(QStringLiteral("home/cache"))));
    }
    void TearDown() override {
        SetAppDirOverride(QString());
        restaurar("XDG_CONFIG_HOME", FConfig);
        restaurar("XDG_CACHE_HOME", FCache);
    }
    static void restaurar(const char* name, const QByteArray& value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QString ruta(const char* relative) const {
        return FDir.path() + QLatin1Char('/') + QLatin1String(relative);
    }
    QTemporaryDir FDir;
    QByteArray FConfig, FCache;
};

TEST_P(AppPathsTest, DataModuleSettingsAndCacheFolders) {
    const Disposicion& d = GetParam();
    for (const QString& f : d.ficheros)
        crear(FDir.filePath(f));
    ASSERT_TRUE(QDir().mkpath(ruta(d.programa)));
    SetAppDirOverride(ruta(d.programa));

    EXPECT_EQ(InstalledLayout(), d.instalado);
    EXPECT_EQ(AppDir(), ruta(d.datos));
    EXPECT_EQ(ModuleDir(), ruta(d.modulo));
    EXPECT_EQ(ProgramDir(), ruta(d.programa));
    if (d.instalado) {
        EXPECT_EQ(ConfigDir(), ruta("home/config/senderal/"));
        EXPECT_EQ(CacheDir(), ruta("home/cache/senderal/run/"));
    } else {
        EXPECT_EQ(ConfigDir(), ruta(d.programa));
        EXPECT_EQ(CacheDir(), ruta(d.programa) + QStringLiteral("cache/"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AppPathsTest,
    ::testing::Values(
        Disposicion{"portable", {QStringLiteral("app/GpxDS.dll")}, "app/", "app/", "app/", false},
        Disposicion{
            "installed",
            {QStringLiteral("usr/bin/senderal"), QStringLiteral("usr/share/senderal/GpxDS.dll")},
            "usr/bin/",
            "usr/share/senderal/",
            "usr/lib/senderal/",
            true},
        // A portable folder that happens to lie in a bin/ folder keeps its own data.
        Disposicion{
            "portable beside an installed tree",
            {QStringLiteral("usr/bin/GpxDS.dll"), QStringLiteral("usr/share/senderal/GpxDS.dll")},
            "usr/bin/",
            "usr/bin/",
            "usr/bin/",
            false},
        // Without data anywhere the program's folder is all there is.
        Disposicion{"no data", {}, "app/", "app/", "app/", false}),
    [](const ::testing::TestParamInfo<Disposicion>& info) {
        QString name = QString::fromLatin1(info.param.nombre);
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
        return name.toStdString();
    });
} // namespace
