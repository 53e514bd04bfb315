#include "InfoVersion.h"

#include "SenderalError.h"

#include <QRegularExpression>
#include <QStringDecoder>

QString DecodificarTexto(const QByteArray& bytes) {
    auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::System),
                           QStringConverter::Flag::Stateless);
    QString texto = decoder.decode(bytes);
    if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    return texto;
}

QDate LeerFechaCorta(const QString& texto, const QLocale& locale) {
    const QString formato = locale.dateFormat(QLocale::ShortFormat);
    QDate fecha = locale.toDate(texto, formato);
    if (!fecha.isValid())
        throw ESenderalError(QStringLiteral("'%1' no es una fecha válida").arg(texto));
    // Qt reads a two-digit year as 19xx; the program's dates are recent.
    if (!formato.contains(QLatin1String("yyyy")) && fecha.year() < 1950)
        fecha = fecha.addYears(100);
    return fecha;
}

QString TextoFechaCorta(const QDate& fecha, const QLocale& locale) {
    return fecha.isValid() ? locale.toString(fecha, QLocale::ShortFormat) : QString();
}

namespace {
enum class Etiqueta { Version, Autor, Web, Fecha, Aviso, AvisoWeb };

struct DefEtiqueta {
    Etiqueta etiqueta;
    QLatin1String texto; // exact blanks matter: "// VERSION:1" matches nothing
    QLatin1String log;
};

const DefEtiqueta kEtiquetas[] = {
    {Etiqueta::Version, QLatin1String("// VERSION: "), QLatin1String("   VERSION: ")},
    {Etiqueta::Autor, QLatin1String("// AUTHOR:"), QLatin1String("   AUTOR: ")},
    {Etiqueta::Web, QLatin1String("// WEB: "), QLatin1String("   PAGINA WEB: ")},
    {Etiqueta::Fecha, QLatin1String("// DATE:"), QLatin1String("   FECHA: ")},
    {Etiqueta::Aviso, QLatin1String("// AVISO:"), QLatin1String("   AVISO: ")},
    {Etiqueta::AvisoWeb, QLatin1String("// AVISOWEB:"), QLatin1String("   AVISOWEB: ")},
};
} // namespace

TInfoVersion LeerInfoVersion(const QString& texto, const QLocale& locale, QStringList& log) {
    TInfoVersion info;
    const QStringList lineas = texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& linea : lineas) {
        const QString limpia = linea.trimmed();
        for (const DefEtiqueta& def : kEtiquetas) {
            if (!limpia.startsWith(def.texto, Qt::CaseInsensitive))
                continue;
            const QString resto = limpia.mid(def.texto.size());
            switch (def.etiqueta) {
            case Etiqueta::Version:
                log << def.log + resto.trimmed();
                info.Version = LeerVersion(resto.trimmed());
                break;
            case Etiqueta::Autor:
                info.Autor = resto.trimmed();
                log << def.log + info.Autor;
                break;
            case Etiqueta::Web:
                info.Web = resto.trimmed();
                log << def.log + info.Web;
                break;
            case Etiqueta::Fecha:
                log << def.log + resto.trimmed();
                info.Fecha = LeerFechaCorta(resto.trimmed(), locale);
                break;
            case Etiqueta::Aviso:
                info.Aviso = resto;
                log << def.log + resto;
                break;
            case Etiqueta::AvisoWeb:
                info.AvisoWeb = resto;
                log << def.log + resto;
                break;
            }
            break;
        }
    }
    return info;
}
