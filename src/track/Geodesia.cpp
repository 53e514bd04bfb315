#include "Geodesia.h"

#include <cmath>

TPuntoGeo::TPuntoGeo(double latDeg, double lonDeg)
    : latRad(latDeg * (M_PI / 180.0)), lonRad(lonDeg * (M_PI / 180.0)), sinLat(std::sin(latRad)),
      cosLat(std::cos(latRad)) {}

double GeoDistance(const TPuntoGeo& a, const TPuntoGeo& b) {
    if (a.lonRad == b.lonRad && a.latRad == b.latRad)
        return 0.0;
    const double s = a.sinLat * b.sinLat;
    const double t = a.cosLat * b.cosLat * std::cos(b.lonRad - a.lonRad);
    const double c = s + t;
    // Rounding can push c a step past ±1 for (near-)identical or antipodal points;
    // acos would give NaN there, so clamp to the distances those points really have.
    if (c >= 1.0)
        return 0.0;
    if (c <= -1.0)
        return M_PI * RadioTierraM;
    return RadioTierraM * std::acos(c);
}

double GeoDistance(double latA, double lonA, double latB, double lonB) {
    return GeoDistance(TPuntoGeo(latA, lonA), TPuntoGeo(latB, lonB));
}
