#include "IniTexto.h"
#include "TextosMisc.h"

#include "ImprimirQt.h"
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

// The run-time texts: every key the program uses is in the table, the shipped language
// files carry every key of the table, and the inline defaults agree with the table.
namespace {
const QString SourceDir = QStringLiteral(SENDERAL_SOURCE_DIR);
const char* const Idiomas[] = {"es.lng", "en.lng", "ca.lng"};

QString leerTexto(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList fuentesPrograma() {
    QStringList files;
    QDirIterator it(SourceDir + "/src", {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

TIniTexto idioma(const char* name) {
    return TIniTexto::DesdeFichero(SourceDir + "/data/lang/" + QLatin1String(name));
}

QString enFichero(const QString& text) {
    QString v = text.trimmed();
    return v.replace("\r\n", "*|*");
}

QString sinEscapes(const QString& literal) {
    QString out;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            out += literal[i];
            continue;
        }
        const QChar c = literal[++i];
        out += c == 'r' ? QChar('\r') : c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c;
    }
    return out;
}

TEST(TextosMisc, EveryKeyUsedInTheProgramIsInTheTable) {
    const QRegularExpression key(QStringLiteral("\"(_STR_[A-Z0-9_]+)\""));
    const QStringList files = fuentesPrograma();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        auto it = key.globalMatch(leerTexto(file));
        while (it.hasNext()) {
            const QString k = it.next().captured(1);
            EXPECT_TRUE(EsClaveMisc(k)) << qPrintable(k) << " used in " << qPrintable(file);
        }
    }
}

TEST(TextosMisc, InlineDefaultsAgreeWithTheTable) {
    // LookupText("_STR_X", "default") (or LookupTextCon, or the track library's TextoPista)
    // with the default written as string literals.
    const QRegularExpression call(QStringLiteral(
        R"re((?:LookupText(?:Con)?|TextoPista)\(\s*(?:QStringLiteral|QLatin1String|QString::fromUtf8)?\(?\s*"(_STR_[A-Z0-9_]+)"\s*\)?\s*,\s*(?:QStringLiteral|QLatin1String|QString::fromUtf8|tr)?\(?\s*((?:"(?:[^"\\]|\\.)*"\s*)+)[),])re"));
    const QRegularExpression piece(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    int checked = 0;
    for (const QString& file : fuentesPrograma()) {
        auto it = call.globalMatch(leerTexto(file));
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            QString text;
            auto pieces = piece.globalMatch(m.captured(2));
            while (pieces.hasNext())
                text += sinEscapes(pieces.next().captured(1));
            EXPECT_EQ(text, TextoMiscDefecto(m.captured(1)))
                << qPrintable(m.captured(1)) << " in " << qPrintable(file);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(LanguageFiles, CarryEveryRunTimeKey) {
    for (const char* name : Idiomas) {
        SCOPED_TRACE(name);
        const TIniTexto file = idioma(name);
        ASSERT_TRUE(file.TieneSeccion("Misc"));
        for (const TTextoMisc& t : TextosMisc) {
            SCOPED_TRACE(t.clave);
            EXPECT_TRUE(file.TieneClave("Misc", t.clave));
            const QString value = file.Valor("Misc", t.clave);
            const QString def = QString::fromUtf8(t.textoDefecto);
            // Empty only where the built-in text ends in a blank a value cannot keep.
            if (value.isEmpty()) {
                EXPECT_TRUE(def.endsWith(' '));
            }
            if (!value.isEmpty()) {
                EXPECT_EQ(value.count("%s"), def.count("%s"));
            }
        }
        for (const QString& k : file.Claves("Misc"))
            EXPECT_TRUE(EsClaveMisc(k)) << "unknown key " << qPrintable(k);
    }
}

TEST(LanguageFiles, SpanishHoldsTheBuiltInTexts) {
    const TIniTexto es = idioma("es.lng");
    for (const TTextoMisc& t : TextosMisc) {
        SCOPED_TRACE(t.clave);
        const QString value = es.Valor("Misc", t.clave);
        if (!value.isEmpty()) {
            EXPECT_EQ(value, enFichero(QString::fromUtf8(t.textoDefecto)));
        }
    }
}

TEST(LanguageFiles, HintsShowNoMnemonicMark) {
    // A hint is shown as it is in the status bar: an '&' there would be read literally.
    const QRegularExpression marca(QStringLiteral("(^|[^&])&([^&]|$)"));
    for (const char* name : Idiomas) {
        SCOPED_TRACE(name);
        const TIniTexto file = idioma(name);
        for (const QString& seccion : file.Secciones())
            for (const QString& k : file.Claves(seccion))
                if (k.endsWith(QLatin1String(".Hint"))) {
                    const QString valor = file.Valor(seccion, k);
                    EXPECT_FALSE(marca.match(valor).hasMatch())
                        << qPrintable(k) << "=" << qPrintable(valor);
                }
    }
}

TEST(LanguageFiles, AreUtf8WithAByteOrderMark) {
    for (const char* name : Idiomas) {
        SCOPED_TRACE(name);
        QFile f(SourceDir + "/data/lang/" + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith("\xEF\xBB\xBF"));
    }
}
} // namespace
