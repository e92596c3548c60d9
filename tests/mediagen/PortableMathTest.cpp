// The generator's own transcendental functions agree with the C library to a few units in the last
// place over the arguments the media use, and give the same special values: a wrong quarter turn,
// quadrant, sign or scale shows here rather than as a quietly misshapen circuit or sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "PortableMath.h"

namespace {

// Distance in representable doubles; values of opposite sign are far apart.
int64_t unitsApart(double a, double b) {
    if (a == b) return 0;
    if (std::signbit(a) != std::signbit(b)) return std::numeric_limits<int64_t>::max();
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
    const double huge = std::numeric_limits<double>::max(), inf = std::numeric_limits<double>::infinity();
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
        for (double x : {0.0, -0.0, 1.0, -1.0, huge, -huge, inf, -inf, std::nan("")}) {
            // Past 2^30 radians the angle is only bounded and repeatable, so there only NaN must match.
            const double ours = c.ours(x), library = c.library(x);
            EXPECT_EQ(std::isnan(ours), std::isnan(library)) << c.name << "(" << x << ") = " << ours;
            if (std::fabs(x) != huge && !std::isnan(library)) {
                EXPECT_LE(unitsApart(ours, library), 4) << c.name << "(" << x << ") = " << ours;
            }
        }
    }
}

TEST(PortableMath, TwoArgumentsAgreeInEveryQuadrantAndAtTheEdges) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0, -0.0, 0.3, -0.3, 1.0, -1.0, 2.0, -2.0, 3.0, -3.0, 7.25, -7.25, 1e-310, 1e200, inf, -inf};
    for (double y : values) {
        for (double x : values) {
            EXPECT_LE(unitsApart(portable::atan2(y, x), ::atan2(y, x)), 4) << "atan2(" << y << ", " << x << ")";
            const double power = ::pow(x, y);
            if (std::isnan(power)) {
                EXPECT_TRUE(std::isnan(portable::pow(x, y))) << "pow(" << x << ", " << y << ")";
            } else {
                EXPECT_LE(unitsApart(portable::pow(x, y), power), 4) << "pow(" << x << ", " << y << ")";
            }
        }
    }
    for (int i = 0; i < 4000; ++i) {
        // y log(x) from 0 to 340: the exponent's rounding would cost hundreds of units.
        const double x = std::exp(-20 + i * 0.01), y = -17 + i * 0.0085;
        ASSERT_LE(unitsApart(portable::pow(x, y), ::pow(x, y)), 4) << "pow(" << x << ", " << y << ")";
    }
}
