#include "gif_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tarnis::test {

namespace {

std::string reason(int code) {
    const char* text = GifErrorString(code);
    return text != nullptr ? text : "giflib error " + std::to_string(code);
}

} // namespace

void GifCloser::operator()(GifFileType* gif) const {
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
}

GifHandle readGif(const std::string& path, std::string& error) {
    int code = 0;
    GifHandle gif(DGifOpenFileName(path.c_str(), &code));
    if (!gif) {
        error = path + ": " + reason(code);
        return nullptr;
    }
    if (DGifSlurp(gif.get()) != GIF_OK) {
        error = path + ": " + reason(gif->Error);
        return nullptr;
    }
    return gif;
}

std::string fileStart(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string start(count, '\0');
    in.read(start.data(), static_cast<std::streamsize>(count));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return start;
}

namespace {

std::optional<int> loopCountIn(const ExtensionBlock* blocks, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        const ExtensionBlock& app = blocks[i];
        const ExtensionBlock& data = blocks[i + 1];
        if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
            std::memcmp(app.Bytes, "NETSCAPE2.0", 11) == 0 &&
            data.Function == CONTINUE_EXT_FUNC_CODE && data.ByteCount == 3 && data.Bytes[0] == 1) {
            return data.Bytes[1] | (data.Bytes[2] << 8);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> loopCount(const GifFileType& gif) {
    for (int i = 0; i < gif.ImageCount; ++i) {
        const SavedImage& image = gif.SavedImages[i];
        if (auto count = loopCountIn(image.ExtensionBlocks, image.ExtensionBlockCount)) {
            return count;
        }
    }
    return loopCountIn(gif.ExtensionBlocks, gif.ExtensionBlockCount);
}

std::vector<Screen> composeFrames(const GifFileType& gif) {
    std::vector<Screen> frames;
    Screen screen(static_cast<std::size_t>(gif.SWidth) * gif.SHeight,
                  static_cast<std::uint8_t>(gif.SBackGroundColor));
    for (int i = 0; i < gif.ImageCount; ++i) {
        const SavedImage& image = gif.SavedImages[i];
        const GifImageDesc& desc = image.ImageDesc;
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int sx = desc.Left + x;
                const int sy = desc.Top + y;
                if (sx < gif.SWidth && sy < gif.SHeight) {
                    screen[static_cast<std::size_t>(sy) * gif.SWidth + sx] =
                        image.RasterBits[static_cast<std::size_t>(y) * desc.Width + x];
                }
            }
        }
        frames.push_back(screen);
    }
    return frames;
}

std::size_t countDifferences(const Screen& a, const Screen& b) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        count += a[i] != b[i] ? 1 : 0;
    }
    return count + std::max(a.size(), b.size()) - std::min(a.size(), b.size());
}

} // namespace tarnis::test
