#include "transfer_scene.h"

#include "transfer_colours.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarnis::gifgen {

using namespace transfer_colours;

namespace {

// ---- the globe ----

// The globe is seen from above 20 degrees north, looking at 8 degrees west: Europe, Africa,
// Greenland and the east of the Americas are in view.
constexpr double kViewLongitude = -8;
constexpr double kViewLatitude = 22;

struct LonLat {
    double lon;
    double lat;
};

// Outlines of the land, in degrees, coarse enough for a globe a few dozen pixels across.
const std::vector<std::vector<Vec2>>& continents() {
    static const std::vector<std::vector<Vec2>> outlines = {
        // Africa with Arabia
        {{-17, 21}, {-10, 30}, {-6, 36}, {10, 37}, {20, 32}, {32, 31},  {35, 36},  {45, 38},
         {57, 26},  {52, 16},  {43, 12}, {51, 11}, {40, -3}, {40, -15}, {33, -27}, {20, -35},
         {15, -28}, {12, -15}, {9, -1},  {8, 4},   {-8, 4},  {-17, 14}},
        // Europe
        {{-10, 36}, {-9, 43}, {-2, 44}, {-4, 48}, {3, 51},  {8, 54},  {10, 57},
         {5, 62},   {15, 69}, {28, 71}, {45, 68}, {60, 69}, {60, 45}, {40, 41},
         {28, 41},  {23, 37}, {15, 40}, {12, 44}, {5, 43},  {-2, 37}},
        // Great Britain
        {{-5, 50}, {1, 51}, {-2, 56}, {-5, 58}, {-6, 54}},
        // South America
        {{-80, 9},
         {-75, 11},
         {-62, 11},
         {-50, 0},
         {-35, -6},
         {-39, -15},
         {-48, -26},
         {-58, -38},
         {-68, -55},
         {-74, -50},
         {-72, -30},
         {-70, -18},
         {-81, -5}},
        // North America
        {{-168, 66},
         {-140, 70},
         {-95, 72},
         {-80, 63},
         {-62, 58},
         {-55, 50},
         {-70, 43},
         {-76, 35},
         {-81, 25},
         {-97, 27},
         {-97, 18},
         {-87, 15},
         {-80, 9},
         {-105, 22},
         {-118, 33},
         {-125, 48},
         {-140, 60},
         {-165, 60}},
        // Greenland
        {{-55, 60}, {-43, 60}, {-20, 70}, {-18, 80}, {-60, 82}, {-72, 78}},
    };
    return outlines;
}

bool insideOutline(const std::vector<Vec2>& outline, LonLat at) {
    bool inside = false;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const Vec2 a = outline[i];
        const Vec2 b = outline[j];
        if ((a.y > at.lat) != (b.y > at.lat) &&
            at.lon < (b.x - a.x) * (at.lat - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

bool onLand(LonLat at) {
    const auto& all = continents();
    return std::any_of(all.begin(), all.end(),
                       [at](const auto& outline) { return insideOutline(outline, at); });
}

// The unit surface normal under a point of the picture (x right, y up, z towards the viewer).
struct Normal {
    double x, y, z;
};

class GlobeView {
public:
    GlobeView(Vec2 centre, double radius) : m_centre(centre), m_radius(radius) {}

    bool normalAt(Vec2 p, Normal& n) const {
        n.x = (p.x - m_centre.x) / m_radius;
        n.y = (m_centre.y - p.y) / m_radius;
        const double rho2 = n.x * n.x + n.y * n.y;
        if (rho2 > 1) {
            return false;
        }
        n.z = std::sqrt(1 - rho2);
        return true;
    }

    // Inverse orthographic projection.
    static LonLat lonLatAt(const Normal& n) {
        const double lat0 = degrees(kViewLatitude);
        const double lat =
            std::asin(std::clamp(n.z * std::sin(lat0) + n.y * std::cos(lat0), -1.0, 1.0));
        const double dLon = std::atan2(n.x, n.z * std::cos(lat0) - n.y * std::sin(lat0));
        double lon = kViewLongitude + dLon * 180 / kPi;
        if (lon > 180) {
            lon -= 360;
        } else if (lon < -180) {
            lon += 360;
        }
        return {lon, lat * 180 / kPi};
    }

    // Light from the upper left and in front.
    static double lightAt(const Normal& n) {
        constexpr double lx = -0.5, ly = 0.55, lz = 0.67;
        return std::clamp(n.x * lx + n.y * ly + n.z * lz, 0.0, 1.0);
    }

    Shape surface(std::function<bool(LonLat, const Normal&)> test) const {
        return {boxAround(m_centre, m_radius), [view = *this, test = std::move(test)](Vec2 p) {
                    Normal n{};
                    return view.normalAt(p, n) && test(lonLatAt(n), n);
                }};
    }

    Paint shaded(Rgb dark, Rgb light, double gamma) const {
        return [view = *this, dark, light, gamma](Vec2 p) {
            Normal n{};
            if (!view.normalAt(p, n)) {
                return dark;
            }
            return mix(dark, light, std::pow(lightAt(n), gamma));
        };
    }

private:
    Vec2 m_centre;
    double m_radius;
};

// Angular distance (radians) below which a point lies on a grid line of the globe.
bool onGrid(LonLat at, double halfWidth) {
    const double latStep = 30;
    const double lonStep = 30;
    const double dLat = std::abs(at.lat - latStep * std::round(at.lat / latStep));
    if (std::abs(at.lat) < 75 && degrees(dLat) < halfWidth) {
        return true;
    }
    const double dLon = std::abs(at.lon - lonStep * std::round(at.lon / lonStep));
    return degrees(dLon) * std::cos(degrees(at.lat)) < halfWidth;
}

// ---- the folder and the sheets ----

Shape ringAround(Shape outer, Shape inner) {
    return subtract(std::move(outer), std::move(inner));
}

Paint verticalGradient(double top, double bottom, Rgb topColour, Rgb bottomColour) {
    return [=](Vec2 p) {
        return mix(topColour, bottomColour, std::clamp((p.y - top) / (bottom - top), 0.0, 1.0));
    };
}

std::vector<Vec2> closed(std::vector<Vec2> points) {
    points.push_back(points.front());
    return points;
}

std::vector<Vec2> frontFlapOutline(Box box, double dip) {
    const double top = box.minY + 11 + dip;
    return {{box.minX + 3.5, top},
            {box.maxX + 1.5, top},
            {box.maxX - 1, box.maxY},
            {box.minX, box.maxY}};
}

} // namespace

void drawGlobe(Canvas& canvas, Vec2 centre, double radius) {
    const GlobeView view(centre, radius);
    canvas.fill(ellipse({centre.x + 1, centre.y + radius + 1.2}, radius * 0.8, 1.3), kShadow, 0.8);
    canvas.fill(circle(centre, radius), view.shaded(kOceanDeep, kOceanLight, 1.3));
    canvas.fill(view.surface([](LonLat at, const Normal&) { return onLand(at); }),
                view.shaded(kLandDeep, kLandLight, 1.1));
    const double gridHalfWidth = 0.45 / radius;
    canvas.fill(view.surface([gridHalfWidth](LonLat at, const Normal&) {
        return onGrid(at, gridHalfWidth);
    }),
                kWhite, 0.28);
    // A soft highlight, then the rim that keeps the edge crisp against the white background.
    const Vec2 shine = centre + Vec2{-0.4 * radius, -0.45 * radius};
    canvas.fill(ellipse(shine, radius * 0.34, radius * 0.2, degrees(-35)), kWhite, 0.3);
    canvas.fill(ellipse(shine, radius * 0.18, radius * 0.1, degrees(-35)), kWhite, 0.45);
    canvas.fill(ringAround(circle(centre, radius), circle(centre, radius - 0.9)), kGlobeRim, 0.9);
}

void drawFolderBack(Canvas& canvas, Box box, double sheetScale) {
    const Box body{box.minX, box.minY + 4, box.maxX, box.maxY};
    const Box tab{box.minX + 1, box.minY, box.minX + 14, box.minY + 6};
    canvas.fill(unite(roundedRect(grow(body, 0.5), 2), roundedRect(grow(tab, 0.5), 2)),
                kFolderEdge);
    canvas.fill(unite(roundedRect(grow(body, -0.5), 1.5), roundedRect(grow(tab, -0.5), 1.5)),
                verticalGradient(box.minY, box.maxY, kFolderBackLight, kFolderBackDeep));
    // The papers already filed, standing up behind the front flap.
    const double midX = (box.minX + box.maxX) / 2;
    drawSheet(canvas, {midX - 3, box.minY + 15}, degrees(-8), sheetScale);
    drawSheet(canvas, {midX + 3, box.minY + 16}, degrees(5), sheetScale);
}

void drawFolderFront(Canvas& canvas, Box box, double flapDip) {
    const std::vector<Vec2> outline = frontFlapOutline(box, flapDip);
    const double top = outline.front().y;
    canvas.fill(polygon(outline),
                verticalGradient(top, box.maxY, kFolderFrontLight, kFolderFrontDeep));
    // A lighter line just under the top edge reads as the fold catching the light.
    canvas.fill(stroke({{outline[0].x + 0.8, top + 1.1}, {outline[1].x - 1.6, top + 1.1}}, 0.45),
                kWhite, 0.55);
    canvas.fill(stroke(closed(outline), 0.5), kFolderEdge);
}

void drawSheet(Canvas& canvas, Vec2 centre, double angle, double scale, double squeeze) {
    const double w = 11;
    const double h = 14;
    const double ear = 3.5;
    const Affine place = Affine::translation(centre) * Affine::rotation(angle, {}) *
                         Affine::scaling(scale * squeeze, scale, {}) *
                         Affine::translation({-w / 2, -h / 2});
    const std::vector<Vec2> outline = {{0, 0}, {w - ear, 0}, {w, ear}, {w, h}, {0, h}};
    canvas.fill(transformed(polygon(outline), place), kWhite);
    canvas.fill(transformed(polygon({{w - ear, 0}, {w, ear}, {w - ear, ear}}), place), kPaperShade);
    for (int line = 0; line < 4; ++line) {
        const double y = 4 + line * 2.6;
        const double right = line == 0 ? w - ear - 1.5 : (line == 3 ? w - 4 : w - 2);
        canvas.fill(transformed(stroke({{2, y}, {right, y}}, 0.5), place), kPaperText);
    }
    canvas.fill(transformed(stroke(closed(outline), 0.42), place), kPaperEdge);
    canvas.fill(transformed(stroke({{w - ear, 0}, {w - ear, ear}, {w, ear}}, 0.35), place),
                kPaperEdge);
}

} // namespace tarnis::gifgen
