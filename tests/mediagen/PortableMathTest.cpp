// The generator's own transcendental functions agree with the C library to a few units in the last
// place over the arguments the media use, and give the same special values: a wrong quarter turn,
// quadrant, sign or scale shows here rather than as a quietly misshapen circuit or sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "PortableMath.h"

namespace {

// Distance in representable doubles: NaN is NaN's twin, and values of opposite sign are far apart.
int64_t unitsApart(double a, double b) {
    if (a == b || (std::isnan(a) && std::isnan(b))) return 0;
    if (std::isnan(a) || std::isnan(b) || std::signbit(a) != std::signbit(b)) return INT64_MAX;
    int64_t i, j;
    std::memcpy(&i, &a, sizeof a);
    std::memcpy(&j, &b, sizeof b);
    return i > j ? i - j : j - i;
}

struct OneArgument {
    const char* name;
    double (*ours)(double);
    double (*library)(double);
    double low, high;
    bool inLogarithm = false;  // arguments spread evenly in their logarithm from e^low to e^high
};

}  // namespace

TEST(PortableMath, AgreesWithTheLibraryOverItsRange) {
    const OneArgument cases[] = {
        {"sin", portable::sin, ::sin, -200, 200},      {"cos", portable::cos, ::cos, -200, 200},
        {"tan", portable::tan, ::tan, -20, 20},        {"atan", portable::atan, ::atan, -50, 50},
        {"asin", portable::asin, ::asin, -1, 1},       {"acos", portable::acos, ::acos, -1, 1},
        {"exp", portable::exp, ::exp, -740, 709},      {"log", portable::log, ::log, -700, 700, true},
    };
    for (const OneArgument& c : cases) {
        const int steps = 20011;
        for (int i = 0; i <= steps; ++i) {
            const double t = c.low + (c.high - c.low) * i / steps, x = c.inLogarithm ? std::exp(t) : t;
            ASSERT_LE(unitsApart(c.ours(x), c.library(x)), 4) << c.name << "(" << x << ")";
        }
        for (double x : {0.0, -0.0, 1.0, -1.0, double(INFINITY), -double(INFINITY), double(NAN)}) {
            EXPECT_LE(unitsApart(c.ours(x), c.library(x)), 4) << c.name << "(" << x << ")";
        }
    }
}

TEST(PortableMath, TwoArgumentsAgreeInEveryQuadrantAndAtTheEdges) {
    const double values[] = {0.0, -0.0, 0.3, -0.3, 1.0, -1.0, 3.0, -3.0, 1e-310, 1e200, INFINITY, -INFINITY};
    for (double y : values) {
        for (double x : values) {
            EXPECT_LE(unitsApart(portable::atan2(y, x), ::atan2(y, x)), 4) << "atan2(" << y << ", " << x << ")";
            EXPECT_LE(unitsApart(portable::pow(x, y), ::pow(x, y)), 4) << "pow(" << x << ", " << y << ")";
        }
    }
    for (int i = 0; i < 4000; ++i) {
        // y log(x) from 0 to 340: the exponent's rounding would cost hundreds of units.
        const double x = std::exp(-20 + i * 0.01), y = -17 + i * 0.0085;
        ASSERT_LE(unitsApart(portable::pow(x, y), ::pow(x, y)), 4) << "pow(" << x << ", " << y << ")";
    }
}
