#include "DatosPerfil.h"

#include "Numeros.h"
#include "SenderalError.h"
#include "TablaMedidas.h"
#include "TrackStores.h"

#include <algorithm>
#include <map>

TDatosPerfil CalcularDatosPerfil(const TTrackPointStore& points, int distanciaTotalM,
                                 QChar decimalSep) {
    return CalcularDatosPerfil(*TTablaMedidas::Calcular(points), distanciaTotalM, decimalSep);
}

TDatosPerfil CalcularDatosPerfil(const TTablaMedidas& medidas, int distanciaTotalM,
                                 QChar decimalSep) {
    TDatosPerfil d;
    const int count = medidas.Puntos();
    const int medidos = medidas.PuntosMedidos();
    d.altitudes.reserve(size_t(medidos));
    double highest = 0;
    for (int i = 0; i < medidos; ++i) {
        const double ele = medidas.Elevacion(i);
        d.altitudes.push_back(ele);
        highest = std::max(highest, ele);
    }
    if (!medidas.MedidasCompletas()) {
        d.error = medidas.ErrorMedidas();
        return d;
    }
    d.maximoEje = highest * 1.2;

    // Set in this order, so a later label replaces an earlier one at the same point.
    std::map<int, QString> labels;
    if (count > 0) {
        labels[0] = QStringLiteral("0");
        labels[count / 2] = FormatoGeneral(distanciaTotalM / 2000.0, decimalSep);
        labels[count - 1] = FormatoGeneral(distanciaTotalM / 1000.0, decimalSep);
    }
    for (const auto& [index, text] : labels)
        d.etiquetas.push_back({index, text});
    return d;
}
