#pragma once

#include "geometry.h"

#include <functional>
#include <vector>

namespace tarnis::gifgen {

// A region of the plane: a bounding box and a point test. The canvas samples the test several
// times per pixel, which is what gives every shape its anti-aliased edge.
struct Shape {
    Box bounds;
    std::function<bool(Vec2)> inside;
};

Shape circle(Vec2 centre, double radius);
Shape ellipse(Vec2 centre, double radiusX, double radiusY, double angle = 0);
// Filled by the non-zero winding rule, so points may go round either way.
Shape polygon(std::vector<Vec2> points);
// A thick line segment with round ends whose radius may change from one end to the other.
Shape capsule(Vec2 from, Vec2 to, double radiusFrom, double radiusTo);
Shape capsule(Vec2 from, Vec2 to, double radius);
// A thick polyline with round joins.
Shape stroke(const std::vector<Vec2>& points, double radius);
Shape roundedRect(Box box, double radius);

Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape transformed(Shape shape, const Affine& transform);

// `count` points on an ellipse from angle `from` to `to` (radians).
std::vector<Vec2> arcPoints(Vec2 centre, double radiusX, double radiusY, double from, double to,
                            int count);

} // namespace tarnis::gifgen
