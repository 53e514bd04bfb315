#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TIniTexto;

// What the translation template needs to know of one element of a window: its name and,
// for each kind of text it carries, the text itself (absent = the element has no such
// property). The window layer fills it; writing the template needs no widgets.
struct TElementoTexto {
    QString nombre;
    std::optional<QString> caption;
    std::optional<QString> hint;
    std::optional<QString> texto;           // edit boxes only
    std::optional<QString> etiquetaAdjunta; // caption of the label attached to the element
    std::optional<QString> filtro;          // file and picture dialogs only
    std::optional<QStringList> lineas;      // multi-line text box
    std::optional<QStringList> items;       // drop-down list
    std::optional<QStringList> columnas;    // data grid: column titles
    std::optional<QStringList> itemsLista;  // list box
};

struct TVentanaTexto {
    QString nombre;
    std::optional<QString> caption;  // absent: the window has no title property
    QList<TElementoTexto> elementos; // in layout order
};

// Elements named "out..." (any letter case) are left out of the template altogether.
bool ExcluidoDePlantilla(const QString& elementName);

// The filter as written to the template: "*|*" would read back as a line break.
QString FiltroParaPlantilla(const QString& filter);

// Writes the keys of one window into `ini` and appends its "ComboBox.txt" block (when it
// has drop-down lists) to `comboLines`.
void EscribirVentanaPlantilla(const TVentanaTexto& window, TIniTexto& ini, QStringList& comboLines);

// [Misc]: every run-time text of the program with its built-in default; line breaks
// written as "*|*". The built program carries no source files to scan, so the table
// of run-time texts stands in for them.
void EscribirMiscPlantilla(TIniTexto& ini);

// The whole template: deletes both files, then writes "Custom.ini" at `iniPath` (window
// sections and [Misc]) and, when there are drop-down lists, "ComboBox.txt" at
// `comboPath` (CR LF after each line). False with `error` naming the file that could not
// be deleted or written.
bool EscribirPlantilla(const QList<TVentanaTexto>& windows, const QString& iniPath,
                       const QString& comboPath, QString* error);
