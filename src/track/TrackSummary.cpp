#include "TrackSummary.h"

#include "FormData.h"
#include "Numeros.h"
#include "SenderalError.h"
#include "TablaMedidas.h"

#include <cmath>

namespace {
void linea(QString& out, const char* key, const QString& value) {
    out += QLatin1String(key) + QStringLiteral(": ") + value + QLatin1Char('\n');
}

// Two decimals are plenty for figures built from many points; whole seconds for times.
QString dosDecimales(double v) {
    return FormatoGeneral(std::round(v * 100.0) / 100.0 + 0.0);
}
QString segundos(double v) {
    return QString::number(std::llround(v));
}

void lineasSensores(QString& out, const TFormData& data, int desde, int hasta) {
    const TSensoresPuntos& s = data.cdsPoints.Sensores();
    TSensoresPuntos::Resumen r;
    if (s.Resumir(Sensor::Pulso, desde, hasta, r)) {
        linea(out, "heart_rate_avg_bpm", dosDecimales(r.media));
        linea(out, "heart_rate_max_bpm", dosDecimales(r.maximo));
    }
    if (s.Resumir(Sensor::Cadencia, desde, hasta, r)) {
        linea(out, "cadence_avg_rpm", dosDecimales(r.media));
        linea(out, "cadence_max_rpm", dosDecimales(r.maximo));
    }
    if (s.Resumir(Sensor::Potencia, desde, hasta, r)) {
        linea(out, "power_avg_w", dosDecimales(r.media));
        linea(out, "power_max_w", dosDecimales(r.maximo));
    }
    if (s.Resumir(Sensor::Temperatura, desde, hasta, r)) {
        linea(out, "temperature_min_c", dosDecimales(r.minimo));
        linea(out, "temperature_max_c", dosDecimales(r.maximo));
    }
}
} // namespace

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

    const auto figuras = data.Figuras();
    const TFigurasTramo total = figuras->Total();
    linea(out, "ascent_filtered_m", dosDecimales(total.AscensoFiltradoM));
    linea(out, "descent_filtered_m", dosDecimales(total.DescensoFiltradoM));
    if (!std::isnan(total.DuracionS)) {
        linea(out, "duration_s", segundos(total.DuracionS));
        linea(out, "moving_time_s", segundos(total.MovimientoS));
        linea(out, "avg_moving_speed_kmh", dosDecimales(total.VelocidadMovimientoKmh));
    }
    lineasSensores(out, data, 0, pts.RecordCount() - 1);
    return out;
}

QString ResumenTramo(const TFormData& data, int desde, int hasta) {
    const auto tabla = data.Medidas();
    tabla->ComprobarMedidas();
    const int n = tabla->Puntos();
    if (desde < 1 || hasta < 1 || desde > n || hasta > n)
        throw ESenderalError(
            QStringLiteral("Los puntos %1 a %2 no están en el track, que tiene %3 puntos.")
                .arg(desde)
                .arg(hasta)
                .arg(n));
    const TFigurasTramo f = data.Figuras()->Tramo(desde - 1, hasta - 1);
    QString out;
    auto opcional = [&out](const char* key, double v, QString (*texto)(double)) {
        if (!std::isnan(v))
            linea(out, key, texto(v));
    };
    linea(out, "from", QString::number(f.Desde + 1));
    linea(out, "to", QString::number(f.Hasta + 1));
    linea(out, "distance_m", dosDecimales(f.DistanciaM));
    opcional("duration_s", f.DuracionS, segundos);
    opcional("moving_time_s", f.MovimientoS, segundos);
    linea(out, "ascent_m", dosDecimales(f.AscensoM));
    linea(out, "descent_m", dosDecimales(f.DescensoM));
    linea(out, "ascent_filtered_m", dosDecimales(f.AscensoFiltradoM));
    linea(out, "descent_filtered_m", dosDecimales(f.DescensoFiltradoM));
    opcional("avg_speed_kmh", f.VelocidadMediaKmh, dosDecimales);
    opcional("avg_moving_speed_kmh", f.VelocidadMovimientoKmh, dosDecimales);
    opcional("avg_grade_pct", f.PendienteMediaPct, dosDecimales);
    opcional("max_grade_pct", f.PendienteMaximaPct, dosDecimales);
    lineasSensores(out, data, f.Desde, f.Hasta);
    return out;
}
