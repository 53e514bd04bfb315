#include "TrackSummary.h"

#include "FormData.h"
#include "TablaMedidas.h"
#include "Numeros.h"

QString ResumenTrack(const TFormData& data) {
    const TTrackPointStore& pts = data.cdsPoints;
    const auto tabla = data.Medidas();
    tabla->ComprobarMedidas();
    TMedidasPunto first, last;
    if (tabla->Puntos() > 0) {
        first = tabla->Punto(0);
        last = tabla->Punto(tabla->Puntos() - 1);
    }
    QString out;
    auto line = [&out](const char* key, const QString& value) {
        out += QLatin1String(key) + QStringLiteral(": ") + value + QLatin1Char('\n');
    };
    line("points", QString::number(pts.RecordCount()));
    // The measure pass sums the same consecutive pairs in the same order as the total
    // distance, so the last point's distance is DistanciaTotal.
    line("distance_m", QString::number(DistanciaEnteraMetros(last.Distancia)));
    line("ascent_m", FormatoGeneral(last.AscAcumulado));
    line("descent_m", FormatoGeneral(last.DescAcumulado));
    line("max_elevation_m", FormatoGeneral(tabla->AlturaMaxima()));
    line("max_speed_kmh", FormatoGeneral(tabla->VelocidadMaxima()));
    line("start", FechaHoraISO(first.FechaHora));
    line("end", FechaHoraISO(last.FechaHora));
    return out;
}
