#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <string_view>

// Track numbers are written with '.' as decimal separator whatever the user's locale
// (the FmtS rule). An empty or malformed text is an error, never 0.
// Throws ESenderalError naming the offending text.
double LeerNumero(QStringView text);

// Same rule, reporting failure instead of throwing.
bool IntentarLeerNumero(QStringView text, double& value);
bool IntentarLeerNumero(std::string_view text, double& value);

// General number format: up to 15 significant digits, no trailing zeros, exponent only
// for very large or very small values; `decimalSep` replaces the '.'.
QString FormatoGeneral(double value, QChar decimalSep = QLatin1Char('.'));

// A value quoted in a message: at most 80 characters of it, "…" marking a cut, so
// that a hostile file cannot fill the screen or the terminal with one value.
QString CitaCorta(QStringView text);
QString CitaCorta(std::string_view utf8);

// The message of a failed number conversion, as the user sees it.
QString TextoErrorNumero(QStringView text);

// A number written after a display pattern: '0' is a digit always written, '#' a digit
// written only when significant, a ',' before the decimal point asks for thousands
// grouping, the first '.' is the decimal point and the digit places after it give the
// decimals (rounded, a half away from zero; none means no decimal separator); a further
// '.' is not written; any other character is copied. "#,##0.00 metros" writes 1234.5 as
// "1,234.50 metros" with ',' grouping and '.' decimals.
QString FormatoPatron(double value, QStringView pattern, QStringView thousandsSep,
                      QStringView decimalSep);
// The same with the separators of the computer's system locale.
QString FormatoPatronLocal(double value, QStringView pattern);
