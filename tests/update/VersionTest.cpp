#include "BuscadorActualizaciones.h"
#include "InfoVersion.h"
#include "SenderalError.h"
#include "Version.h"

#include <gtest/gtest.h>

namespace {
struct CasoVersion {
    const char* nombre;
    const char* texto;
    const char* esperado;
};

TEST(LeerVersion, ReadsUpToTheFirstMissingDot) {
    const CasoVersion casos[] = {
        {"four numbers", "1.0.2.17", "1.0.2.17"},
        {"three numbers stop before release", "1.2.3", "1.2.0.0"},
        {"two numbers keep only major", "1.1", "1.0.0.0"},
        {"no dot gives zero", "7", "0.0.0.0"},
        {"empty text gives zero", "", "0.0.0.0"},
        {"build ends at a fifth number", "2.0.0.0.9", "2.0.0.0"},
        {"negative numbers are signed", "-1.0.0.0", "-1.0.0.0"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(TextoVersion(LeerVersion(QString::fromUtf8(c.texto))),
                  QString::fromUtf8(c.esperado));
    }
}

TEST(LeerVersion, APartThatIsNoNumberFailsWithItsText) {
    const char* malos[] = {"1.x.0.0", "1.0.0.beta", "..0.0", "99999999999.0.0.0"};
    for (const char* texto : malos) {
        SCOPED_TRACE(texto);
        EXPECT_THROW(LeerVersion(QString::fromUtf8(texto)), ESenderalError);
    }
}

TEST(CompararVersiones, FirstDifferenceDecides) {
    struct Caso {
        const char* nombre;
        const char* programa;
        const char* web;
        TComparacionVersion esperado;
    };
    const Caso casos[] = {
        {"same version", "1.0.0.5", "1.0.0.5", TComparacionVersion::cvIguales},
        {"newer build offered", "1.0.0.5", "1.0.0.6", TComparacionVersion::cvWebMasNueva},
        {"1.1 reads as 1.0.0.0, older", "1.0.0.5", "1.1", TComparacionVersion::cvProgramaMasNueva},
        {"major decides first", "1.9.9.9", "2.0.0.0", TComparacionVersion::cvWebMasNueva},
        {"no version resource", "0.0.0.0", "0.0.0.1", TComparacionVersion::cvWebMasNueva},
        {"minor beats build", "1.2.0.0", "1.1.9.9", TComparacionVersion::cvProgramaMasNueva},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(CompararVersiones(LeerVersion(QString::fromUtf8(c.programa)),
                                    LeerVersion(QString::fromUtf8(c.web))),
                  c.esperado);
    }
}

TEST(VersionPrograma, ComesFromTheBuildAndReadsBack) {
    const QString texto = TextoVersionPrograma();
    EXPECT_EQ(texto.count(QLatin1Char('.')), 3);
    EXPECT_EQ(CompararVersiones(LeerVersion(texto), VersionPrograma()),
              TComparacionVersion::cvIguales);
    EXPECT_NE(texto, QStringLiteral("0.0.0.0"));
}

TEST(ExtensionCambiada, NamesTheUpdateFiles) {
    EXPECT_EQ(ExtensionCambiada(QStringLiteral("senderal"), QStringLiteral(".ver")),
              QStringLiteral("senderal.ver"));
    EXPECT_EQ(ExtensionCambiada(QStringLiteral("senderal.exe"), QStringLiteral(".ex")),
              QStringLiteral("senderal.ex"));
    EXPECT_EQ(ExtensionCambiada(QStringLiteral("/a.b/senderal"), QStringLiteral(".old")),
              QStringLiteral("/a.b/senderal.old"));
}

// ---- the version file ----

QLocale espanol() {
    return QLocale(QLocale::Spanish, QLocale::Spain);
}

TEST(LeerInfoVersion, ReadsEveryTagWithItsOwnTrimming) {
    QStringList log;
    const TInfoVersion info = LeerInfoVersion(QStringLiteral("  // VERSION:  1.0.0.6  \r\n"
                                                             "// AUTHOR:Ana Pérez\r\n"
                                                             "// WEB: https://senderal.example\n"
                                                             "// DATE: 1/3/26\n"
                                                             "// AVISO: Lea esto\n"
                                                             "// AVISOWEB:https://x.example/aviso\n"
                                                             "texto sin etiqueta\n"),
                                              espanol(), log);
    EXPECT_EQ(TextoVersion(info.Version), QStringLiteral("1.0.0.6"));
    EXPECT_EQ(info.Autor, QStringLiteral("Ana Pérez"));
    EXPECT_EQ(info.Web, QStringLiteral("https://senderal.example"));
    EXPECT_EQ(info.Fecha, QDate(2026, 3, 1));           // two-digit year in this century
    EXPECT_EQ(info.Aviso, QStringLiteral(" Lea esto")); // the blank after the colon stays
    EXPECT_EQ(info.AvisoWeb, QStringLiteral("https://x.example/aviso"));
    EXPECT_EQ(log, (QStringList{
                       QStringLiteral("   VERSION: 1.0.0.6"), QStringLiteral("   AUTOR: Ana Pérez"),
                       QStringLiteral("   PAGINA WEB: https://senderal.example"),
                       QStringLiteral("   FECHA: 1/3/26"), QStringLiteral("   AVISO:  Lea esto"),
                       QStringLiteral("   AVISOWEB: https://x.example/aviso")}));
}

TEST(LeerInfoVersion, MatchesTagsByTheirExactBlanks) {
    struct Caso {
        const char* nombre;
        const char* texto;
        const char* version;
    };
    const Caso casos[] = {
        {"lower-case tag", "// version: 1.0.0.6", "1.0.0.6"},
        {"no blank after //", "//VERSION: 1.0.0.6", "0.0.0.0"},
        {"no blank after the colon", "// VERSION:1.0.0.6", "0.0.0.0"},
        {"two VERSION lines, the last wins", "// VERSION: 1.0.0.6\n// VERSION: 1.0.0.9", "1.0.0.9"},
        {"no VERSION line", "// AUTHOR: nadie", "0.0.0.0"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        QStringList log;
        EXPECT_EQ(TextoVersion(LeerInfoVersion(QString::fromUtf8(c.texto), espanol(), log).Version),
                  QString::fromUtf8(c.version));
    }
}

TEST(LeerInfoVersion, UnreadableValuesFail) {
    QStringList log;
    EXPECT_THROW(LeerInfoVersion(QStringLiteral("// VERSION: 1.a.0.0"), espanol(), log),
                 ESenderalError);
    EXPECT_THROW(LeerInfoVersion(QStringLiteral("// DATE: 2026-03-01"), espanol(), log),
                 ESenderalError);
}

TEST(DecodificarTexto, ByteOrderMarkChoosesTheEncoding) {
    const QString esperado = QStringLiteral("// AUTHOR: Ñandú");
    QByteArray utf16 = "\xFF\xFE";
    for (QChar ch : esperado) {
        utf16.append(char(ch.unicode() & 0xFF));
        utf16.append(char(ch.unicode() >> 8));
    }
    EXPECT_EQ(DecodificarTexto(utf16), esperado);
    EXPECT_EQ(DecodificarTexto("\xEF\xBB\xBF" + esperado.toUtf8()), esperado);
}
} // namespace
