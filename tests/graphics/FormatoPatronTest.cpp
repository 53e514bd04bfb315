#include "Numeros.h"

#include <gtest/gtest.h>

namespace {
struct Caso {
    const char* nombre;
    double valor;
    const char* patron;
    const char* comaPunto; // ',' thousands, '.' decimals
    const char* puntoComa; // '.' thousands, ',' decimals
};
} // namespace

TEST(FormatoPatron, PatronesDelPanelDePunto) {
    const Caso casos[] = {
        {"elevation with unit word", 1234.5, "#,##0.00 metros", "1,234.50 metros",
         "1.234,50 metros"},
        {"distance in metres, no decimal point written", 12345, "#,0. m/", "12,345 m/",
         "12.345 m/"},
        {"distance in km, the second point dropped", 12.345, "#,#0.0 km.", "12.3 km", "12,3 km"},
        {"speed keeps its one decimal", 7, "#,#0.0 km/h", "7.0 km/h", "7,0 km/h"},
        {"zero metres", 0, "#,0. m/", "0 m/", "0 m/"},
        {"zero km", 0, "#,#0.0 km.", "0.0 km", "0,0 km"},
        {"a half rounds away from zero", 0.125, "#,##0.00 ", "0.13 ", "0,13 "},
        {"millions group every three digits", 1234567.891, "#,##0.00 metros", "1,234,567.89 metros",
         "1.234.567,89 metros"},
        {"negative descent-like value", -12.5, "#,##0.00 metros", "-12.50 metros", "-12,50 metros"},
        {"rounding carries into the integer part", 9.96, "#,#0.0 km/h", "10.0 km/h", "10,0 km/h"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(FormatoPatron(c.valor, QString::fromUtf8(c.patron), u",", u"."),
                  QString::fromUtf8(c.comaPunto));
        EXPECT_EQ(FormatoPatron(c.valor, QString::fromUtf8(c.patron), u".", u","),
                  QString::fromUtf8(c.puntoComa));
    }
}

TEST(FormatoPatron, SinAgrupacionNoSeparaMiles) {
    EXPECT_EQ(FormatoPatron(12345.678, u"0.0", u",", u"."), QStringLiteral("12345.7"));
    EXPECT_EQ(FormatoPatron(12345.678, u"0.##", u",", u"."), QStringLiteral("12345.68"));
    EXPECT_EQ(FormatoPatron(12345.5, u"0.##", u",", u"."), QStringLiteral("12345.5"));
}
