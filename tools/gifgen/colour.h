#pragma once

#include <cstdint>

namespace tarnis::gifgen {

// A colour with channels from 0 to 255, kept fractional while drawing.
struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

struct Rgb8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb8&) const = default;
};

Rgb rgb(std::uint32_t hex);
Rgb mix(Rgb a, Rgb b, double t);
Rgb8 toRgb8(Rgb colour);

} // namespace tarnis::gifgen
