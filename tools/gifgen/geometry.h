#pragma once

namespace tarnis::gifgen {

inline constexpr double kPi = 3.14159265358979323846;

double degrees(double deg);

struct Vec2 {
    double x = 0;
    double y = 0;
};

Vec2 operator+(Vec2 a, Vec2 b);
Vec2 operator-(Vec2 a, Vec2 b);
Vec2 operator*(Vec2 a, double s);
double dot(Vec2 a, Vec2 b);
double length(Vec2 a);
Vec2 lerp(Vec2 a, Vec2 b, double t);
// The point at `len` from `origin` in direction `angle` (radians, 0 = right, y grows downwards).
Vec2 polar(Vec2 origin, double len, double angle);

// An axis-aligned rectangle; empty when min > max.
struct Box {
    double minX = 1;
    double minY = 1;
    double maxX = 0;
    double maxY = 0;

    bool empty() const { return minX > maxX || minY > maxY; }
};

Box boxAround(Vec2 centre, double radius);
Box unite(Box a, Box b);
Box intersect(Box a, Box b);
Box grow(Box b, double margin);

// x' = a*x + b*y + c, y' = d*x + e*y + f.
struct Affine {
    double a = 1, b = 0, c = 0;
    double d = 0, e = 1, f = 0;

    static Affine translation(Vec2 offset);
    static Affine rotation(double angle, Vec2 pivot);
    static Affine scaling(double sx, double sy, Vec2 pivot);

    Vec2 apply(Vec2 p) const;
    Box mapBox(Box box) const;
    Affine inverse() const;
};

// `outer` applied after `inner`.
Affine operator*(const Affine& outer, const Affine& inner);

} // namespace tarnis::gifgen
