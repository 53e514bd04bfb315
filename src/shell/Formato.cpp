#include "Formato.h"

QString FormatearTexto(const QString& format, const QStringList& args) {
    QString out;
    int next = 0;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('%') && i + 1 < format.size() &&
            (format[i + 1] == QLatin1Char('s') || format[i + 1] == QLatin1Char('d')) && next < args.size()) {
            out += args[next++];
            ++i;
        } else {
            out += format[i];
        }
    }
    // "\r\n" written in a text stands for a line break.
    out.replace(QStringLiteral("\\r\\n"), QStringLiteral("\n"));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}
