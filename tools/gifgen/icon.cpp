#include "icon.h"

#include "transfer_colours.h"
#include "transfer_scene.h"

namespace tarnis::gifgen {

using namespace transfer_colours;

namespace {
constexpr int kSize = 64;
const Rgb kArrow = rgb(0x2fa84f);
const Rgb kArrowEdge = rgb(0x1b6b30);
} // namespace

Canvas drawIcon() {
    Canvas canvas(kSize, kSize, kWhite, 0.0);
    drawGlobe(canvas, {25, 24}, 21);
    const std::vector<Vec2> arrow = {{44, 28}, {52, 28}, {52, 42}, {59, 42},
                                     {48, 56}, {37, 42}, {44, 42}};
    std::vector<Vec2> ring = arrow;
    ring.push_back(arrow.front());
    canvas.fill(stroke(ring, 2.6), kWhite);
    canvas.fill(polygon(arrow), kArrow);
    canvas.fill(stroke(ring, 0.8), kArrowEdge);
    return canvas;
}

} // namespace tarnis::gifgen
