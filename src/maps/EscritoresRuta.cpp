#include "EscritoresRuta.h"

#include "FormData.h"
#include "Log.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TrackStores.h"

#include <QDate>
#include <QSaveFile>
#include <cmath>
#include <cstdio>

namespace {
QString texto(std::string_view t) {
    return QString::fromUtf8(t.data(), qsizetype(t.size()));
}

QString cortar10(std::string_view t) {
    return texto(t).left(10);
}

QString escaparXML(QString s) {
    s.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return s;
}

// Day number and milliseconds of the day; the value is rounded to the millisecond first,
// so 09:30:14.9996 reads as 09:30:15.
void partirFechaHora(TFechaHora value, qint64& day, qint64& ms) {
    const qint64 total = std::llround(value * 86400000.0);
    day = total >= 0 ? total / 86400000 : -((-total + 86400000 - 1) / 86400000);
    ms = total - day * 86400000;
}

QString dos(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
} // namespace

QString ColorHTML(std::uint32_t colour) {
    const unsigned r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    return QString::asprintf("#%.2x%.2x%.2x", r, g, b).toUpper();
}

void EscribirKML(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width) {
    lines.clear();
    lines << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")
          << QStringLiteral("<kml xmlns=\"http://earth.google.com/kml/2.1\">")
          << QStringLiteral("<Placemark>")
          << QStringLiteral("<name>%1</name>").arg(escaparXML(name))
          << QStringLiteral("<Style><LineStyle><color>ff%1</color><width>%2</width></LineStyle>"
                            "</Style>")
                 .arg(ColorHTML(colour).mid(1))
                 .arg(width)
          << QStringLiteral("<LineString><coordinates>");
    for (int i = 0; i < points.RecordCount(); ++i)
        lines << cortar10(points.texto(i, CampoPunto::Lon)) + QLatin1Char(',') +
                     cortar10(points.texto(i, CampoPunto::Lat)) + QLatin1Char(',') +
                     texto(points.texto(i, CampoPunto::Ele)) + QLatin1Char(' ');
    lines << QStringLiteral("</coordinates></LineString>") << QStringLiteral("</Placemark>")
          << QStringLiteral("</kml>");
}

QString AltitudPiesPLT(std::string_view ele) {
    double v = 0;
    if (!IntentarLeerNumero(ele, v))
        v = -777;
    if (v != -777)
        v /= 0.3048;
    return FormatoGeneral(v).left(10);
}

QString FechaPLT(TFechaHora value, QChar dateSep) {
    qint64 day = 0, ms = 0;
    partirFechaHora(value, day, ms);
    const QDate d = QDate(1899, 12, 30).addDays(day);
    return dos(d.day()) + dateSep + dos(d.month()) + dateSep +
           QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString HoraPLT(TFechaHora value, QChar dateSep) {
    qint64 day = 0, ms = 0;
    partirFechaHora(value, day, ms);
    const int s = int(ms / 1000);
    return dos(s / 3600) + QLatin1Char(':') + dos(s / 60 % 60) + dateSep + dos(s % 60);
}

void EscribirPLT(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width, QChar dateSep) {
    lines.clear();
    // A line break in the name would split the header line and shift every line after it.
    QString oneLine = name;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    lines << QStringLiteral("OziExplorer Track Point File Version 2.1") << QStringLiteral("WGS 84")
          << QStringLiteral("Altitude is in Feet") << QStringLiteral("Reserved 3")
          << QStringLiteral("0,") + QString::number(width) + QLatin1Char(',') +
                 QString::number(colour) + QLatin1Char(',') + oneLine +
                 QStringLiteral(",1,0,2,8421376")
          << QStringLiteral("0");
    for (int i = 0; i < points.RecordCount(); ++i) {
        const TFechaHora t = LeerFechaHoraGPX(points.texto(i, CampoPunto::Time));
        lines << (QStringList{cortar10(points.texto(i, CampoPunto::Lat)),
                              cortar10(points.texto(i, CampoPunto::Lon)),
                              i == 0 ? QStringLiteral("1") : QStringLiteral("0"),
                              AltitudPiesPLT(points.texto(i, CampoPunto::Ele)), FormatoGeneral(t),
                              FechaPLT(t, dateSep), HoraPLT(t, dateSep)})
                     .join(QLatin1Char(','));
    }
}

QChar SeparadorFecha(const QLocale& locale) {
    for (QChar c : locale.dateFormat(QLocale::ShortFormat))
        if (!c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    return QLatin1Char('/');
}

QStringList LineasExportacion(TFormatoRuta format, const TFormData& data, QChar dateSep) {
    const QString name = data.cdsTrack.Cabecera().name;
    QStringList lines;
    if (format == TFormatoRuta::frKML)
        EscribirKML(name, data.cdsPoints, lines, 0xFF0000, 2);
    else
        EscribirPLT(name, data.cdsPoints, lines, 255, 2, dateSep);
    return lines;
}

QByteArray BytesRuta(TFormatoRuta format, const QStringList& lines) {
    QString text;
    for (const QString& l : lines)
        text += l + QLatin1String("\r\n");
    if (format == TFormatoRuta::frKML)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (char32_t c : text.toUcs4())
        bytes.append(c <= 0xFF ? char(c) : '?');
    return bytes;
}

void GrabarRuta(TFormatoRuta format, const QStringList& lines, const QString& path) {
    const QByteArray bytes = BytesRuta(format, lines);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw ESenderalError(
            QStringLiteral("No se puede crear el fichero %1: %2").arg(path, f.errorString()));
}

QString ExportarRuta(TFormatoRuta format, const QString& gpxPath, const QString& outPath) {
    TLog log;
    TFormData data(&log);
    QString failure;
    data.MostrarError = [&failure](const QString& text) { failure = text; };
    data.XMLDataFile = gpxPath;
    data.OpenData();
    if (!data.cdsTrack.Active()) {
        for (const QString& l : log.Lineas())
            if (l.startsWith(QLatin1String("ERROR: ")))
                failure += QLatin1Char('\n') + l;
        return failure.isEmpty() ? QStringLiteral("No se puede leer %1").arg(gpxPath) : failure;
    }
    try {
        GrabarRuta(format, LineasExportacion(format, data), outPath);
    } catch (const ESenderalError& e) {
        return e.text();
    }
    return QString();
}

int EjecutarExportacion(const QStringList& args) {
    const QString kind = args.value(0).toLower();
    if (args.size() < 3 || (kind != QLatin1String("kml") && kind != QLatin1String("plt"))) {
        std::fprintf(stderr, "usage: senderal --export kml|plt FILE OUT\n");
        return 2;
    }
    const QString error = ExportarRuta(
        kind == QLatin1String("kml") ? TFormatoRuta::frKML : TFormatoRuta::frPLT, args[1], args[2]);
    if (error.isEmpty())
        return 0;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}
