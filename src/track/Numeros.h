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

// The message of a failed number conversion, as the user sees it.
QString TextoErrorNumero(QStringView text);
