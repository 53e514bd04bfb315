#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// A save dialog as the picture and export commands prepare it.
struct TDialogoGuardar {
    QString titulo;
    QStringList filtros; // "Bitmap (*.bmp)", ...
    int filtroElegido = 0;
    QString extensionDefecto; // added to a name typed without one; empty: used as typed
    QString fichero;          // initial folder and name
};

// The chosen path; empty when the user cancels.
QString PedirFicheroGuardar(QWidget* parent, const TDialogoGuardar& d);

// The three picture formats of the save-picture dialogs, JPEG chosen.
TDialogoGuardar DialogoImagen(const QString& titulo, const QString& fichero);
