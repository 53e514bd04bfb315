#pragma once

#include "Version.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QStringList>

// What the published version file tells about the newest version.
struct TInfoVersion {
    QString Autor;
    QString Web;
    QDate Fecha; // invalid when the file has no DATE line
    TNumeroVersion Version;
    QString Aviso;    // notice shown with the question; kept with its blanks
    QString AvisoWeb; // page about the notice
};

// Decodes a text file: a byte-order mark selects UTF-8 or UTF-16, otherwise the
// system's 8-bit encoding.
QString DecodificarTexto(const QByteArray& bytes);

// Applies the tag table to every line of the version file. Each recognised line adds its
// log line to `log`. A VERSION or DATE value that cannot be read throws ESenderalError.
// `locale` supplies the short date format the DATE line is written in.
TInfoVersion LeerInfoVersion(const QString& texto, const QLocale& locale, QStringList& log);

// A date in the locale's short date format, and the reverse; two-digit years fall in
// 1950..2049. LeerFechaCorta throws ESenderalError when the text is no such date.
QDate LeerFechaCorta(const QString& texto, const QLocale& locale);
QString TextoFechaCorta(const QDate& fecha, const QLocale& locale);
