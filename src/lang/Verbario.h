#pragma once

#include <QString>
#include <QStringList>

class TIniTexto;

// The text of `key` in section [Misc] of the language file in force, with every "*|*"
// turned into a line break; `defaultText` when there is no language file, no such key or
// an empty value. Every text the program composes at run time is fetched this way.
QString LookupText(const QString& key, const QString& defaultText);

// LookupText of `key`, its "%s" places filled with `args` in order (RellenarHuecos).
QString LookupTextCon(const QString& key, const QString& defaultText, const QStringList& args);

// The "*|*" marker rule of [Misc] values: each marker becomes CR LF, except that a run of
// markers at the very start of the value gives one line break only.
QString ConvertirMarcasSalto(const QString& value);

// The language file in force for the whole process: none until the first load.
const TIniTexto* IdiomaActual();
// Replaces the file in force; nullptr leaves none. Tests use it directly.
void EstablecerIdiomaActual(const TIniTexto* file);

// Path of a language file: always inside the program folder (a sub-folder part is
// allowed; '\' is read as a folder separator).
QString RutaIdioma(const QString& fileName);

struct TCargaIdioma {
    bool enVigor = false; // a file is in force now
    QString error;        // why a file that exists was not taken (unreadable, too large)
};
// Drops the file in force and reads RutaIdioma(fileName) in its place; when it does not
// exist (or cannot be read) no file is in force afterwards.
TCargaIdioma CargarIdioma(const QString& fileName);

// The language selector: item i of `ItemsIdioma()` is tied to file i of `FicherosIdioma()`.
const QStringList& ItemsIdioma();
const QStringList& FicherosIdioma();

// The start-up choice from the configured file name: an empty name or "en.lng" gives
// item 1, "es.lng" item 0, "ca.lng" item 2 (exact comparison, letter case counts); any
// other name gives item -1 (the selector is left as it is) and keeps the name.
struct TEleccionIdioma {
    int item = -1;
    QString fichero;
};
TEleccionIdioma ElegirIdiomaInicio(const QString& configured);

// The item whose text equals `displayed`, both trimmed, without letter case; -1 if none.
int ItemIdiomaPorTexto(const QString& displayed);
