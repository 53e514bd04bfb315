#pragma once

#include <QChar>
#include <QString>
#include <vector>

class TTablaMedidas;
class TTrackPointStore;

struct TEtiquetaPerfil {
    int indice = 0; // point number on the horizontal axis
    QString texto;
};

// What the profile chart shows for a track: one altitude per point (X is the point's
// number), the vertical axis maximum and the distance labels of the horizontal axis.
struct TDatosPerfil {
    std::vector<double> altitudes;
    double maximoEje = 0;                   // 1.2 × the highest altitude, counted from 0
    std::vector<TEtiquetaPerfil> etiquetas; // in point order, at most one per point
    QString error; // the conversion error that ended the fill; the altitudes before it stay
    bool completo() const { return error.isEmpty(); }
};

// Altitudes as the measure pass fills them (a missing ele takes the previous one);
// labels "0", half and all of `distanciaTotalM` in kilometres at the first, middle
// (count div 2) and last point, in the general number format with `decimalSep`.
TDatosPerfil CalcularDatosPerfil(const TTablaMedidas& medidas, int distanciaTotalM,
                                 QChar decimalSep);
// The same from the texts of a point store.
TDatosPerfil CalcularDatosPerfil(const TTrackPointStore& points, int distanciaTotalM,
                                 QChar decimalSep);
