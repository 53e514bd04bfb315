#include "IniTexto.h"
#include "Verbario.h"

#include "ImprimirQt.h"
#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString CRLF = QStringLiteral("\r\n");

struct CasoLookup {
    const char* nombre;
    const char* fichero; // UTF-8 text of the language file
    const char* clave;
    const char* esperado;
};

// Every lookup below uses the default "DEF", so a row that falls back shows it.
const CasoLookup CasosLookup[] = {
    {"one marker between words", "[Misc]\nK=uno*|*dos", "K", "uno\r\ndos"},
    {"two markers between words give two breaks", "[Misc]\nK=uno*|**|*dos", "K", "uno\r\n\r\ndos"},
    {"two leading markers give one break", "[Misc]\nK=*|**|*dos", "K", "\r\ndos"},
    {"a value that is only the marker", "[Misc]\nK=*|*", "K", "\r\n"},
    {"a trailing marker ends in a break", "[Misc]\nK=uno*|*", "K", "uno\r\n"},
    {"empty value gives the default", "[Misc]\nK=", "K", "DEF"},
    {"blank value is trimmed to empty: default", "[Misc]\nK=    \t ", "K", "DEF"},
    {"blanks around the words are lost", "[Misc]\nK=   dos palabras   ", "K", "dos palabras"},
    {"key in lower case finds the upper-case entry", "[Misc]\n_STR_MI_METERS=meters",
     "_str_mi_meters", "meters"},
    {"section header in lower case opens Misc", "[misc]\nK=v", "K", "v"},
    {"blanks inside the brackets are trimmed", "[  Misc  ]\nK=v", "K", "v"},
    {"the same key twice: the second line wins", "[Misc]\nK=primero\nK=segundo", "K", "segundo"},
    {"a second Misc hides every key of the first", "[Misc]\nK=v\n[Other]\nX=1\n[MISC]\nJ=w", "K",
     "DEF"},
    {"keys of the second Misc are found", "[Misc]\nK=v\n[MISC]\nJ=w", "J", "w"},
    {"a value keeps every later '='", "[Misc]\nK=a=b=c", "K", "a=b=c"},
    {"quotes and escapes are literal", "[Misc]\nK=\"a\\tb\"", "K", "\"a\\tb\""},
    {"a blank before '=' does not change the key", "[Misc]\n_STR_MI_METERS = metros",
     "_STR_MI_METERS", "metros"},
    {"comment lines are skipped", "[Misc]\n; K=comentario\nK=valor", "K", "valor"},
    {"a line without '=' never matches", "[Misc]\nK\n", "K", "DEF"},
    {"lines before the first section are ignored", "K=fuera\n[Misc]\n", "K", "DEF"},
    {"a key of another section is not read", "[FMain]\nK=v", "K", "DEF"},
    {"indented lines are trimmed", "   [Misc]   \n\t  K=v  ", "K", "v"},
    {"CR-only line ends", "[Misc]\rK=v\rJ=w", "J", "w"},
};

void PrintTo(const CasoLookup& c, std::ostream* os) {
    *os << c.nombre;
}

class LookupTextCase : public ::testing::TestWithParam<CasoLookup> {
  protected:
    void TearDown() override { EstablecerIdiomaActual(nullptr); }
};

TEST_P(LookupTextCase, ReadsTheLanguageFileRule) {
    const CasoLookup& c = GetParam();
    const TIniTexto file = TIniTexto::DesdeTexto(QString::fromUtf8(c.fichero));
    EstablecerIdiomaActual(&file);
    EXPECT_EQ(LookupText(QString::fromUtf8(c.clave), QStringLiteral("DEF")),
              QString::fromUtf8(c.esperado));
}

INSTANTIATE_TEST_SUITE_P(Rules, LookupTextCase, ::testing::ValuesIn(CasosLookup),
                         [](const auto& info) {
                             std::string n = info.param.nombre;
                             for (char& ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST(LookupText, WithoutLanguageFileGivesTheDefault) {
    EstablecerIdiomaActual(nullptr);
    EXPECT_EQ(LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros")),
              QStringLiteral("metros"));
}

TEST(LookupText, EmptyDefaultAndNoValueGivesEmpty) {
    const TIniTexto file = TIniTexto::DesdeTexto(QStringLiteral("[Misc]\nK="));
    EstablecerIdiomaActual(&file);
    EXPECT_EQ(LookupText(QStringLiteral("K"), QString()), QString());
    EstablecerIdiomaActual(nullptr);
}

struct CasoCodificacion {
    const char* nombre;
    QByteArray bytes;
};

QByteArray conBom(const char* bom, const QByteArray& body) {
    return QByteArray(bom) + body;
}

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray out;
    for (QChar ch : text) {
        const char hi = char(ch.unicode() >> 8), lo = char(ch.unicode() & 0xFF);
        out += bigEndian ? QByteArray{1, hi} + QByteArray{1, lo}
                         : QByteArray{1, lo} + QByteArray{1, hi};
    }
    return out;
}

TEST(IniTexto, ByteOrderMarksSelectTheEncoding) {
    const QString text = QStringLiteral("[Misc]\r\nK=Canción ¿€?\r\n");
    const CasoCodificacion casos[] = {
        {"UTF-8 with its mark", conBom("\xEF\xBB\xBF", text.toUtf8())},
        {"UTF-16 little-endian", conBom("\xFF\xFE", utf16(text, false))},
        {"UTF-16 big-endian", conBom("\xFE\xFF", utf16(text, true))},
    };
    for (const CasoCodificacion& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(TIniTexto::DesdeBytes(c.bytes).Valor("Misc", "K"), QStringLiteral("Canción ¿€?"));
    }
}

TEST(IniTexto, WithoutMarkTheBytesAreLatin1) {
    const QByteArray bytes("[Misc]\nK=Canci\xF3n\n");
    EXPECT_EQ(TIniTexto::DesdeBytes(bytes).Valor("Misc", "K"), QStringLiteral("Canción"));
}

TEST(IniTexto, OversizedDeviceIsRefusedWithAMessage) {
    QByteArray big("[Misc]\nK=v\n");
    big.append(QByteArray(TIniTexto::TamanoMaximo, ' '));
    QBuffer buffer(&big);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const TIniTexto ini = TIniTexto::DesdeDispositivo(buffer, &error);
    EXPECT_FALSE(ini.TieneSeccion("Misc"));
    EXPECT_FALSE(error.isEmpty());
}

TEST(IniTexto, KeysListTheReachableSectionOnce) {
    const TIniTexto ini = TIniTexto::DesdeTexto(
        QStringLiteral("[A]\nold=1\n[B]\nx=1\n[a]\nK=1\nsin igual\nk=2\nJ=3"));
    EXPECT_EQ(ini.Claves("A"), (QStringList{"K", "J"}));
    EXPECT_EQ(ini.Secciones(), (QStringList{"A", "B", "a"}));
}

TEST(IniTexto, WriterAppendsAndReplacesInPlace) {
    TIniTexto ini;
    ini.Escribir("S", "a", "1");
    ini.Escribir("T", "x", "9");
    ini.Escribir("S", "b", "2");
    ini.Escribir("s", "A", "3"); // same section and key in other letter case
    const QByteArray bytes = ini.Serializar();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)),
              QStringLiteral("[S]\r\na=3\r\nb=2\r\n\r\n[T]\r\nx=9\r\n"));
}

TEST(IniTexto, RoundTripKeepsTextsAndTurnsLineBreaksIntoMarkers) {
    TIniTexto ini;
    ini.Escribir("Misc", "K", QStringLiteral("línea uno\r\nlínea dos"));
    ini.Escribir("FMain", "FMain.lbl.Caption", QStringLiteral("a = b; ¿c?"));
    const TIniTexto back = TIniTexto::DesdeBytes(ini.Serializar());
    EXPECT_EQ(back.Valor("Misc", "K"), QStringLiteral("línea uno*|*línea dos"));
    EXPECT_EQ(back.Valor("FMain", "FMain.lbl.Caption"), QStringLiteral("a = b; ¿c?"));
}

TEST(IniTexto, SaveToAMissingFolderReportsThePath) {
    QTemporaryDir dir;
    QString error;
    const QString path = dir.path() + "/no/such/folder/x.ini";
    EXPECT_FALSE(TIniTexto().Guardar(path, &error));
    EXPECT_TRUE(error.contains(path));
}
} // namespace
