#include "Geodesia.h"

#include <cmath>

double GeoDistance(double latA, double lonA, double latB, double lonB) {
    constexpr double rad = M_PI / 180.0;
    const double fA = latA * rad, lA = lonA * rad, fB = latB * rad, lB = lonB * rad;
    if (lA == lB && fA == fB)
        return 0.0;
    const double s = std::sin(fA) * std::sin(fB);
    const double t = std::cos(fA) * std::cos(fB) * std::cos(lB - lA);
    const double c = s + t;
    // Rounding can push c a step past ±1 for (near-)identical or antipodal points;
    // acos would give NaN there, so clamp to the distances those points really have.
    if (c >= 1.0)
        return 0.0;
    if (c <= -1.0)
        return M_PI * RadioTierraM;
    return RadioTierraM * std::acos(c);
}
