#include "Trazado.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

int CoordenadaEntera(double grados) {
    return int(std::trunc(grados * 10000));
}

int RedondeoPar(double v) {
    const double r = std::round(v);
    // std::round takes halves away from zero; a tie goes to the even neighbour instead.
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return int(2.0 * std::round(v / 2.0));
    return int(r);
}

void TProyeccion::Incluir(int latI, int lonI) {
    FFactor = 0;
    if (!FAlguno) {
        FMaxLat = FMinLat = latI;
        FMinLon = FMaxLon = lonI;
        FAlguno = true;
        return;
    }
    FMaxLat = std::max(FMaxLat, latI);
    FMinLat = std::min(FMinLat, latI);
    FMinLon = std::min(FMinLon, lonI);
    FMaxLon = std::max(FMaxLon, lonI);
}

double TProyeccion::EscalaX() const {
    // A degree of longitude is cos(latitude) times a degree of latitude; at the track's
    // middle latitude that keeps the route's shape as a map shows it.
    const double latCentro = (double(FMaxLat) + double(FMinLat)) / 2 / 10000;
    return std::cos(latCentro * M_PI / 180);
}

std::int64_t TProyeccion::xEscalada(std::int64_t dLon) const {
    return std::llround(dLon * EscalaX());
}

int TProyeccion::Factor() const {
    if (FFactor > 0)
        return FFactor;
    // Room for the widest point marks (10 units) inside the canvas's 65535.
    constexpr std::int64_t limite = 65535 - 24;
    const std::int64_t dx = xEscalada(std::int64_t(FMaxLon) - FMinLon);
    const std::int64_t dy = std::int64_t(FMaxLat) - FMinLat;
    int f = 1;
    while (dx / f + (dx / f) / 2 > limite || dy / f > limite)
        ++f;
    FFactor = f;
    return f;
}

QPoint TProyeccion::Posicion(int latI, int lonI) const {
    const int f = Factor();
    const std::int64_t ancho = xEscalada(std::int64_t(FMaxLon) - FMinLon) / f;
    const std::int64_t x = xEscalada(std::int64_t(lonI) - FMinLon) / f + ancho / 2;
    const std::int64_t y = (std::int64_t(FMaxLat) - latI) / f;
    return QPoint(int(x), int(y));
}

int AnchoLineaAutomatico(int anchoGrafico) {
    const int v = RedondeoPar(anchoGrafico / 100.0 * 1.2);
    return v <= 2 ? 2 : v;
}

int XGrafico(int i, double s) {
    return RedondeoPar(i * s) + 10;
}

int YAltura(double alturaMaxima, double elevacion) {
    return int(std::trunc(alturaMaxima + 10 - elevacion));
}

int YVelocidad(double velocidadMaxima, double velocidad) {
    return 10 * int(std::trunc(velocidadMaxima - velocidad));
}
