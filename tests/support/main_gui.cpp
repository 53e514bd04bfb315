#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // The embedded browser needs shared GL contexts, and refuses root without this.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The user's cache folder (where the map keeps its tiles) of this run alone: test
    // programs running side by side must not share one, nor fill the user's own.
    QTemporaryDir userCache;
    if (userCache.isValid())
        qputenv("XDG_CACHE_HOME", QFile::encodeName(userCache.path()));
    ::testing::InitGoogleTest(&argc, argv);
    // CTest asks for the list of cases wherever it runs, with or without a display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
