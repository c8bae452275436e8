#include "png_writer.h"

#include "output_file.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace tarnis::gifgen {

namespace {

using Bytes = std::vector<std::uint8_t>;

void putBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    const uLong crc = crc32(0, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    putBigEndian(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t toByte(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// Rows of RGBA, each led by filter type 0 (none).
Bytes scanlines(const Canvas& canvas) {
    Bytes raw;
    for (int y = 0; y < canvas.height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb8 c = toRgb8(canvas.colourAt(x, y));
            raw.insert(raw.end(), {c.r, c.g, c.b, toByte(canvas.alphaAt(x, y) * 255)});
        }
    }
    return raw;
}

} // namespace

bool writePng(const Canvas& canvas, const std::string& path, std::string& error) {
    const Bytes raw = scanlines(canvas);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        error = path + ": compression failed";
        return false;
    }
    packed.resize(packedSize);

    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(canvas.width()));
    putBigEndian(header, static_cast<std::uint32_t>(canvas.height()));
    // 8 bits per channel, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});

    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    const std::string partial = partialPath(path);
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
        if (!out.flush()) {
            error = partial + ": cannot write";
            out.close();
            discardPartial(partial);
            return false;
        }
    }
    return commitPartial(partial, path, error);
}

} // namespace tarnis::gifgen
