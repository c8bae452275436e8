#pragma once

#include "canvas.h"
#include "colour.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tarnis::gifgen {

// A fixed palette of 256 colours built from ramps between the colours a picture is drawn with,
// so that anti-aliased edges (a colour blended into its neighbour) find a close entry.
// Entry 0 is the first colour added.
class Palette {
public:
    static constexpr std::size_t kSize = 256;

    void add(Rgb colour);
    // `steps` colours from `from` to `to`, both ends included.
    void addRamp(Rgb from, Rgb to, int steps);
    // Fills the free entries with a fine grey ramp. Fails (returns false) when more than 256
    // colours were added.
    bool complete();

    const std::vector<Rgb8>& colours() const { return m_colours; }
    std::uint8_t nearest(Rgb colour) const;

private:
    std::vector<Rgb8> m_colours;
    mutable std::unordered_map<std::uint32_t, std::uint8_t> m_cache;
};

// The canvas as palette indices, row by row (alpha is ignored: frames are opaque).
std::vector<std::uint8_t> quantise(const Canvas& canvas, const Palette& palette);

} // namespace tarnis::gifgen
