#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// A save dialog as the picture and export commands prepare it.
struct TDialogoGuardar {
    QString titulo;
    QStringList filtros; // "Bitmap (*.bmp)", ...
    int filtroElegido = 0;
    QString extensionDefecto; // added to a name typed without one; empty: used as typed
    QString fichero;          // initial folder and name
};

// Asks with a prepared dialog; the chosen path, empty when the user cancels. Commands
// take one so that tests can answer instead of the user.
using TPedirFicheroGuardar = std::function<QString(const TDialogoGuardar&)>;

// The chosen path; empty when the user cancels.
QString PedirFicheroGuardar(QWidget* parent, const TDialogoGuardar& d);

// The three picture formats of the save-picture dialogs, JPEG chosen.
TDialogoGuardar DialogoImagen(const QString& titulo, const QString& fichero);
