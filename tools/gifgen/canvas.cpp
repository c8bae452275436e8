#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace tarnis::gifgen {

namespace {
// 6 x 6 sub-samples: 37 levels of coverage, more than the palette can tell apart on an edge.
constexpr int kSamplesPerAxis = 6;
} // namespace

Canvas::Canvas(int width, int height, Rgb background, double backgroundAlpha)
    : m_width(width), m_height(height),
      m_pixels(static_cast<std::size_t>(width) * height,
               Pixel{background.r * backgroundAlpha, background.g * backgroundAlpha,
                     background.b * backgroundAlpha, backgroundAlpha}) {}

void Canvas::setTransform(const Affine& drawingToPixels) {
    m_transform = drawingToPixels;
}

void Canvas::fill(const Shape& shape, Rgb colour, double opacity) {
    fill(
        shape, [colour](Vec2) { return colour; }, opacity);
}

void Canvas::fill(const Shape& shape, const Paint& paint, double opacity) {
    const Box area = m_transform.mapBox(shape.bounds);
    if (area.empty()) {
        return;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(area.minX)));
    const int y0 = std::max(0, static_cast<int>(std::floor(area.minY)));
    const int x1 = std::min(m_width - 1, static_cast<int>(std::floor(area.maxX)));
    const int y1 = std::min(m_height - 1, static_cast<int>(std::floor(area.maxY)));
    const Affine toDrawing = m_transform.inverse();

    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    const Vec2 sample{x + (sx + 0.5) / kSamplesPerAxis,
                                      y + (sy + 0.5) / kSamplesPerAxis};
                    hits += shape.inside(toDrawing.apply(sample)) ? 1 : 0;
                }
            }
            if (hits == 0) {
                continue;
            }
            const double cover = opacity * hits / (kSamplesPerAxis * kSamplesPerAxis);
            const Rgb c = paint(toDrawing.apply(Vec2{x + 0.5, y + 0.5}));
            Pixel& px = m_pixels[static_cast<std::size_t>(y) * m_width + x];
            px.r = c.r * cover + px.r * (1 - cover);
            px.g = c.g * cover + px.g * (1 - cover);
            px.b = c.b * cover + px.b * (1 - cover);
            px.a = cover + px.a * (1 - cover);
        }
    }
}

Rgb Canvas::colourAt(int x, int y) const {
    const Pixel& px = m_pixels[static_cast<std::size_t>(y) * m_width + x];
    if (px.a <= 0) {
        return {};
    }
    return {px.r / px.a, px.g / px.a, px.b / px.a};
}

double Canvas::alphaAt(int x, int y) const {
    return m_pixels[static_cast<std::size_t>(y) * m_width + x].a;
}

} // namespace tarnis::gifgen
