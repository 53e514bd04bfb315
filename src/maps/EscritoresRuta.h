#pragma once

#include "FechaHora.h"

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

class TFormData;
class TTablaMedidas;
class TTrackPointStore;

// Colours are 0x00BBGGRR numbers; the text is "#RRGGBB" in capitals.
QString ColorHTML(std::uint32_t colour);

// The writers take the measured numbers of the points, never their texts, so that
// whatever a file held, what they write is numbers and escaped text. A point whose
// values are not usable numbers raises the conversion error (ESenderalError) of the
// measures; the store is looked at only for whether a point has an elevation at all.

// A number in at most 10 characters: its fixed decimal form cut to 10, without trailing
// zeros (41.3363171017184 gives 41.3363171). Values of ten digits and more keep their
// whole general form.
QString NumeroCortado10(double value);

// The route as one KML 2.1 placemark with a line: coordinates cut to 10 characters,
// the elevation whole (empty when missing). `lines` is cleared first.
void EscribirKML(const QString& name, const TTrackPointStore& points, const TTablaMedidas& medidas,
                 QStringList& lines, std::uint32_t colour, int width);
// The same, measuring the store first.
void EscribirKML(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width);

// The route as an OziExplorer 2.1 track: altitude in feet (-777 when missing) and the
// local time of each point as LeerFechaHoraGPX gives it (no further zone offset).
// `dateSep` is the user's date separator. Line breaks and commas in the name become
// blanks. `lines` is cleared first.
void EscribirPLT(const QString& name, const TTrackPointStore& points, const TTablaMedidas& medidas,
                 QStringList& lines, std::uint32_t colour, int width, QChar dateSep);
void EscribirPLT(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width, QChar dateSep);

// PLT fields 4, 6 and 7.
QString AltitudPiesPLT(std::string_view ele);
QString AltitudPiesPLT(bool hayAltitud, double eleM);
QString FechaPLT(TFechaHora value, QChar dateSep); // "dd/mm/yyyy"
QString HoraPLT(TFechaHora value, QChar dateSep);  // "hh:nn/ss"

// The date separator of a locale's short date format ('/' when it has none).
QChar SeparadorFecha(const QLocale& locale = QLocale());

enum class TFormatoRuta { frKML, frPLT };

// What the export commands write: the track's own name, red (FF0000) width 2 for KML,
// colour 255 width 2 for PLT.
QStringList LineasExportacion(TFormatoRuta format, const TFormData& data,
                              QChar dateSep = SeparadorFecha());

// The file's bytes: every line ended by CR LF. KML is UTF-8; PLT is Latin-1, with every
// character outside it written as '?'.
QByteArray BytesRuta(TFormatoRuta format, const QStringList& lines);

// Writes the lines to `path` through a temporary file beside it. An existing `path` is
// replaced only with `reemplazar` and only when it is a regular file other than
// `origen`; throws ESenderalError with the reason when it cannot write.
void GrabarRuta(TFormatoRuta format, const QStringList& lines, const QString& path,
                const QString& origen = QString(), bool reemplazar = true);

// `senderal --export`: reads the GPX file and writes what the export command would.
// The destination must be a new file unless `reemplazar`. Returns an empty text on
// success, otherwise the error.
QString ExportarRuta(TFormatoRuta format, const QString& gpxPath, const QString& outPath,
                     bool reemplazar = false);

// `senderal --export kml|plt FILE OUT [--force]` with the words after "--export": 0 when
// written, 1 with the error on stderr when not, 2 for a malformed command line.
int EjecutarExportacion(QStringList args);
