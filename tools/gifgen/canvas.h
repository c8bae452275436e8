#pragma once

#include "colour.h"
#include "geometry.h"
#include "shapes.h"

#include <functional>
#include <vector>

namespace tarnis::gifgen {

// A colour chosen per pixel, given the pixel centre in drawing coordinates (for gradients).
using Paint = std::function<Rgb(Vec2)>;

// An RGBA raster that shapes are painted on with anti-aliased edges: each pixel's coverage is
// measured on a grid of sub-samples. Drawing coordinates pass through a transform first, so a
// whole picture can be stretched or moved; by default a unit is a pixel and pixel (x, y)
// spans [x, x + 1) x [y, y + 1).
class Canvas {
public:
    Canvas(int width, int height, Rgb background, double backgroundAlpha = 1.0);

    int width() const { return m_width; }
    int height() const { return m_height; }

    void setTransform(const Affine& drawingToPixels);
    const Affine& transform() const { return m_transform; }

    void fill(const Shape& shape, Rgb colour, double opacity = 1.0);
    void fill(const Shape& shape, const Paint& paint, double opacity = 1.0);

    // The straight (not premultiplied) colour and the alpha of a pixel.
    Rgb colourAt(int x, int y) const;
    double alphaAt(int x, int y) const;

private:
    struct Pixel {
        double r, g, b, a; // premultiplied by a
    };

    int m_width;
    int m_height;
    Affine m_transform;
    std::vector<Pixel> m_pixels;
};

} // namespace tarnis::gifgen
