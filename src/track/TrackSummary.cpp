#include "TrackSummary.h"

#include "FormData.h"
#include "Medidas.h"
#include "Numeros.h"

QString ResumenTrack(const TFormData& data) {
    const TTrackPointStore& pts = data.cdsPoints;
    TCalculadorMedidas calc(ElevacionRelleno(pts));
    TMedidasPunto first, last;
    for (int i = 0; i < pts.RecordCount(); ++i) {
        last = calc.Agregar(pts.texto(i, CampoPunto::Lat), pts.texto(i, CampoPunto::Lon),
                            pts.texto(i, CampoPunto::Ele), pts.texto(i, CampoPunto::Time));
        if (i == 0)
            first = last;
    }
    QString out;
    auto line = [&out](const char* key, const QString& value) {
        out += QLatin1String(key) + QStringLiteral(": ") + value + QLatin1Char('\n');
    };
    line("points", QString::number(pts.RecordCount()));
    // The pass sums the same consecutive pairs in the same order as
    // CalcularDistanciaTotal, so the last point's distance is DistanciaTotal; one pass
    // instead of two keeps a long track quick.
    line("distance_m", QString::number(DistanciaEnteraMetros(last.Distancia)));
    line("ascent_m", FormatoGeneral(last.AscAcumulado));
    line("descent_m", FormatoGeneral(last.DescAcumulado));
    line("max_elevation_m", FormatoGeneral(calc.AlturaMaxima()));
    line("max_speed_kmh", FormatoGeneral(calc.VelocidadMaxima()));
    line("start", FechaHoraISO(first.FechaHora));
    line("end", FechaHoraISO(last.FechaHora));
    return out;
}
