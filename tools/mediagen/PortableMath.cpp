#include "PortableMath.h"

#include <cmath>
#include <limits>

// fabs, floor, round, fmod, frexp, ldexp, copysign, sqrt and the isnan family are exact (one correct
// result, whatever the variant), so they may be used here; everything else is spelled out in + - * /.
namespace portable {
namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

// pi/2 in three parts of 33, 33 and 53 bits: n * part is exact for |n| below 2^20, so an angle
// loses nothing to the subtraction of whole quarter turns.
const double halfPi1 = 0x1.921fb544p+0;
const double halfPi2 = 0x1.0b4611a6p-34;
const double halfPi3 = 0x1.3198a2e037073p-69;
const double twoOverPi = 0x1.45f306dc9c883p-1;
// pi/2, pi and pi/6 as a double and the rest.
const double halfPi = 0x1.921fb54442d18p+0;
const double halfPiRest = 0x1.1a62633145c07p-54;
const double piHigh = 0x1.921fb54442d18p+1;
const double piRest = 0x1.1a62633145c07p-53;
const double sixthPi = 0x1.0c152382d7366p-1;
const double sixthPiRest = -0x1.ee6913347c2a6p-55;
const double sqrt3 = 0x1.bb67ae8584caap+0;
const double tanTwelfthPi = 0x1.126145e9ecd56p-2;  // 2 - sqrt(3)
// ln 2 in a part of 29 bits (exact times any exponent) and the rest.
const double ln2High = 0x1.62e42ffp-1;
const double ln2Rest = -0x1.718432a1b0e26p-35;
const double inverseLn2 = 0x1.71547652b82fep+0;
const double sqrtHalf = 0x1.6a09e667f3bcdp-1;

// Taylor series on |r| <= pi/4 (plus a rounding's worth): the first term left out is below
// 1e-19 of the result.
double sinNear(double r) {
    const double r2 = r * r;
    const double p = -1.0 / 6 + r2 * (1.0 / 120 + r2 * (-1.0 / 5040 + r2 * (1.0 / 362880 + r2 * (-1.0 / 39916800 +
                     r2 * (1.0 / 6227020800 + r2 * (-1.0 / 1307674368000 + r2 * (1.0 / 355687428096000)))))));
    return r + r * r2 * p;
}

double cosNear(double r) {
    const double r2 = r * r;
    const double p = 1.0 / 24 + r2 * (-1.0 / 720 + r2 * (1.0 / 40320 + r2 * (-1.0 / 3628800 + r2 * (1.0 / 479001600 +
                     r2 * (-1.0 / 87178291200 + r2 * (1.0 / 20922789888000 + r2 * (-1.0 / 6402373705728000)))))));
    // 1 - r2/2 rounds to w; the part of r2/2 lost in that rounding is added back with the tail.
    const double half = 0.5 * r2, w = 1 - half;
    return w + (((1 - w) - half) + r2 * r2 * p);
}

// r = x - n * pi/2 with |r| <= pi/4 about; returns n mod 4 in 0..3. Beyond 2^30 radians whole turns
// of the rounded 2 pi come off first: no longer the true angle, but a bounded and repeatable one.
int quarterTurns(double x, double& r) {
    if (std::fabs(x) > 0x1p30) x = std::fmod(x, 2 * piHigh);
    const double n = std::round(x * twoOverPi);
    r = x - n * halfPi1;
    r -= n * halfPi2;
    r -= n * halfPi3;
    const int q = static_cast<int>(std::fmod(n, 4.0));
    return q < 0 ? q + 4 : q;
}

// atan on [0, 1].
double atanUnit(double a) {
    bool shifted = false;
    if (a > tanTwelfthPi) {
        // atan(a) = pi/6 + atan(t) with |t| <= 2 - sqrt(3).
        a = (a * sqrt3 - 1) / (a + sqrt3);
        shifted = true;
    }
    const double a2 = a * a;
    double p = -1.0 / 31;
    for (int k = 14; k >= 1; --k) p = (k % 2 ? -1.0 : 1.0) / (2 * k + 1) + a2 * p;
    const double series = a + a * a2 * p;
    return shifted ? sixthPi + (sixthPiRest + series) : series;
}

// a * b = product + rest exactly (Dekker's product: halves of 26 bits multiply without rounding).
void exactProduct(double a, double b, double& product, double& rest) {
    const double splitter = 134217729.0;  // 2^27 + 1
    const double ca = splitter * a, aHigh = ca - (ca - a), aLow = a - aHigh;
    const double cb = splitter * b, bHigh = cb - (cb - b), bLow = b - bHigh;
    product = a * b;
    rest = ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

// log(x) = high + low to some 100 bits, for finite x > 0, so that pow keeps its accuracy when
// y * log(x) is large.
void logParts(double x, double& high, double& low) {
    int exponent;
    double m = std::frexp(x, &exponent);
    if (m < sqrtHalf) {
        m *= 2;
        --exponent;
    }
    // log(m) = log(1 + f) = 2s + 2s^3/3 + 2s^5/5 + ... with s = f / (2 + f); f is exact, and s is
    // carried as s + sRest, since the 2s term holds nearly all of the result.
    const double f = m - 1, d = 2 + f, dRest = f - (d - 2);
    const double s = f / d;
    double sd, sdRest;
    exactProduct(s, d, sd, sdRest);
    const double sRest = (((f - sd) - sdRest) - s * dRest) / d;
    const double s2 = s * s;
    double r = 2.0 / 25;
    for (int k = 11; k >= 1; --k) r = 2.0 / (2 * k + 1) + s2 * r;
    const double e = exponent;
    // e ln2High and 2s are exact; their sum's rounding goes into the low part.
    const double a = e * ln2High, b = 2 * s;
    high = a + b;
    const double roundingError = std::fabs(a) >= std::fabs(b) ? b - (high - a) : a - (high - b);
    low = roundingError + (e * ln2Rest + (2 * sRest + s * s2 * r));
    const double sum = high + low;
    low -= sum - high;
    high = sum;
}

// e^(x + tail) for |x| within the doubles' range and a tail below x's last place.
double expParts(double x, double tail) {
    if (x > 709.8) return infinity;
    if (x < -745.2) return 0;
    // x = k ln2 + r with |r| <= ln2/2; e^r by its Taylor series to r^14.
    const double k = std::round(x * inverseLn2);
    const double r = ((x - k * ln2High) - k * ln2Rest) + tail;
    // 1 + r (1 + r/2 (1 + r/3 (...))).
    double sum = 1;
    for (int n = 14; n >= 1; --n) sum = 1 + r * sum / n;
    return std::ldexp(sum, static_cast<int>(k));
}

}  // namespace

double sin(double radians) {
    if (!std::isfinite(radians)) return nan;
    double r;
    switch (quarterTurns(radians, r)) {
        case 0: return sinNear(r);
        case 1: return cosNear(r);
        case 2: return -sinNear(r);
        default: return -cosNear(r);
    }
}

double cos(double radians) {
    if (!std::isfinite(radians)) return nan;
    double r;
    switch (quarterTurns(radians, r)) {
        case 0: return cosNear(r);
        case 1: return -sinNear(r);
        case 2: return -cosNear(r);
        default: return sinNear(r);
    }
}

double tan(double radians) {
    if (!std::isfinite(radians)) return nan;
    double r;
    const int q = quarterTurns(radians, r);
    return q % 2 == 0 ? sinNear(r) / cosNear(r) : -cosNear(r) / sinNear(r);
}

double atan(double x) {
    if (std::isnan(x)) return x;
    const double a = std::fabs(x);
    const double angle = a > 1 ? halfPi + (halfPiRest - atanUnit(1 / a)) : atanUnit(a);
    return std::copysign(angle, x);
}

double atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    if (y == 0) return std::signbit(x) ? std::copysign(piHigh, y) : y;
    if (x == 0) return std::copysign(halfPi, y);
    if (std::isinf(x)) {
        const double angle = std::isinf(y) ? (x > 0 ? halfPi / 2 : 3 * halfPi / 2) : (x > 0 ? 0.0 : piHigh);
        return std::copysign(angle, y);
    }
    if (std::isinf(y)) return std::copysign(halfPi, y);
    const double z = atan(std::fabs(y / x));
    return std::copysign(x > 0 ? z : piHigh + (piRest - z), y);
}

double asin(double x) {
    if (!(std::fabs(x) <= 1)) return nan;
    return atan2(x, std::sqrt((1 - x) * (1 + x)));
}

double acos(double x) {
    if (!(std::fabs(x) <= 1)) return nan;
    return atan2(std::sqrt((1 - x) * (1 + x)), x);
}

double exp(double x) { return std::isnan(x) ? x : expParts(x, 0); }

double log(double x) {
    if (std::isnan(x)) return x;
    if (x < 0) return nan;
    if (x == 0) return -infinity;
    if (std::isinf(x)) return x;
    double high, low;
    logParts(x, high, low);
    return high + low;
}

double pow(double x, double y) {
    if (y == 0 || x == 1) return 1;
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const bool integral = std::isfinite(y) && std::floor(y) == y;
    const bool odd = integral && std::fmod(y, 2.0) != 0;
    if (std::isinf(y)) {
        const double a = std::fabs(x);
        if (a == 1) return 1;
        return (a > 1) == (y > 0) ? infinity : 0;
    }
    if (x == 0 || std::isinf(x)) {
        // 0^y and inf^y are 0 or inf; an odd integral power keeps the sign of x.
        const double magnitude = (x == 0) == (y < 0) ? infinity : 0;
        return odd ? std::copysign(magnitude, x) : magnitude;
    }
    if (x < 0 && !integral) return nan;
    const double a = std::fabs(x);
    double logHigh, logLow;
    logParts(a, logHigh, logLow);
    // y log(a) to some 100 bits, unless the result is 0 or infinite anyway (or y too large to split).
    double product = y * logHigh, productRest = 0;
    if (std::fabs(product) < 746 && std::fabs(y) < 0x1p996) exactProduct(y, logHigh, product, productRest);
    const double magnitude = expParts(product, productRest + y * logLow);
    return x < 0 && odd ? -magnitude : magnitude;
}

double hypot(double x, double y) { return std::sqrt(x * x + y * y); }

}  // namespace portable
