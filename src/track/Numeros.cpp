#include "Numeros.h"

#include "SenderalError.h"

#include <charconv>
#include <cmath>

bool IntentarLeerNumero(std::string_view t, double& value) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    if (t.empty())
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    // The whole text must be the number: "1,5" or "12abc" are not numbers.
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool IntentarLeerNumero(QStringView text, double& value) {
    char buf[64];
    if (text.size() >= qsizetype(sizeof buf))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7f)
            return false;
        buf[i] = char(c);
    }
    return IntentarLeerNumero(std::string_view(buf, size_t(text.size())), value);
}

QString TextoErrorNumero(QStringView text) {
    return QStringLiteral("'%1' no es un valor numérico válido").arg(text);
}

double LeerNumero(QStringView text) {
    double v = 0;
    if (!IntentarLeerNumero(text, v))
        throw ESenderalError(TextoErrorNumero(text));
    return v;
}

QString FormatoGeneral(double value, QChar decimalSep) {
    if (value == 0)
        return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    if (decimalSep != QLatin1Char('.'))
        s.replace(QLatin1Char('.'), decimalSep);
    return s;
}
