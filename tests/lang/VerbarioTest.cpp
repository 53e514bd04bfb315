#include "Verbario.h"
#include "AppPaths.h"

#include "ImprimirQt.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class ProgramFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        SetAppDirOverride(FDir.path());
        EstablecerIdiomaActual(nullptr);
    }
    void TearDown() override {
        EstablecerIdiomaActual(nullptr);
        SetAppDirOverride(QString());
    }
    void escribir(const QString& relative, const QByteArray& bytes) {
        const QString path = FDir.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir FDir;
};

TEST_F(ProgramFolder, LoadedFileAnswersLookups) {
    escribir("en.lng", "[Misc]\n_STR_MI_METERS=metres\n");
    EXPECT_TRUE(CargarIdioma("en.lng").enVigor);
    EXPECT_EQ(LookupText("_STR_MI_METERS", "metros"), QStringLiteral("metres"));
}

TEST_F(ProgramFolder, MissingFileDropsTheOneInForce) {
    escribir("en.lng", "[Misc]\n_STR_MI_METERS=metres\n");
    CargarIdioma("en.lng");
    const TCargaIdioma r = CargarIdioma("fr.lng");
    EXPECT_FALSE(r.enVigor);
    EXPECT_TRUE(r.error.isEmpty()); // a missing language is not an error
    EXPECT_EQ(IdiomaActual(), nullptr);
    EXPECT_EQ(LookupText("_STR_MI_METERS", "metros"), QStringLiteral("metros"));
}

TEST_F(ProgramFolder, NamesAreTakenInsideTheProgramFolder) {
    escribir("idiomas/eu.lng", "[Misc]\nK=bai\n");
    EXPECT_TRUE(CargarIdioma("idiomas\\eu.lng").enVigor);
    EXPECT_EQ(LookupText("K", "no"), QStringLiteral("bai"));
    EXPECT_FALSE(CargarIdioma("").enVigor); // not the folder itself
    EXPECT_FALSE(CargarIdioma("idiomas").enVigor);
}

// Installed, the shipped files lie in share/senderal/ and a file the user adds lies in the
// configuration folder: both are found; a shipped file keeps the shipped name.
TEST_F(ProgramFolder, InstalledProgramFindsShippedAndAddedFiles) {
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(FDir.path() + "/home"));
    escribir("usr/share/senderal/GpxDS.dll", "");
    escribir("usr/share/senderal/en.lng", "[Misc]\nK=shipped\n");
    escribir("home/senderal/en.lng", "[Misc]\nK=user copy\n");
    escribir("home/senderal/eu.lng", "[Misc]\nK=bai\n");
    QDir().mkpath(FDir.path() + "/usr/bin");
    SetAppDirOverride(FDir.path() + "/usr/bin");
    struct Caso {
        const char* fichero;
        const char* texto;
    } casos[] = {{"en.lng", "shipped"}, {"eu.lng", "bai"}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.fichero);
        EXPECT_TRUE(CargarIdioma(c.fichero).enVigor);
        EXPECT_EQ(LookupText("K", "no"), QString::fromUtf8(c.texto));
    }
    EXPECT_FALSE(CargarIdioma("fr.lng").enVigor);
    if (config.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
}

TEST_F(ProgramFolder, AnEditedFileIsReadAgainOnTheNextLoad) {
    escribir("ca.lng", "[Misc]\nK=u\n");
    CargarIdioma("ca.lng");
    escribir("ca.lng", "[Misc]\nK=dos\n");
    EXPECT_EQ(LookupText("K", "x"), QStringLiteral("u")); // not behind the user's back
    CargarIdioma("ca.lng");
    EXPECT_EQ(LookupText("K", "x"), QStringLiteral("dos"));
}

struct CasoInicio {
    const char* nombre;
    const char* configurado;
    int item;
    const char* fichero;
};

TEST(ElegirIdiomaInicio, ChoosesFromTheConfiguredName) {
    const CasoInicio casos[] = {
        {"no settings: English", "", 1, "en.lng"},
        {"English", "en.lng", 1, "en.lng"},
        {"Spanish", "es.lng", 0, "es.lng"},
        {"Catalan", "ca.lng", 2, "ca.lng"},
        {"a fourth file is kept and the selector left alone", "eu.lng", -1, "eu.lng"},
        {"capital letters match none of the three", "EN.LNG", -1, "EN.LNG"},
        {"blanks are not trimmed", " es.lng", -1, " es.lng"},
    };
    for (const CasoInicio& c : casos) {
        SCOPED_TRACE(c.nombre);
        const TEleccionIdioma e = ElegirIdiomaInicio(QString::fromUtf8(c.configurado));
        EXPECT_EQ(e.item, c.item);
        EXPECT_EQ(e.fichero, QString::fromUtf8(c.fichero));
    }
}

TEST(ItemIdiomaPorTexto, MatchesTrimmedWithoutLetterCase) {
    EXPECT_EQ(ItemIdiomaPorTexto(QStringLiteral("  inglés / ENGLISH ")), 1);
    EXPECT_EQ(ItemIdiomaPorTexto(QStringLiteral("Catalán / Catalan")), 2);
    EXPECT_EQ(ItemIdiomaPorTexto(QStringLiteral("Español")), -1);
    EXPECT_EQ(ItemsIdioma().size(), FicherosIdioma().size());
}
} // namespace
