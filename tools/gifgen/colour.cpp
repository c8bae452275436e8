#include "colour.h"

#include <algorithm>
#include <cmath>

namespace tarnis::gifgen {

Rgb rgb(std::uint32_t hex) {
    return {double((hex >> 16) & 0xff), double((hex >> 8) & 0xff), double(hex & 0xff)};
}

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

static std::uint8_t toChannel(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

Rgb8 toRgb8(Rgb colour) {
    return {toChannel(colour.r), toChannel(colour.g), toChannel(colour.b)};
}

} // namespace tarnis::gifgen
