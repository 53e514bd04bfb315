#include "Geodesia.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
struct CasoDistancia {
    const char* guarda;
    double latA, lonA, latB, lonB;
    double metros;
    double tolerancia; // 0: exactly
};

const CasoDistancia casos[] = {
    {"one degree of longitude on the equator", 0, 0, 0, 1, 111319.49, 0.005},
    {"a thousandth of a degree north at 41N", 41, 2, 41.001, 2, 111.32, 0.005},
    {"a thousandth of a degree east at 41N", 41, 2, 41, 2.001, 84.01, 0.005},
    {"a point with itself is exactly 0", 41.3851, 2.1734, 41.3851, 2.1734, 0, 0},
    {"west of Greenwich and south of the equator", -33.9, -18.4, -33.9, -18.4, 0, 0},
    {"antipodal points on the equator are half the circumference", 0, 0, 0, 180, M_PI* RadioTierraM,
     0},
    {"poles are half the circumference apart", 90, 0, -90, 0, M_PI* RadioTierraM, 0},
    // Pairs whose cosine sum rounds a step past 1: arccos would give NaN.
    {"c rounded above 1 (near-identical, longitude) gives 0", 38.25844, -60.818021, 38.25844,
     -60.818020999000005, 0, 0},
    {"c rounded above 1 (near-identical, both) gives 0", 4.661944, 63.920247, 4.66194401,
     63.92024699, 0, 0},
    // Antipodal pairs off the equator, whose cosine sum can round a step below -1.
    {"antipodal pair south-west is half the circumference", -5.8332, -61.1084, 5.8332, 118.8916,
     M_PI* RadioTierraM, 0},
    {"antipodal pair north-west is half the circumference", 57.4677, -2.0744, -57.4677, 177.9256,
     M_PI* RadioTierraM, 0},
};
} // namespace

TEST(GeoDistance, KnownDistances) {
    for (const CasoDistancia& c : casos) {
        SCOPED_TRACE(c.guarda);
        const double d = GeoDistance(c.latA, c.lonA, c.latB, c.lonB);
        ASSERT_TRUE(std::isfinite(d));
        if (c.tolerancia == 0)
            EXPECT_EQ(d, c.metros);
        else
            EXPECT_NEAR(d, c.metros, c.tolerancia);
        EXPECT_EQ(d, GeoDistance(c.latB, c.lonB, c.latA, c.lonA)) << "not symmetric";
    }
}
