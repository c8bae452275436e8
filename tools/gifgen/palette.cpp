#include "palette.h"

#include <algorithm>
#include <limits>

namespace tarnis::gifgen {

void Palette::add(Rgb colour) {
    const Rgb8 c = toRgb8(colour);
    if (std::find(m_colours.begin(), m_colours.end(), c) == m_colours.end()) {
        m_colours.push_back(c);
    }
}

void Palette::addRamp(Rgb from, Rgb to, int steps) {
    for (int i = 0; i < steps; ++i) {
        add(mix(from, to, steps > 1 ? double(i) / (steps - 1) : 0.0));
    }
}

bool Palette::complete() {
    if (m_colours.size() > kSize) {
        return false;
    }
    // Greys, coarse steps first so that a few free entries still spread over the whole range.
    // There are 256 greys, so this always ends with a full palette.
    for (int stride = 128; stride >= 1 && m_colours.size() < kSize; stride /= 2) {
        for (int level = 0; level < 256 && m_colours.size() < kSize; level += stride) {
            add({double(level), double(level), double(level)});
        }
    }
    m_cache.clear();
    return true;
}

std::uint8_t Palette::nearest(Rgb colour) const {
    const Rgb8 c = toRgb8(colour);
    const std::uint32_t key = (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
    if (const auto found = m_cache.find(key); found != m_cache.end()) {
        return found->second;
    }
    // Weighted RGB distance: the eye is most sensitive to green, least to blue.
    long best = std::numeric_limits<long>::max();
    std::uint8_t bestIndex = 0;
    for (std::size_t i = 0; i < m_colours.size(); ++i) {
        const long dr = long(m_colours[i].r) - c.r;
        const long dg = long(m_colours[i].g) - c.g;
        const long db = long(m_colours[i].b) - c.b;
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<std::uint8_t>(i);
        }
    }
    m_cache.emplace(key, bestIndex);
    return bestIndex;
}

std::vector<std::uint8_t> quantise(const Canvas& canvas, const Palette& palette) {
    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(canvas.width()) * canvas.height());
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            indices.push_back(palette.nearest(canvas.colourAt(x, y)));
        }
    }
    return indices;
}

} // namespace tarnis::gifgen
