// Decodes the program icon the build wrote, chunk by chunk, as an image loader would.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tarnis::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t bigEndian(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t(bytes[at]) << 24) | (std::uint32_t(bytes[at + 1]) << 16) |
           (std::uint32_t(bytes[at + 2]) << 8) | bytes[at + 3];
}

struct Chunk {
    std::string type;
    Bytes data;
};

// The chunks after the signature; fails the test on a bad length or CRC.
std::vector<Chunk> readChunks(const Bytes& file) {
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= file.size()) {
        const std::uint32_t size = bigEndian(file, at);
        if (at + 12 + size > file.size()) {
            ADD_FAILURE() << "chunk at " << at << " runs past the end";
            break;
        }
        Chunk chunk;
        chunk.type.assign(file.begin() + at + 4, file.begin() + at + 8);
        chunk.data.assign(file.begin() + at + 8, file.begin() + at + 8 + size);
        const uLong crc = crc32(0, file.data() + at + 4, size + 4);
        EXPECT_EQ(crc, bigEndian(file, at + 8 + size)) << chunk.type << " has a bad CRC";
        chunks.push_back(std::move(chunk));
        at += 12 + size;
    }
    EXPECT_EQ(at, file.size()) << "bytes after the last chunk";
    return chunks;
}

TEST(GeneratedIcon, IsAValid64By64RgbaPngOnATransparentBackground) {
    std::ifstream in(TARNIS_ICON, std::ios::binary);
    ASSERT_TRUE(in) << TARNIS_ICON;
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(file.size(), 8u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}));

    const std::vector<Chunk> chunks = readChunks(file);
    ASSERT_GE(chunks.size(), 3u);
    ASSERT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    const Bytes& header = chunks.front().data;
    ASSERT_EQ(header.size(), 13u);
    const std::uint32_t width = bigEndian(header, 0);
    const std::uint32_t height = bigEndian(header, 4);
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 64u);
    EXPECT_EQ(header[8], 8) << "bit depth";
    EXPECT_EQ(header[9], 6) << "colour type RGBA";
    EXPECT_EQ(header[12], 0) << "interlacing";

    Bytes packed;
    for (const Chunk& chunk : chunks) {
        if (chunk.type == "IDAT") {
            packed.insert(packed.end(), chunk.data.begin(), chunk.data.end());
        }
    }
    const std::size_t stride = 1 + width * 4;
    Bytes raw(stride * height + 1); // one spare byte shows data beyond the image
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())),
              Z_OK);
    ASSERT_EQ(rawSize, stride * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        // Filter type 0 keeps the bytes as they are, so they can be read directly below.
        ASSERT_EQ(raw[y * stride], 0) << "row " << y;
    }
    const auto alphaAt = [&](std::uint32_t x, std::uint32_t y) {
        return raw[y * stride + 1 + x * 4 + 3];
    };
    EXPECT_EQ(alphaAt(0, 0), 0);
    EXPECT_EQ(alphaAt(63, 0), 0);
    EXPECT_EQ(alphaAt(0, 63), 0);
    EXPECT_EQ(alphaAt(25, 24), 255) << "the middle of the globe";
    EXPECT_EQ(alphaAt(48, 45), 255) << "the arrow";
}

} // namespace
} // namespace tarnis::test
