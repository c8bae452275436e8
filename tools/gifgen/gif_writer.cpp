#include "gif_writer.h"

#include "output_file.h"

#include <gif_lib.h>

#include <array>

namespace tarnis::gifgen {

namespace {

bool fail(std::string& error, const char* what, int code) {
    const char* reason = GifErrorString(code);
    error = std::string(what) + ": " + (reason != nullptr ? reason : "unknown giflib error");
    return false;
}

bool putLoopBlock(GifFileType* gif, int loopCount) {
    static constexpr char kApplication[] = "NETSCAPE2.0";
    const std::array<GifByteType, 3> loop = {1, static_cast<GifByteType>(loopCount & 0xff),
                                             static_cast<GifByteType>((loopCount >> 8) & 0xff)};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, kApplication) == GIF_OK &&
           EGifPutExtensionBlock(gif, static_cast<int>(loop.size()), loop.data()) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool putFrame(GifFileType* gif, const GifAnimation& animation, const GifFrame& frame) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = frame.delayCentiseconds;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    std::array<GifByteType, 4> controlBytes{};
    EGifGCBToExtension(&control, controlBytes.data());
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(controlBytes.size()),
                         controlBytes.data()) != GIF_OK) {
        return false;
    }
    if (EGifPutImageDesc(gif, 0, 0, animation.width, animation.height, false, nullptr) != GIF_OK) {
        return false;
    }
    std::vector<GifPixelType> row(static_cast<std::size_t>(animation.width));
    for (int y = 0; y < animation.height; ++y) {
        const auto start = frame.pixels.begin() + static_cast<std::ptrdiff_t>(y) * animation.width;
        std::copy(start, start + animation.width, row.begin());
        if (EGifPutLine(gif, row.data(), animation.width) != GIF_OK) {
            return false;
        }
    }
    return true;
}

bool putAnimation(GifFileType* gif, const GifAnimation& animation) {
    std::vector<GifColorType> colours;
    for (const Rgb8 c : animation.palette) {
        colours.push_back({c.r, c.g, c.b});
    }
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    if (map == nullptr) {
        return false;
    }
    // Colour resolution 8: the palette uses full 8-bit channels.
    const bool described = EGifPutScreenDesc(gif, animation.width, animation.height, 8,
                                             animation.backgroundIndex, map) == GIF_OK;
    GifFreeMapObject(map);
    if (!described || !putLoopBlock(gif, animation.loopCount)) {
        return false;
    }
    for (const GifFrame& frame : animation.frames) {
        if (!putFrame(gif, animation, frame)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool writeGif(const GifAnimation& animation, const std::string& path, std::string& error) {
    const std::size_t pixelCount = static_cast<std::size_t>(animation.width) * animation.height;
    if (animation.palette.size() != 256 || animation.frames.empty()) {
        error = path + ": needs a 256-colour palette and at least one frame";
        return false;
    }
    for (const GifFrame& frame : animation.frames) {
        if (frame.pixels.size() != pixelCount) {
            error = path + ": a frame does not match the picture size";
            return false;
        }
    }

    const std::string partial = partialPath(path);
    int code = 0;
    GifFileType* gif = EGifOpenFileName(partial.c_str(), false, &code);
    if (gif == nullptr) {
        return fail(error, partial.c_str(), code);
    }
    EGifSetGifVersion(gif, true);
    const bool written = putAnimation(gif, animation);
    const int writeCode = gif->Error;
    if (EGifCloseFile(gif, &code) != GIF_OK) {
        discardPartial(partial);
        return fail(error, partial.c_str(), code);
    }
    if (!written) {
        discardPartial(partial);
        return fail(error, partial.c_str(), writeCode);
    }
    return commitPartial(partial, path, error);
}

} // namespace tarnis::gifgen
