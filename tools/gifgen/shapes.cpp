#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarnis::gifgen {

Shape circle(Vec2 centre, double radius) {
    return {boxAround(centre, radius), [centre, r2 = radius * radius](Vec2 p) {
                const Vec2 d = p - centre;
                return dot(d, d) <= r2;
            }};
}

Shape ellipse(Vec2 centre, double radiusX, double radiusY, double angle) {
    const Affine toUnitCircle = Affine::scaling(1 / radiusX, 1 / radiusY, {}) *
                                Affine::rotation(-angle, {}) * Affine::translation(centre * -1);
    return {boxAround(centre, std::max(radiusX, radiusY)), [toUnitCircle](Vec2 p) {
                const Vec2 q = toUnitCircle.apply(p);
                return dot(q, q) <= 1;
            }};
}

Shape polygon(std::vector<Vec2> points) {
    Box bounds;
    for (const Vec2 p : points) {
        bounds = unite(bounds, Box{p.x, p.y, p.x, p.y});
    }
    return {bounds, [points = std::move(points)](Vec2 p) {
                int winding = 0;
                const std::size_t n = points.size();
                for (std::size_t i = 0; i < n; ++i) {
                    const Vec2 a = points[i];
                    const Vec2 b = points[(i + 1) % n];
                    const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
                    if (a.y <= p.y && b.y > p.y && side > 0) {
                        ++winding;
                    } else if (a.y > p.y && b.y <= p.y && side < 0) {
                        --winding;
                    }
                }
                return winding != 0;
            }};
}

Shape capsule(Vec2 from, Vec2 to, double radiusFrom, double radiusTo) {
    const Box bounds = unite(boxAround(from, radiusFrom), boxAround(to, radiusTo));
    return {bounds, [from, to, radiusFrom, radiusTo](Vec2 p) {
                const Vec2 axis = to - from;
                const double len2 = dot(axis, axis);
                const double t = len2 > 0 ? std::clamp(dot(p - from, axis) / len2, 0.0, 1.0) : 0.0;
                const double radius = radiusFrom + (radiusTo - radiusFrom) * t;
                const Vec2 d = p - (from + axis * t);
                return dot(d, d) <= radius * radius;
            }};
}

Shape capsule(Vec2 from, Vec2 to, double radius) {
    return capsule(from, to, radius, radius);
}

Shape stroke(const std::vector<Vec2>& points, double radius) {
    std::vector<Shape> parts;
    Box bounds;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        parts.push_back(capsule(points[i], points[i + 1], radius));
        bounds = unite(bounds, parts.back().bounds);
    }
    return {bounds, [parts = std::move(parts)](Vec2 p) {
                return std::any_of(parts.begin(), parts.end(), [p](const Shape& part) {
                    const Box& b = part.bounds;
                    return p.x >= b.minX && p.x <= b.maxX && p.y >= b.minY && p.y <= b.maxY &&
                           part.inside(p);
                });
            }};
}

Shape roundedRect(Box box, double radius) {
    return {box, [box, radius](Vec2 p) {
                const double dx = std::max({box.minX + radius - p.x, 0.0, p.x - box.maxX + radius});
                const double dy = std::max({box.minY + radius - p.y, 0.0, p.y - box.maxY + radius});
                return p.x >= box.minX && p.x <= box.maxX && p.y >= box.minY && p.y <= box.maxY &&
                       dx * dx + dy * dy <= radius * radius;
            }};
}

Shape unite(Shape a, Shape b) {
    const Box bounds = unite(a.bounds, b.bounds);
    return {bounds,
            [a = std::move(a), b = std::move(b)](Vec2 p) { return a.inside(p) || b.inside(p); }};
}

Shape intersect(Shape a, Shape b) {
    const Box bounds = intersect(a.bounds, b.bounds);
    return {bounds,
            [a = std::move(a), b = std::move(b)](Vec2 p) { return a.inside(p) && b.inside(p); }};
}

Shape subtract(Shape a, Shape b) {
    const Box bounds = a.bounds;
    return {bounds,
            [a = std::move(a), b = std::move(b)](Vec2 p) { return a.inside(p) && !b.inside(p); }};
}

Shape transformed(Shape shape, const Affine& transform) {
    const Box bounds = transform.mapBox(shape.bounds);
    return {bounds, [shape = std::move(shape), back = transform.inverse()](Vec2 p) {
                return shape.inside(back.apply(p));
            }};
}

std::vector<Vec2> arcPoints(Vec2 centre, double radiusX, double radiusY, double from, double to,
                            int count) {
    std::vector<Vec2> points;
    for (int i = 0; i < count; ++i) {
        const double angle = from + (to - from) * i / (count - 1);
        points.push_back(
            {centre.x + radiusX * std::cos(angle), centre.y + radiusY * std::sin(angle)});
    }
    return points;
}

} // namespace tarnis::gifgen
