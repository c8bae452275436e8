// Reads the animations the build drew back from disk, as the windows will load them.

#include "gif_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tarnis::test {
namespace {

struct AnimationCase {
    const char* name;
    const char* path;
    int width;
    int height;
    std::vector<int> delays; // centiseconds
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const AnimationCase& animation, std::ostream* out) {
    *out << animation.name;
}

std::vector<int> repeated(int count, int delay) {
    return std::vector<int>(count, delay);
}

std::vector<int> transferDelays() {
    std::vector<int> delays = {20};
    const std::vector<int> flight = repeated(11, 12);
    delays.insert(delays.end(), flight.begin(), flight.end());
    delays.push_back(50);
    return delays;
}

const AnimationCase kCases[] = {
    {"transfer", TARNIS_TRANSFER_ANIMATION, 270, 40, transferDelays()},
    {"about", TARNIS_ABOUT_ANIMATION, 101, 80, repeated(36, 9)},
};

GifColorType colourAt(const GifFileType& gif, std::uint8_t index) {
    return gif.SColorMap->Colors[index];
}

bool isWhite(GifColorType c) {
    return c.Red == 255 && c.Green == 255 && c.Blue == 255;
}

class GeneratedAnimation : public testing::TestWithParam<AnimationCase> {
protected:
    void SetUp() override {
        std::string error;
        m_gif = readGif(GetParam().path, error);
        ASSERT_TRUE(m_gif) << error;
        ASSERT_NE(m_gif->SColorMap, nullptr) << "no global palette";
        m_frames = composeFrames(*m_gif);
    }

    const GifFileType& gif() const { return *m_gif; }
    GifFileType* mutableGif() { return m_gif.get(); } // giflib's readers take no const
    const std::vector<Screen>& frames() const { return m_frames; }

private:
    GifHandle m_gif;
    std::vector<Screen> m_frames;
};

TEST_P(GeneratedAnimation, IsAGif89aOfTheRightSizeWithA256ColourGlobalPalette) {
    EXPECT_EQ(fileStart(GetParam().path, 6), "GIF89a");
    EXPECT_EQ(gif().SWidth, GetParam().width);
    EXPECT_EQ(gif().SHeight, GetParam().height);
    EXPECT_EQ(gif().SColorMap->ColorCount, 256);
    for (int i = 0; i < gif().ImageCount; ++i) {
        const GifImageDesc& desc = gif().SavedImages[i].ImageDesc;
        EXPECT_EQ(desc.ColorMap, nullptr) << "frame " << i << " brings its own palette";
        EXPECT_LE(desc.Left + desc.Width, gif().SWidth) << "frame " << i;
        EXPECT_LE(desc.Top + desc.Height, gif().SHeight) << "frame " << i;
    }
}

TEST_P(GeneratedAnimation, HasTheFramesAndDelaysOfOneCycleAndLoopsForever) {
    const std::vector<int>& delays = GetParam().delays;
    ASSERT_EQ(gif().ImageCount, static_cast<int>(delays.size()));
    for (int i = 0; i < gif().ImageCount; ++i) {
        GraphicsControlBlock control{};
        ASSERT_EQ(DGifSavedExtensionToGCB(mutableGif(), i, &control), GIF_OK)
            << "frame " << i << " has no Graphic Control Extension";
        EXPECT_EQ(control.DelayTime, delays[i]) << "frame " << i;
        EXPECT_EQ(control.TransparentColor, NO_TRANSPARENT_COLOR) << "frame " << i;
        // Frames are painted over each other; no reader may clear or restore between them.
        EXPECT_TRUE(control.DisposalMode == DISPOSAL_UNSPECIFIED ||
                    control.DisposalMode == DISPOSE_DO_NOT)
            << "frame " << i;
    }
    EXPECT_EQ(loopCount(gif()), 0);
}

TEST_P(GeneratedAnimation, StandsOnWhiteWithNothingCutOffAtTheEdges) {
    EXPECT_TRUE(isWhite(colourAt(gif(), static_cast<std::uint8_t>(gif().SBackGroundColor))));
    const int w = gif().SWidth;
    const int h = gif().SHeight;
    for (std::size_t f = 0; f < frames().size(); ++f) {
        int nonWhiteEdgePixels = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                if (edge && !isWhite(colourAt(gif(), frames()[f][y * w + x]))) {
                    ++nonWhiteEdgePixels;
                }
            }
        }
        EXPECT_EQ(nonWhiteEdgePixels, 0) << "frame " << f;
    }
}

TEST_P(GeneratedAnimation, EveryFrameDiffersFromTheOneBefore) {
    const std::size_t count = frames().size();
    for (std::size_t f = 0; f < count; ++f) {
        // The last frame is followed by the first when the animation loops.
        const Screen& before = frames()[(f + count - 1) % count];
        EXPECT_GT(countDifferences(before, frames()[f]), 20u) << "frame " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, GeneratedAnimation, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Counts the pixels of a frame inside columns [fromX, toX) whose colour passes `test`.
int countPixels(const GifFileType& gif, const Screen& frame, int fromX, int toX,
                const std::function<bool(GifColorType)>& test) {
    int count = 0;
    for (int y = 0; y < gif.SHeight; ++y) {
        for (int x = fromX; x < toX; ++x) {
            count += test(colourAt(gif, frame[y * gif.SWidth + x])) ? 1 : 0;
        }
    }
    return count;
}

bool isBlue(GifColorType c) {
    return c.Blue > c.Red + 60 && c.Blue > c.Green;
}
bool isYellow(GifColorType c) {
    return c.Red > 200 && c.Green > 130 && c.Blue < 120;
}
bool isDark(GifColorType c) {
    return c.Red + c.Green + c.Blue < 200;
}

class GeneratedTransferAnimation : public GeneratedAnimation {};

// The globe stays on the left and the folder on the right. The strip between them is empty in
// the still first frame and in the last; in between, sheets cross every part of it.
TEST_P(GeneratedTransferAnimation, ShowsSheetsFlyingFromTheGlobeToTheFolder) {
    const int w = gif().SWidth;
    const int stripFrom = 42;   // right of the globe
    const int stripTo = w - 48; // left of the folder
    const auto notWhite = [](GifColorType c) { return !isWhite(c); };
    for (std::size_t f = 0; f < frames().size(); ++f) {
        EXPECT_GT(countPixels(gif(), frames()[f], 0, 45, isBlue), 400) << "frame " << f;
        EXPECT_GT(countPixels(gif(), frames()[f], w - 55, w, isYellow), 400) << "frame " << f;
    }
    EXPECT_EQ(countPixels(gif(), frames().front(), stripFrom, stripTo, notWhite), 0);
    EXPECT_EQ(countPixels(gif(), frames().back(), stripFrom, stripTo, notWhite), 0);
    for (int slice = stripFrom; slice + 30 <= stripTo; slice += 30) {
        int seen = 0;
        for (const Screen& frame : frames()) {
            seen += countPixels(gif(), frame, slice, slice + 30, notWhite);
        }
        EXPECT_GT(seen, 40) << "no sheet crosses columns " << slice << " to " << slice + 30;
    }
}

INSTANTIATE_TEST_SUITE_P(Picture, GeneratedTransferAnimation, testing::Values(kCases[0]),
                         [](const auto& info) { return std::string(info.param.name); });

class GeneratedAboutAnimation : public GeneratedAnimation {};

// The dance is a loop: going from the last frame back to the first is no bigger a step than
// any step inside the cycle, and the outlined skeleton is there in every frame.
TEST_P(GeneratedAboutAnimation, DancesInASeamlessLoop) {
    const std::size_t count = frames().size();
    std::size_t largestStep = 0;
    for (std::size_t f = 1; f < count; ++f) {
        largestStep = std::max(largestStep, countDifferences(frames()[f - 1], frames()[f]));
    }
    EXPECT_LE(countDifferences(frames()[count - 1], frames()[0]), largestStep);
    for (std::size_t f = 0; f < count; ++f) {
        const auto notWhite = [](GifColorType c) { return !isWhite(c); };
        EXPECT_GT(countPixels(gif(), frames()[f], 0, gif().SWidth, notWhite), 800) << "frame " << f;
        EXPECT_GT(countPixels(gif(), frames()[f], 0, gif().SWidth, isDark), 150) << "frame " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(Picture, GeneratedAboutAnimation, testing::Values(kCases[1]),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tarnis::test
