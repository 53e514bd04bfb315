#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The three looks of the window: index in the theme list, name, the ribbon's colour
// scheme (0 dark, 1 blue, 2 silver) and the window colour of the panels.
struct TTema {
    int Indice;
    QString Nombre;
    int EsquemaRibbon;
    QColor ColorVentana;
};

const QList<TTema>& Temas();
QStringList NombresTemas(); // the theme list's items, in order

constexpr int kTemaObsidian = 0;
constexpr int kTemaLuna = 1;
constexpr int kTemaSilver = 2;

// The theme behind a picture tag (1, 2, 3) or a list index (0, 1, 2); null outside them.
const TTema* TemaDeEtiqueta(int etiqueta);
const TTema* TemaDeIndice(int indice);

// A colour value 0x00BBGGRR as a QColor.
QColor ColorDesdeValor(quint32 valor);
quint32 ValorDesdeColor(const QColor& color);
