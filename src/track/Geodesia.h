#pragma once

// Earth radius of the sphere every distance of the program is measured on.
constexpr double RadioTierraM = 6378137.0;

// Metres between two points given in degrees: spherical law of cosines.
double GeoDistance(double latA, double lonA, double latB, double lonB);

// A point with the sine and cosine of its latitude worked out once, for passes that
// measure every point against the one before it. Distances between such points are
// the same, to the last bit, as GeoDistance on their degrees.
struct TPuntoGeo {
    TPuntoGeo() = default;
    TPuntoGeo(double latDeg, double lonDeg);
    double latRad = 0, lonRad = 0, sinLat = 0, cosLat = 1;
};
double GeoDistance(const TPuntoGeo& a, const TPuntoGeo& b);
