#pragma once

#include "colour.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnis::gifgen {

struct GifFrame {
    std::vector<std::uint8_t> pixels; // palette indices, row by row, full size
    int delayCentiseconds = 0;
};

struct GifAnimation {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> palette; // 256 entries, written as the global colour table
    std::uint8_t backgroundIndex = 0;
    int loopCount = 0; // 0 repeats forever
    std::vector<GifFrame> frames;
};

// Writes a GIF89a with a NETSCAPE2.0 loop block and one Graphic Control Extension per frame.
// Every frame is a full, opaque image, so no reader's handling of disposal can spoil it.
// The file is written beside `path` and renamed over it, so a failed run leaves no half file.
bool writeGif(const GifAnimation& animation, const std::string& path, std::string& error);

} // namespace tarnis::gifgen
