#include "EscritoresRuta.h"

#include "FicheroRegular.h"
#include "FormData.h"
#include "Log.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TablaMedidas.h"
#include "TrackStores.h"

#include <QDate>
#include <cmath>
#include <cstdio>

namespace {
bool vacio(std::string_view t) {
    for (char c : t)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    return true;
}

// Characters XML 1.0 cannot carry at all (a name may come from a file path); they
// become U+FFFD so that the file stays well-formed.
bool caracterXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

QString escaparXML(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (char32_t c : s.toUcs4()) {
        if (c == '&')
            out += QLatin1String("&amp;");
        else if (c == '<')
            out += QLatin1String("&lt;");
        else if (c == '>')
            out += QLatin1String("&gt;");
        else if (!caracterXml(c))
            out += QChar(QChar::ReplacementCharacter);
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
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

QString NumeroCortado10(double value) {
    // Past ten digits no fixed form fits: the whole general form keeps the value.
    if (!(std::fabs(value) < 1e10))
        return FormatoGeneral(value);
    QString s = QString::number(value, 'f', 12).left(10);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0") || s.isEmpty())
        s = QStringLiteral("0");
    return s;
}

void EscribirKML(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width) {
    EscribirKML(name, points, *TTablaMedidas::Calcular(points), lines, colour, width);
}

void EscribirKML(const QString& name, const TTrackPointStore& points, const TTablaMedidas& medidas,
                 QStringList& lines, std::uint32_t colour, int width) {
    medidas.ComprobarMedidas();
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
    for (int i = 0; i < medidas.Puntos(); ++i) {
        // A point without an elevation leaves the altitude empty; the measures give it
        // the one before, which this file does not claim.
        const QString ele = vacio(points.texto(i, CampoPunto::Ele))
                                ? QString()
                                : FormatoGeneral(medidas.Elevacion(i));
        lines << NumeroCortado10(medidas.Longitud(i)) + QLatin1Char(',') +
                     NumeroCortado10(medidas.Latitud(i)) + QLatin1Char(',') + ele +
                     QLatin1Char(' ');
    }
    lines << QStringLiteral("</coordinates></LineString>") << QStringLiteral("</Placemark>")
          << QStringLiteral("</kml>");
}

QString AltitudPiesPLT(std::string_view ele) {
    double v = 0;
    const bool hay = IntentarLeerNumero(ele, v);
    return AltitudPiesPLT(hay, v);
}

QString AltitudPiesPLT(bool hayAltitud, double eleM) {
    double v = hayAltitud ? eleM : -777;
    if (v != -777)
        v /= 0.3048;
    return NumeroCortado10(v);
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
    EscribirPLT(name, points, *TTablaMedidas::Calcular(points), lines, colour, width, dateSep);
}

void EscribirPLT(const QString& name, const TTrackPointStore& points, const TTablaMedidas& medidas,
                 QStringList& lines, std::uint32_t colour, int width, QChar dateSep) {
    medidas.ComprobarMedidas();
    lines.clear();
    // The name is one comma-separated field of one line: a line break would split the
    // header and shift every line after it, a comma would end the field early.
    QString campo = name;
    campo.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar c : {QLatin1Char('\r'), QLatin1Char('\n'), QLatin1Char(',')})
        campo.replace(c, QLatin1Char(' '));
    lines << QStringLiteral("OziExplorer Track Point File Version 2.1") << QStringLiteral("WGS 84")
          << QStringLiteral("Altitude is in Feet") << QStringLiteral("Reserved 3")
          << QStringLiteral("0,") + QString::number(width) + QLatin1Char(',') +
                 QString::number(colour) + QLatin1Char(',') + campo +
                 QStringLiteral(",1,0,2,8421376")
          << QStringLiteral("0");
    for (int i = 0; i < medidas.Puntos(); ++i) {
        const TFechaHora t = medidas.FechaHora(i);
        lines << (QStringList{NumeroCortado10(medidas.Latitud(i)),
                              NumeroCortado10(medidas.Longitud(i)),
                              i == 0 ? QStringLiteral("1") : QStringLiteral("0"),
                              AltitudPiesPLT(!vacio(points.texto(i, CampoPunto::Ele)),
                                             medidas.Elevacion(i)),
                              FormatoGeneral(t), FechaPLT(t, dateSep), HoraPLT(t, dateSep)})
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
    const auto medidas = data.Medidas();
    if (format == TFormatoRuta::frKML)
        EscribirKML(name, data.cdsPoints, *medidas, lines, 0xFF0000, 2);
    else
        EscribirPLT(name, data.cdsPoints, *medidas, lines, 255, 2, dateSep);
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

void GrabarRuta(TFormatoRuta format, const QStringList& lines, const QString& path,
                const QString& origen, bool reemplazar) {
    QString error;
    if (!GrabarEnDestino(BytesRuta(format, lines), path, origen, reemplazar, error))
        throw ESenderalError(error);
}

QString ExportarRuta(TFormatoRuta format, const QString& gpxPath, const QString& outPath,
                     bool reemplazar) {
    // Before anything is read: a destination that may not be written stays untouched.
    const QString destino = ComprobarDestino(outPath, gpxPath, reemplazar);
    if (!destino.isEmpty())
        return destino;
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
        GrabarRuta(format, LineasExportacion(format, data), outPath, gpxPath, reemplazar);
    } catch (const ESenderalError& e) {
        return e.text();
    }
    return QString();
}

int EjecutarExportacion(QStringList args) {
    const bool reemplazar = args.removeAll(QStringLiteral("--force")) > 0;
    const QString kind = args.value(0).toLower();
    if (args.size() < 3 || (kind != QLatin1String("kml") && kind != QLatin1String("plt"))) {
        std::fprintf(stderr, "usage: senderal --export kml|plt FILE OUT [--force]\n");
        return 2;
    }
    const QString error =
        ExportarRuta(kind == QLatin1String("kml") ? TFormatoRuta::frKML : TFormatoRuta::frPLT,
                     args[1], args[2], reemplazar);
    if (error.isEmpty())
        return 0;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}
