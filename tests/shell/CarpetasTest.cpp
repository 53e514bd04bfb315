#include "Carpetas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void escribir(const QString& ruta, const QByteArray& datos = "x") {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

class CacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        FCache = FDir.filePath(QStringLiteral("app/cache/"));
        FFuera = FDir.filePath(QStringLiteral("fuera"));
        ASSERT_TRUE(CrearCacheDir(FCache));
        escribir(FFuera + QStringLiteral("/importante.gpx"), "datos del usuario");
    }
    QTemporaryDir FDir;
    QString FCache;
    QString FFuera;
};

TEST_F(CacheTest, RemovesTheFolderWithFilesAndSubfolders) {
    escribir(FCache + QStringLiteral("~map.html"));
    escribir(FCache + QStringLiteral(".oculto"));
    escribir(FCache + QStringLiteral("sub/dentro/ibp.html"));
    LimpiarCacheDir(FCache, 0);
    EXPECT_FALSE(QFileInfo::exists(FCache));
}

TEST_F(CacheTest, NeverFollowsALinkOutOfTheFolder) {
    ASSERT_TRUE(QFile::link(FFuera + QStringLiteral("/importante.gpx"),
                            FCache + QStringLiteral("enlace.gpx")));
    ASSERT_TRUE(QFile::link(FFuera, FCache + QStringLiteral("carpeta_enlazada")));
    escribir(FCache + QStringLiteral("~dat.html"));
    LimpiarCacheDir(FCache, 0);
    EXPECT_FALSE(QFileInfo::exists(FCache));
    QFile f(FFuera + QStringLiteral("/importante.gpx"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("datos del usuario"));
}

TEST_F(CacheTest, ACacheFolderThatIsALinkLosesOnlyTheLink) {
    const QString cache = FDir.filePath(QStringLiteral("app2/cache"));
    QDir().mkpath(FDir.filePath(QStringLiteral("app2")));
    ASSERT_TRUE(QFile::link(FFuera, cache));
    LimpiarCacheDir(cache + QLatin1Char('/'), 0);
    EXPECT_FALSE(QFileInfo(cache).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(FFuera + QStringLiteral("/importante.gpx")));
}

TEST_F(CacheTest, MissingFolderIsNoError) {
    LimpiarCacheDir(FDir.filePath(QStringLiteral("no-existe/cache/")), 0);
    SUCCEED();
}

TEST(TraerAPantalla, KeepsVisibleWindowsAndBringsLostOnesBack) {
    const QList<QRect> pantallas{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    struct Caso {
        const char* nombre;
        QRect guardada;
        QRect esperada;
    };
    const Caso casos[] = {
        {"inside the first screen", QRect(100, 100, 838, 707), QRect(100, 100, 838, 707)},
        {"on the second screen", QRect(2000, 50, 838, 707), QRect(2000, 50, 838, 707)},
        {"partly off but grippable", QRect(-700, 10, 838, 707), QRect(-700, 10, 838, 707)},
        {"far right of every screen", QRect(5000, 100, 838, 707), QRect(442, 100, 838, 707)},
        {"title above the screen", QRect(100, -800, 838, 707), QRect(100, 0, 838, 707)},
        {"larger than the screen", QRect(-3000, -3000, 2000, 1500), QRect(0, 0, 1280, 1024)},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(TraerAPantalla(c.guardada, pantallas), c.esperada);
    }
}
} // namespace
