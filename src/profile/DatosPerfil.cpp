#include "DatosPerfil.h"

#include "Medidas.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TrackStores.h"

#include <algorithm>
#include <map>

TDatosPerfil CalcularDatosPerfil(const TTrackPointStore& points, int distanciaTotalM,
                                 QChar decimalSep) {
    TDatosPerfil d;
    const int count = points.RecordCount();
    d.altitudes.reserve(size_t(count));
    double highest = 0;
    TCalculadorMedidas medidas(ElevacionRelleno(points));
    try {
        for (int i = 0; i < count; ++i) {
            const double ele =
                medidas
                    .Agregar(points.texto(i, CampoPunto::Lat), points.texto(i, CampoPunto::Lon),
                             points.texto(i, CampoPunto::Ele), points.texto(i, CampoPunto::Time))
                    .Elevacion;
            d.altitudes.push_back(ele);
            highest = std::max(highest, ele);
        }
    } catch (const ESenderalError& e) {
        d.error = e.text();
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
