#include "Numeros.h"
#include "SenderalError.h"

#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

namespace {
struct CasoNumero {
    const char* guarda;
    const char* texto;
    bool valido;
    double valor;
};

const CasoNumero casos[] = {
    {"plain decimal", "41.5", true, 41.5},
    {"negative", "-0.25", true, -0.25},
    {"leading plus", "+3", true, 3},
    {"integer", "512", true, 512},
    {"exponent", "1e3", true, 1000},
    {"spaces around", "  41.5\t", true, 41.5},
    {"an element written over several lines", "\n    512.5\r\n  ", true, 512.5},
    {"empty is an error, not 0", "", false, 0},
    {"only white space", " \n ", false, 0},
    {"decimal comma", "41,5", false, 0},
    {"letters", "abc", false, 0},
    {"number followed by letters", "12abc", false, 0},
    {"two points", "1.2.3", false, 0},
    {"two signs", "+-5", false, 0},
    {"not a number", "nan", false, 0},
    {"infinity", "inf", false, 0},
    {"hexadecimal", "0x10", false, 0},
    {"thousands separator", "1,234.5", false, 0},
};

void comprobarCasos() {
    for (const CasoNumero& c : casos) {
        SCOPED_TRACE(c.guarda);
        double v = -999;
        EXPECT_EQ(IntentarLeerNumero(std::string_view(c.texto), v), c.valido);
        double w = -999;
        EXPECT_EQ(IntentarLeerNumero(QString::fromUtf8(c.texto), w), c.valido);
        if (c.valido) {
            EXPECT_EQ(v, c.valor);
            EXPECT_EQ(w, c.valor);
            EXPECT_EQ(LeerNumero(QString::fromUtf8(c.texto)), c.valor);
        } else {
            EXPECT_THROW(LeerNumero(QString::fromUtf8(c.texto)), ESenderalError);
        }
    }
}

// Puts the C library's numbers under a locale with a decimal comma: es_ES when the
// machine has it, otherwise one compiled into a temporary folder.
class ComaDecimal {
  public:
    ComaDecimal() : FQtAntes(QLocale()) {
        FCAntes = std::setlocale(LC_NUMERIC, nullptr);
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        if (std::setlocale(LC_NUMERIC, "es_ES.UTF-8"))
            return;
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        if (localedef.isEmpty() || !FDir.isValid())
            return;
        QProcess::execute(localedef,
                          {QStringLiteral("-i"), QStringLiteral("es_ES"), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"), FDir.filePath(QStringLiteral("es_ES.UTF-8"))});
        qputenv("LOCPATH", FDir.path().toLocal8Bit());
        std::setlocale(LC_NUMERIC, "es_ES.UTF-8");
    }
    ~ComaDecimal() {
        std::setlocale(LC_NUMERIC, FCAntes.c_str());
        qunsetenv("LOCPATH");
        QLocale::setDefault(FQtAntes);
    }
    bool CConComa() const { return *std::localeconv()->decimal_point == ','; }

  private:
    QLocale FQtAntes;
    std::string FCAntes;
    QTemporaryDir FDir;
};
} // namespace

TEST(LeerNumero, PointIsTheDecimalSeparator) {
    comprobarCasos();
}

TEST(LeerNumero, PointIsTheDecimalSeparatorUnderACommaLocale) {
    ComaDecimal coma;
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    if (!coma.CConComa())
        ADD_FAILURE() << "no locale with a decimal comma could be set up for the C library";
    comprobarCasos();
}

TEST(LeerNumero, ErrorNamesTheText) {
    try {
        LeerNumero(u"12abc");
        FAIL() << "no error";
    } catch (const ESenderalError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("12abc"))) << e.text().toStdString();
    }
}

TEST(FormatoGeneral, FifteenDigitsNoTrailingZeros) {
    const struct {
        const char* guarda;
        double valor;
        QChar sep;
        const char* texto;
    } casos[] = {
        {"whole number", 23457, '.', "23457"},
        {"no trailing zeros", 11.7285, '.', "11.7285"},
        {"decimal comma", 23.457, ',', "23,457"},
        {"zero", 0.0, '.', "0"},
        {"negative zero", -0.0, '.', "0"},
        {"fifteen significant digits", 72.56026437235687, '.', "72.5602643723569"},
        {"negative", -2.5, ',', "-2,5"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        EXPECT_EQ(FormatoGeneral(c.valor, c.sep), QString::fromUtf8(c.texto));
    }
}
