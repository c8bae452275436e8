#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarnis::test {

struct GifCloser {
    void operator()(GifFileType* gif) const;
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// The whole file read with DGifSlurp; null (and a reason in `error`) when giflib refuses it.
GifHandle readGif(const std::string& path, std::string& error);

// The first bytes of a file, for its signature.
std::string fileStart(const std::string& path, std::size_t count);

// The loop count of the NETSCAPE2.0 block, or nothing when the file has none.
std::optional<int> loopCount(const GifFileType& gif);

// Every frame as the screen shows it: each image painted over what the previous ones left.
using Screen = std::vector<std::uint8_t>; // palette indices, row by row
std::vector<Screen> composeFrames(const GifFileType& gif);

std::size_t countDifferences(const Screen& a, const Screen& b);

} // namespace tarnis::test
