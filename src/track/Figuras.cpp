#include "Figuras.h"

#include "Geodesia.h"
#include "TablaMedidas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTramoPendienteM = 50;
constexpr double kTramoPendienteMaximaM = 100;

double segundosEntre(TFechaHora a, TFechaHora b) {
    return double(std::llround((b - a) * 86400000.0)) / 1000.0;
}

// Grade between point i and the last point at least `tramo` metres before it; NaN when
// there is none. `desde` is the first point that may be used and moves forward with i.
double pendienteSobre(const std::vector<double>& dist, const TTablaMedidas& m, int i, int& desde,
                      double tramo) {
    while (desde + 1 < i && dist[size_t(i)] - dist[size_t(desde + 1)] >= tramo)
        ++desde;
    const double d = dist[size_t(i)] - dist[size_t(desde)];
    if (desde >= i || d < tramo)
        return kNaN;
    return (m.Elevacion(i) - m.Elevacion(desde)) / d * 100.0;
}
} // namespace

void TFiltroDesnivel::Agregar(double e) {
    if (FPrimero) {
        FPrimero = false;
        FMinimo = FMaximo = e;
        return;
    }
    switch (FSentido) {
    case Ninguno:
        FMinimo = std::min(FMinimo, e);
        FMaximo = std::max(FMaximo, e);
        // The first run starts from the lowest (or highest) point seen before it.
        if (e - FMinimo > FUmbral) {
            FSentido = Subiendo;
            FGiro = FMinimo;
            FExtremo = e;
        } else if (FMaximo - e > FUmbral) {
            FSentido = Bajando;
            FGiro = FMaximo;
            FExtremo = e;
        }
        break;
    case Subiendo:
        if (e > FExtremo) {
            FExtremo = e;
        } else if (FExtremo - e > FUmbral) {
            FAsc += FExtremo - FGiro;
            FGiro = FExtremo;
            FExtremo = e;
            FSentido = Bajando;
        }
        break;
    case Bajando:
        if (e < FExtremo) {
            FExtremo = e;
        } else if (e - FExtremo > FUmbral) {
            FDesc += FGiro - FExtremo;
            FGiro = FExtremo;
            FExtremo = e;
            FSentido = Subiendo;
        }
        break;
    }
}

double TFiltroDesnivel::Ascenso() const {
    return FAsc + (FSentido == Subiendo ? FExtremo - FGiro : 0.0);
}

double TFiltroDesnivel::Descenso() const {
    return FDesc + (FSentido == Bajando ? FGiro - FExtremo : 0.0);
}

std::shared_ptr<const TTablaFiguras> TTablaFiguras::Calcular(std::shared_ptr<const TTablaMedidas> m,
                                                             const TAjustesFiguras& ajustes) {
    auto t = std::make_shared<TTablaFiguras>();
    t->FMedidas = m;
    t->FAjustes = ajustes;
    const int n = m ? m->PuntosMedidos() : 0;
    t->FDistancia.reserve(size_t(n));
    t->FAscFiltrado.reserve(size_t(n));
    t->FDescFiltrado.reserve(size_t(n));
    t->FPendiente.reserve(size_t(n));
    TFiltroDesnivel filtro(ajustes.UmbralDesnivelM);
    double suma = 0;
    int desde = 0, conTiempo = 0;
    for (int i = 0; i < n; ++i) {
        // The table keeps whole metres; stretches need the unrounded sum.
        if (i > 0)
            suma += GeoDistance(TPuntoGeo(m->Latitud(i - 1), m->Longitud(i - 1)),
                                TPuntoGeo(m->Latitud(i), m->Longitud(i)));
        t->FDistancia.push_back(suma);
        filtro.Agregar(m->Elevacion(i));
        t->FAscFiltrado.push_back(filtro.Ascenso());
        t->FDescFiltrado.push_back(filtro.Descenso());
        t->FPendiente.push_back(pendienteSobre(t->FDistancia, *m, i, desde, kTramoPendienteM));
        if (m->FechaHora(i) != 0)
            ++conTiempo;
    }
    t->FTieneTiempos = conTiempo >= 2;
    return t;
}

TFigurasTramo TTablaFiguras::Tramo(int a, int b) const {
    TFigurasTramo f;
    const int n = Puntos();
    if (a > b)
        std::swap(a, b);
    a = std::clamp(a, 0, std::max(n - 1, 0));
    b = std::clamp(b, 0, std::max(n - 1, 0));
    f.Desde = a;
    f.Hasta = b;
    if (n == 0) {
        f.DuracionS = f.MovimientoS = f.ParadoS = kNaN;
        f.VelocidadMediaKmh = f.VelocidadMovimientoKmh = kNaN;
        f.PendienteMediaPct = f.PendienteMaximaPct = kNaN;
        return f;
    }
    const TTablaMedidas& m = *FMedidas;
    f.DistanciaM = FDistancia[size_t(b)] - FDistancia[size_t(a)];
    f.AscensoM = m.AscAcumulado(b) - m.AscAcumulado(a);
    f.DescensoM = m.DescAcumulado(b) - m.DescAcumulado(a);

    TFiltroDesnivel filtro(FAjustes.UmbralDesnivelM);
    TFechaHora primero = 0, ultimo = 0;
    double movimiento = 0, distanciaMovimiento = 0;
    f.PendienteMaximaPct = kNaN;
    int desde = a;
    for (int i = a; i <= b; ++i) {
        filtro.Agregar(m.Elevacion(i));
        const TFechaHora t = m.FechaHora(i);
        if (t != 0) {
            if (primero == 0)
                primero = t;
            ultimo = t;
        }
        if (i > a) {
            const TFechaHora t0 = m.FechaHora(i - 1);
            const double paso = FDistancia[size_t(i)] - FDistancia[size_t(i - 1)];
            const double s = (t != 0 && t0 != 0) ? segundosEntre(t0, t) : 0.0;
            if (s > 0 && s <= FAjustes.PausaMaximaS &&
                paso / s * 3.6 > FAjustes.VelocidadParadoKmh) {
                movimiento += s;
                distanciaMovimiento += paso;
            }
        }
        const double g = pendienteSobre(FDistancia, m, i, desde, kTramoPendienteMaximaM);
        if (!std::isnan(g) &&
            (std::isnan(f.PendienteMaximaPct) || std::fabs(g) > std::fabs(f.PendienteMaximaPct)))
            f.PendienteMaximaPct = g;
    }
    f.AscensoFiltradoM = filtro.Ascenso();
    f.DescensoFiltradoM = filtro.Descenso();
    f.PendienteMediaPct =
        f.DistanciaM > 0 ? (m.Elevacion(b) - m.Elevacion(a)) / f.DistanciaM * 100.0 : kNaN;
    if (!FTieneTiempos || primero == 0) {
        f.DuracionS = f.MovimientoS = f.ParadoS = kNaN;
        f.VelocidadMediaKmh = f.VelocidadMovimientoKmh = kNaN;
        return f;
    }
    f.DuracionS = std::fabs(segundosEntre(primero, ultimo));
    f.MovimientoS = movimiento;
    f.ParadoS = std::max(0.0, f.DuracionS - movimiento);
    f.VelocidadMediaKmh = f.DuracionS > 0 ? f.DistanciaM / f.DuracionS * 3.6 : kNaN;
    f.VelocidadMovimientoKmh = movimiento > 0 ? distanciaMovimiento / movimiento * 3.6 : 0.0;
    return f;
}

QString TextoDuracion(double segundos) {
    if (!std::isfinite(segundos))
        return {};
    const long long total = std::llround(std::fabs(segundos));
    return QStringLiteral("%1%2:%3:%4")
        .arg(segundos < 0 && total > 0 ? QStringLiteral("-") : QString())
        .arg(total / 3600)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}
