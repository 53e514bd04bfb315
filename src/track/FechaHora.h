#pragma once

#include <QDateTime>
#include <QStringView>
#include <string_view>

// The program's date-time value: days since 30 December 1899 00:00 with the time of day
// as the fraction, in local time. 0 means "no valid time".
using TFechaHora = double;

TFechaHora FechaHoraDesdeQDateTime(const QDateTime& dt); // uses dt's own date and time fields
QDateTime QDateTimeDesdeFechaHora(TFechaHora value);     // a local QDateTime; invalid for 0

// A GPX time text (xsd:dateTime) as local time; 0 when empty or invalid. Never fails.
// The local offset is the one in force at the converted instant, so a winter track read
// in summer shows its real local hour.
TFechaHora LeerFechaHoraGPX(QStringView text);
TFechaHora LeerFechaHoraGPX(std::string_view text);

// Local ISO 8601 "YYYY-MM-DDThh:mm:ss"; empty for 0.
QString FechaHoraISO(TFechaHora value);
