#pragma once

// Earth radius of the sphere every distance of the program is measured on.
constexpr double RadioTierraM = 6378137.0;

// Metres between two points given in degrees: spherical law of cosines.
double GeoDistance(double latA, double lonA, double latB, double lonB);
