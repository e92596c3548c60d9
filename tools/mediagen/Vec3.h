#pragma once

#include <cmath>

#include "PortableMath.h"

// A point or direction in world units (double precision while the media are built; the files get fixed decimals).
struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;

    Vec3() = default;
    Vec3(double x, double y, double z) : x(x), y(y), z(z) {}

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    Vec3 operator/(double k) const { return {x / k, y / k, z / k}; }
    Vec3& operator+=(const Vec3& o) { return *this = *this + o; }
    Vec3& operator-=(const Vec3& o) { return *this = *this - o; }

    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double length() const { return std::sqrt(dot(*this)); }
    Vec3 normalized() const {
        const double l = length();
        return l > 0 ? *this / l : Vec3();
    }
    // Componentwise product, for scaling by per-axis factors.
    Vec3 scaled(const Vec3& k) const { return {x * k.x, y * k.y, z * k.z}; }
};

// A rotation (or any linear map) as three column vectors: the images of the x, y and z axes.
struct Basis {
    Vec3 x{1, 0, 0};
    Vec3 y{0, 1, 0};
    Vec3 z{0, 0, 1};

    Vec3 operator*(const Vec3& v) const { return x * v.x + y * v.y + z * v.z; }
    Basis operator*(const Basis& o) const { return {*this * o.x, *this * o.y, *this * o.z}; }

    static Basis identity() { return {}; }
    // Right-handed rotation by `radians` about a unit axis.
    static Basis rotation(const Vec3& axis, double radians) {
        const double c = portable::cos(radians), s = portable::sin(radians), t = 1 - c;
        const Vec3& a = axis;
        return {{t * a.x * a.x + c, t * a.x * a.y + s * a.z, t * a.x * a.z - s * a.y},
                {t * a.x * a.y - s * a.z, t * a.y * a.y + c, t * a.y * a.z + s * a.x},
                {t * a.x * a.z + s * a.y, t * a.y * a.z - s * a.x, t * a.z * a.z + c}};
    }
};

// Where a part goes: p' = basis * p + origin.
struct Placement {
    Basis basis;
    Vec3 origin;

    Vec3 point(const Vec3& p) const { return basis * p + origin; }
    // Directions of a rigid placement; normals stay normals.
    Vec3 direction(const Vec3& d) const { return (basis * d).normalized(); }
    Placement then(const Placement& outer) const { return {outer.basis * basis, outer.point(origin)}; }

    static Placement at(const Vec3& origin) { return {Basis::identity(), origin}; }
};
