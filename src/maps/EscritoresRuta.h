#pragma once

#include "FechaHora.h"

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

class TFormData;
class TTrackPointStore;

// Colours are 0x00BBGGRR numbers; the text is "#RRGGBB" in capitals.
QString ColorHTML(std::uint32_t colour);

// The route as one KML 2.1 placemark with a line: coordinate texts cut to 10 characters,
// the ele text whole (empty when missing). `lines` is cleared first.
void EscribirKML(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width);

// The route as an OziExplorer 2.1 track: altitude in feet (-777 when missing) and the
// local time of each point as LeerFechaHoraGPX gives it (no further zone offset).
// `dateSep` is the user's date separator. `lines` is cleared first.
void EscribirPLT(const QString& name, const TTrackPointStore& points, QStringList& lines,
                 std::uint32_t colour, int width, QChar dateSep);

// PLT fields 4, 6 and 7.
QString AltitudPiesPLT(std::string_view ele);
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

// Writes the lines to `path`; throws ESenderalError with the reason when it cannot.
void GrabarRuta(TFormatoRuta format, const QStringList& lines, const QString& path);

// `senderal --export`: reads the GPX file and writes what the export command would.
// Returns an empty text on success, otherwise the error.
QString ExportarRuta(TFormatoRuta format, const QString& gpxPath, const QString& outPath);

// `senderal --export kml|plt FILE OUT` with the words after "--export": 0 when written,
// 1 with the error on stderr when not, 2 for a malformed command line.
int EjecutarExportacion(const QStringList& args);
