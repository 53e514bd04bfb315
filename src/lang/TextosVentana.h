#pragma once

#include "Plantilla.h"

#include <QList>
#include <QString>

class QObject;
class TIniTexto;

// Window texts by element name: a window's section of a language file holds keys
// "<window>.<element>.<ending>", where <window> and <element> are Qt object names.
//
// What each ending reaches on a Qt object (a declared or dynamic property named
// "Caption", "Hint" or "Text" always comes first, so custom widgets such as the ribbon's
// pages, groups and buttons, or the central pages, decide for themselves):
//   .Caption  window title, action text, menu title, group box title, button and label
//             text (not a picture label), dock title, tab text of a tab page
//   .Hint     tool tip and status tip of a widget or an action
//   .Text     line edit, editable combo box, multi-line text box (its whole text)
//   .EditLabel.Caption   the label whose buddy is the element
//   .Filter   a QFileDialog (see FiltroDialogo.h)
//   .lines[i] a QPlainTextEdit or QTextEdit line; a present key applies even when empty
//   .items[i] combo box item, list widget item, column title of a table or tree view
//
// The walk covers every named object under the window at any depth, in creation order.
// It does not go inside another window (a dialog, an about window parented to the main
// window: only the window object itself is an element), except menus. Qt's own
// "qt_..." objects are not elements. An element whose dynamic property "SinTraduccion"
// is true (a box that shows program output, like the log) is skipped by both the
// language files and the template.

// The elements of `window`, in walk order.
QList<QObject*> ElementosVentana(QObject* window);

// Replaces the texts of each window from its section of `file`.
void fillProps(const QList<QObject*>& windows, const TIniTexto& file);

// Loads `fileName` from the program folder as the language in force (none when it does
// not exist) and, when there is one, applies it to `window`. Returns the reason when an
// existing file could not be read, empty otherwise.
QString AplicarIdioma(QObject* window, const QString& fileName);

// Applies the current language file's keys of window `ventana`'s section to `elemento`
// and everything inside it: for dialogs and pages made after the language was applied
// (an open dialog, a wizard), so that their keys take effect too.
void AplicarIdiomaElemento(QObject* elemento, const QString& ventana);

// Qt's own texts (standard buttons, file dialogs) in the language of `fileName`
// ("es.lng", "ca.lng"...), from the translations installed with Qt; English and names
// without an installed translation leave Qt's English texts.
void InstalarTraduccionQt(const QString& fileName);

// The texts of one window as the translation template sees them.
TVentanaTexto LeerTextosVentana(QObject* window);

// Writes "Custom.ini" into the program folder and "ComboBox.txt" into the cache folder
// from `windows`. False with `error` naming the file that could not be written.
bool FillCustomIni(const QList<QObject*>& windows, QString* error);
