#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace tarnis::gifgen {

double degrees(double deg) {
    return deg * kPi / 180.0;
}

Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
Vec2 operator*(Vec2 a, double s) {
    return {a.x * s, a.y * s};
}
double dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
double length(Vec2 a) {
    return std::sqrt(dot(a, a));
}
Vec2 lerp(Vec2 a, Vec2 b, double t) {
    return a + (b - a) * t;
}

Vec2 polar(Vec2 origin, double len, double angle) {
    return {origin.x + len * std::cos(angle), origin.y + len * std::sin(angle)};
}

Box boxAround(Vec2 centre, double radius) {
    return {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
}

Box unite(Box a, Box b) {
    if (a.empty()) {
        return b;
    }
    if (b.empty()) {
        return a;
    }
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
            std::max(a.maxY, b.maxY)};
}

Box intersect(Box a, Box b) {
    return {std::max(a.minX, b.minX), std::max(a.minY, b.minY), std::min(a.maxX, b.maxX),
            std::min(a.maxY, b.maxY)};
}

Box grow(Box b, double margin) {
    return {b.minX - margin, b.minY - margin, b.maxX + margin, b.maxY + margin};
}

Affine Affine::translation(Vec2 offset) {
    return {1, 0, offset.x, 0, 1, offset.y};
}

Affine Affine::rotation(double angle, Vec2 pivot) {
    const double cs = std::cos(angle);
    const double sn = std::sin(angle);
    return {cs, -sn, pivot.x - cs * pivot.x + sn * pivot.y,
            sn, cs,  pivot.y - sn * pivot.x - cs * pivot.y};
}

Affine Affine::scaling(double sx, double sy, Vec2 pivot) {
    return {sx, 0, pivot.x - sx * pivot.x, 0, sy, pivot.y - sy * pivot.y};
}

Vec2 Affine::apply(Vec2 p) const {
    return {a * p.x + b * p.y + c, d * p.x + e * p.y + f};
}

Box Affine::mapBox(Box box) const {
    if (box.empty()) {
        return box;
    }
    Box out;
    for (const Vec2 corner : {Vec2{box.minX, box.minY}, Vec2{box.maxX, box.minY},
                              Vec2{box.minX, box.maxY}, Vec2{box.maxX, box.maxY}}) {
        const Vec2 p = apply(corner);
        out = unite(out, Box{p.x, p.y, p.x, p.y});
    }
    return out;
}

Affine Affine::inverse() const {
    const double det = a * e - b * d;
    const double ia = e / det;
    const double ib = -b / det;
    const double id = -d / det;
    const double ie = a / det;
    return {ia, ib, -(ia * c + ib * f), id, ie, -(id * c + ie * f)};
}

Affine operator*(const Affine& o, const Affine& i) {
    return {o.a * i.a + o.b * i.d, o.a * i.b + o.b * i.e, o.a * i.c + o.b * i.f + o.c,
            o.d * i.a + o.e * i.d, o.d * i.b + o.e * i.e, o.d * i.c + o.e * i.f + o.f};
}

} // namespace tarnis::gifgen
