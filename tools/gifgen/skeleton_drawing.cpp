#include "skeleton_drawing.h"

#include "skeleton_colours.h"

#include <cmath>
#include <vector>

namespace tarnis::gifgen {

using namespace skeleton_colours;

namespace {

constexpr double kOutlineWidth = 0.9;

// Every part is drawn twice: grown by the outline width in the dark colour, then as itself in
// bone colour. A part is therefore given as a function of how much to grow it.
using GrowableShape = std::function<Shape(double grow)>;

void drawOutlined(Canvas& canvas, const GrowableShape& part, Rgb fill = kBone) {
    canvas.fill(part(kOutlineWidth), kOutline);
    canvas.fill(part(0), fill);
}

std::vector<Vec2> closed(std::vector<Vec2> points) {
    points.push_back(points.front());
    return points;
}

Shape grownPolygon(const std::vector<Vec2>& points, double grow) {
    if (grow <= 0) {
        return polygon(points);
    }
    return unite(polygon(points), stroke(closed(points), grow));
}

std::vector<Vec2> placed(const std::vector<Vec2>& points, const Affine& place) {
    std::vector<Vec2> out;
    for (const Vec2 p : points) {
        out.push_back(place.apply(p));
    }
    return out;
}

// A cartoon bone: a shaft with a pair of knobs at each end.
GrowableShape bone(Vec2 from, Vec2 to, double radius) {
    return [=](double grow) {
        const Vec2 axis = to - from;
        const double len = length(axis);
        const Vec2 across =
            len > 0 ? Vec2{-axis.y / len, axis.x / len} * (radius * 0.6) : Vec2{0, radius * 0.6};
        const double knob = radius * 0.95 + grow;
        Shape shape = capsule(from, to, radius + grow);
        for (const Vec2 end : {from, to}) {
            shape = unite(std::move(shape), circle(end + across, knob));
            shape = unite(std::move(shape), circle(end - across, knob));
        }
        return shape;
    };
}

GrowableShape ball(Vec2 centre, double radius) {
    return [=](double grow) { return circle(centre, radius + grow); };
}

void drawLimb(Canvas& canvas, const Limb& limb, double radius, double endLength) {
    drawOutlined(canvas, bone(limb.root, limb.joint, radius));
    drawOutlined(canvas, bone(limb.joint, limb.end, radius * 0.9));
    drawOutlined(canvas, ball(limb.joint, radius * 1.25));
    // Hand or foot: a small bone and a knob for the fingers or toes.
    const Vec2 tip = polar(limb.end, endLength, limb.endAngle);
    drawOutlined(canvas, [=](double grow) {
        return unite(capsule(limb.end, tip, radius * 0.8 + grow, radius * 1.1 + grow),
                     circle(limb.end, radius * 1.05 + grow));
    });
}

void drawSpine(Canvas& canvas, const SkeletonPose& pose) {
    // Vertebrae along a gentle curve from the pelvis through the chest to the neck.
    const int count = 9;
    for (int i = count - 1; i >= 0; --i) {
        const double t = double(i) / (count - 1);
        const Vec2 a = lerp(pose.pelvis, pose.chest, t);
        const Vec2 b = lerp(pose.chest, pose.neck, t);
        const Vec2 at = lerp(a, b, t);
        drawOutlined(canvas, [=](double grow) {
            return ellipse(at, 1.9 + grow, 1.25 + grow, pose.chestTilt * t);
        });
    }
}

void drawRibcage(Canvas& canvas, const SkeletonPose& pose) {
    const Affine place = Affine::translation(pose.chest) * Affine::rotation(pose.chestTilt, {});
    // Each rib leaves the spine, sweeps out and curls down; lower ribs are shorter.
    const double widths[] = {7.5, 8.5, 8.2, 7};
    for (int rib = 0; rib < 4; ++rib) {
        const double y = -6 + rib * 3.0;
        const double w = widths[rib];
        for (const double side : {-1.0, 1.0}) {
            std::vector<Vec2> curve;
            for (int i = 0; i <= 8; ++i) {
                const double t = i / 8.0;
                curve.push_back({side * w * std::sin(t * kPi * 0.62) / std::sin(kPi * 0.62),
                                 y + 1.2 * t + 3.2 * t * t});
            }
            const std::vector<Vec2> placedCurve = placed(curve, place);
            drawOutlined(canvas, [=](double grow) { return stroke(placedCurve, 0.85 + grow); });
        }
    }
    // The breastbone over the middle of the ribs.
    const Vec2 top = place.apply({0, -6.5});
    const Vec2 bottom = place.apply({0, 4});
    drawOutlined(canvas, [=](double grow) { return capsule(top, bottom, 1.2 + grow, 0.8 + grow); });
}

void drawPelvis(Canvas& canvas, const SkeletonPose& pose) {
    const Affine place = Affine::translation(pose.pelvis) * Affine::rotation(pose.pelvisTilt, {});
    // Two wings and the basin between them, with the two holes of the hip bones.
    const std::vector<Vec2> basin = placed({{-8, -3},
                                            {-3, -2},
                                            {0, -3},
                                            {3, -2},
                                            {8, -3},
                                            {7.5, 2},
                                            {4, 5},
                                            {0, 4},
                                            {-4, 5},
                                            {-7.5, 2}},
                                           place);
    drawOutlined(canvas, [=](double grow) { return grownPolygon(basin, grow); });
    for (const double side : {-1.0, 1.0}) {
        const Vec2 hole = place.apply({side * 3.6, 1.5});
        canvas.fill(ellipse(hole, 1.3, 1.0, pose.pelvisTilt), kOutline);
    }
}

void drawSkull(Canvas& canvas, const SkeletonPose& pose) {
    const Affine place = Affine::translation(pose.skull) * Affine::rotation(pose.headTilt, {});
    const Vec2 cranium = pose.skull;
    const std::vector<Vec2> cheeks =
        placed({{-6.2, 1}, {6.2, 1}, {5, 6.5}, {3.5, 8}, {-3.5, 8}, {-5, 6.5}}, place);
    const std::vector<Vec2> jaw =
        placed({{-4.2, 8.2}, {4.2, 8.2}, {3.6, 10.8}, {1.8, 12.2}, {-1.8, 12.2}, {-3.6, 10.8}},
               place * Affine::translation({0, pose.jawDrop}));
    drawOutlined(canvas, [=](double grow) { return grownPolygon(jaw, grow); });
    drawOutlined(canvas, [=](double grow) {
        return unite(ellipse(cranium, 7.4 + grow, 6.8 + grow, pose.headTilt),
                     grownPolygon(cheeks, grow));
    });
    // Shading on the right of the cranium gives it some roundness.
    canvas.fill(subtract(ellipse(cranium, 7.4, 6.8, pose.headTilt),
                         transformed(circle({-2.2, -2.2}, 8.6), place)),
                kBoneShade, 0.8);
    // Eye sockets, nose and teeth.
    for (const double side : {-1.0, 1.0}) {
        canvas.fill(transformed(ellipse({side * 2.9, 2.4}, 2.1, 2.4, side * degrees(-12)), place),
                    kOutline);
    }
    canvas.fill(transformed(polygon({{0, 4.6}, {1.1, 6.6}, {-1.1, 6.6}}), place), kOutline);
    for (int tooth = -2; tooth <= 2; ++tooth) {
        const Vec2 a = place.apply({tooth * 1.5, 7.3});
        const Vec2 b = place.apply({tooth * 1.5, 8.3});
        canvas.fill(capsule(a, b, 0.3), kOutline, 0.85);
        const Vec2 c = place.apply({tooth * 1.3, 8.3 + pose.jawDrop});
        const Vec2 d = place.apply({tooth * 1.3, 9.4 + pose.jawDrop});
        canvas.fill(capsule(c, d, 0.3), kOutline, 0.85);
    }
}

} // namespace

void drawSkeleton(Canvas& canvas, const SkeletonPose& pose) {
    drawLimb(canvas, pose.leftLeg, 1.5, 4);
    drawLimb(canvas, pose.rightLeg, 1.5, 4);
    drawPelvis(canvas, pose);
    drawSpine(canvas, pose);
    drawRibcage(canvas, pose);
    // Collar bones from the top of the spine to the shoulders.
    drawOutlined(canvas, bone(pose.neck, pose.leftArm.root, 0.9));
    drawOutlined(canvas, bone(pose.neck, pose.rightArm.root, 0.9));
    drawLimb(canvas, pose.leftArm, 1.2, 2.8);
    drawLimb(canvas, pose.rightArm, 1.2, 2.8);
    drawSkull(canvas, pose);
}

} // namespace tarnis::gifgen
