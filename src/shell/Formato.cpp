#include "Formato.h"

#include "TextosPista.h"
#include "Verbario.h"

#include <QRegularExpression>

QString FormatearTexto(const QString& format, const QStringList& args) {
    QString out = RellenarHuecos(format, args);
    // "\r\n" written in a text stands for a line break.
    out.replace(QStringLiteral("\\r\\n"), QStringLiteral("\n"));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

QString TextoErrorLectura(const QString& ruta, const QString& motivo) {
    QString razon = motivo;
    static const QRegularExpression lugar(QStringLiteral("^línea (\\d+), columna (\\d+): "));
    const QRegularExpressionMatch m = lugar.match(razon);
    if (m.hasMatch())
        razon = FormatearTexto(LookupText(QStringLiteral("_STR_MI_LINECOLUMN"),
                                          QStringLiteral("línea %s, columna %s")),
                               {m.captured(1), m.captured(2)}) +
                QStringLiteral(": ") + razon.mid(m.capturedLength());
    return FormatearTexto(LookupText(QStringLiteral("_STR_MI_ERROPENTRACK"),
                                     QStringLiteral("Error al abrir el fichero de track.\r\n<%s>"
                                                    "\r\n\r\nMotivo: %s")),
                          {ruta, razon});
}
