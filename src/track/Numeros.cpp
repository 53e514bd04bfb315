#include "Numeros.h"

#include "SenderalError.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
// XML white space: an element written over several lines ("<ele>\n  512\n</ele>")
// still holds a number.
bool espacio(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

bool IntentarLeerNumero(std::string_view t, double& value) {
    while (!t.empty() && espacio(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && espacio(t.back()))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') // "+-5" is not a number
            return false;
    }
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
    if (text.size() >= qsizetype(sizeof buf)) {
        const QByteArray latin1 = text.toLatin1();
        return text.toString() == QString::fromLatin1(latin1) &&
               IntentarLeerNumero(std::string_view(latin1.constData(), size_t(latin1.size())),
                                  value);
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7f)
            return false;
        buf[i] = char(c);
    }
    return IntentarLeerNumero(std::string_view(buf, size_t(text.size())), value);
}

QString CitaCorta(QStringView text) {
    constexpr qsizetype Maximo = 80;
    if (text.size() <= Maximo)
        return text.toString();
    return text.left(Maximo).toString() + QChar(0x2026);
}

QString CitaCorta(std::string_view utf8) {
    // Four bytes at most per character: this many bytes hold more than 80 characters.
    const size_t n = std::min<size_t>(utf8.size(), 4 * 80 + 4);
    const QString s = QString::fromUtf8(utf8.data(), qsizetype(n));
    return n < utf8.size() ? s.left(80) + QChar(0x2026) : CitaCorta(s);
}

QString TextoErrorNumero(QStringView text) {
    return QStringLiteral("'%1' no es un valor numérico válido").arg(CitaCorta(text));
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

QString FormatoPatron(double value, QStringView pattern, QStringView thousandsSep,
                      QStringView decimalSep) {
    auto esDigito = [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); };
    qsizetype punto = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (pattern[i] == QLatin1Char('.')) {
            punto = i;
            break;
        }
    int ceros = 0, decMin = 0, decMax = 0;
    bool agrupar = false;
    qsizetype primero = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const bool antes = punto < 0 || i < punto;
        if (esDigito(c) && primero < 0)
            primero = i;
        if (antes) {
            if (c == QLatin1Char('0'))
                ++ceros;
            else if (c == QLatin1Char(','))
                agrupar = true;
        } else if (i > punto && esDigito(c)) {
            ++decMax;
            if (c == QLatin1Char('0'))
                decMin = decMax;
        }
    }

    const bool negativo = value < 0;
    const long double escala = std::pow(10.0L, decMax);
    // A half goes away from zero.
    const long double redondeado = std::floor(std::fabs((long double)value) * escala + 0.5L);
    const long double entera = std::floor(redondeado / escala);
    long double fraccion = redondeado - entera * escala;

    QString digitos = QString::number(double(entera), 'f', 0);
    if (digitos == QLatin1String("0") && ceros == 0)
        digitos.clear();
    while (digitos.size() < ceros)
        digitos.prepend(QLatin1Char('0'));
    if (agrupar) {
        for (qsizetype i = digitos.size() - 3; i > 0; i -= 3)
            digitos.insert(i, thousandsSep.toString());
    }
    QString decimales;
    if (decMax > 0) {
        decimales = QString::number(double(fraccion), 'f', 0);
        while (decimales.size() < decMax)
            decimales.prepend(QLatin1Char('0'));
        while (decimales.size() > decMin && decimales.endsWith(QLatin1Char('0')))
            decimales.chop(1);
    }
    QString numero = digitos;
    if (!decimales.isEmpty())
        numero += decimalSep.toString() + decimales;
    if (negativo && redondeado != 0)
        numero.prepend(QLatin1Char('-'));

    // Literal characters keep their place before or after the number.
    QString r;
    bool escrito = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (esDigito(c)) {
            if (!escrito)
                r += numero;
            escrito = true;
            continue;
        }
        if (c == QLatin1Char('.') || (c == QLatin1Char(',') && (punto < 0 || i < punto)))
            continue;
        r += c;
    }
    if (!escrito && primero < 0)
        r.prepend(numero);
    return r;
}

QString FormatoPatronLocal(double value, QStringView pattern) {
    const QLocale sistema = QLocale::system();
    return FormatoPatron(value, pattern, sistema.groupSeparator(), sistema.decimalPoint());
}
