#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;

// File dialogs keep the program's filter text ("Description (*.gpx)|*.gpx|...", pairs of
// description and ';'-separated patterns) as their dynamic property "Filter", so language
// files can replace it; the dialog shows the same list as Qt name filters.
void AsignarFiltro(QFileDialog* dialog, const QString& filter);
// The filter in the program's form: the property when set, else built from the dialog's
// name filters.
QString FiltroDialogo(const QFileDialog* dialog);

// "Desc|*.a;*.b|All|*.*" -> {"Desc (*.a *.b)", "All (*.*)"}; a description that already
// ends with its patterns in brackets is kept as it is. An odd last description without
// patterns is dropped.
QStringList FiltroANombresQt(const QString& filter);
// The reverse: {"Desc (*.a *.b)"} -> "Desc (*.a *.b)|*.a;*.b".
QString NombresQtAFiltro(const QStringList& nameFilters);
