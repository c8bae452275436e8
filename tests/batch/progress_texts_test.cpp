#include "batch/progress_texts.h"

#include "batch_fixture.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace tarnis {
namespace {

struct RoundCase {
    double x;
    double expected;
    bool negativeZero;
};

TEST(RoundNumber, HalvesAwayFromZeroWithNudge) {
    const RoundCase cases[] = {
        {2.5, 3, false},
        {-2.5, -3, false},
        {0.4999999999995, 1, false},
        {28.499999999999996, 29, false},
        {12.5, 13, false},
        {0.49, 0, false},
        {-0.4, 0, true},
        {1e12 + 0.25, 1e12, false},
    };
    for (const RoundCase& c : cases) {
        const double rounded = roundNumber(c.x);
        EXPECT_EQ(rounded, c.expected) << c.x;
        EXPECT_EQ(std::signbit(rounded), c.negativeZero || c.expected < 0) << c.x;
    }
    EXPECT_TRUE(std::signbit(roundNumber(-0.0)));
    EXPECT_TRUE(std::isnan(roundNumber(std::nan(""))));
}

TEST(RealToText, PlainIntegersAndUnsignedZero) {
    EXPECT_EQ(realToText(0.0), "0");
    EXPECT_EQ(realToText(-0.0), "0");
    EXPECT_EQ(realToText(29), "29");
    EXPECT_EQ(realToText(-3), "-3");
    EXPECT_EQ(realToText(1024), "1024");
    // Beyond 2 GiB the kilobyte values stay plain integers.
    EXPECT_EQ(realToText(4194304), "4194304");
    EXPECT_EQ(realToText(9999999999999.0), "9999999999999");
}

class ProgressTexts : public BatchFixture {
protected:
    void SetUp() override {
        BatchFixture::SetUp();
        view.downloadEnabled = false;
        folder = std::filesystem::temp_directory_path() /
                 ("tarnis-progress-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        BatchFixture::TearDown();
    }

    std::string fileOfSize(std::int64_t size) {
        const std::filesystem::path path = folder / "file.bin";
        std::ofstream(path, std::ios::binary | std::ios::trunc).close();
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
        return path.string();
    }

    std::filesystem::path folder;
};

TEST_F(ProgressTexts, PercentageAndBar) {
    struct Case {
        double total;
        std::int64_t done;
        const char* status;
        std::int32_t bar;
    };
    const Case cases[] = {
        {0, 0, "正在下载...已完成：0%", 0},
        {0, 12345, "正在下载...已完成：0%", 0},
        {200, 57, "正在下载...已完成：29%", 29},
        {8, 1, "正在下载...已完成：13%", 13},
        {3, 1, "正在下载...已完成：33%", 33},
        {3, 2, "正在下载...已完成：67%", 67},
        {1000, 1000, "正在下载...已完成：100%", 100},
        // A 6 GiB file half done: 64-bit counts keep the percentage right.
        {6442450944.0, 3221225472, "正在下载...已完成：50%", 50},
    };
    for (const Case& c : cases) {
        state().currentFileSize = c.total;
        component->done = c.done;
        refreshProgressTexts(view);
        EXPECT_EQ(view.status, c.status) << c.total << " " << c.done;
        EXPECT_EQ(view.position, c.bar) << c.total << " " << c.done;
    }
}

TEST_F(ProgressTexts, StaleSmallTotalGivesAClampedBarNotUndefinedBehaviour) {
    state().currentFileSize = 10;
    component->done = 5'000'000'000;
    refreshProgressTexts(view);
    EXPECT_EQ(view.position, std::numeric_limits<std::int32_t>::max());
}

TEST_F(ProgressTexts, ReceivedAndLocalSize) {
    struct Case {
        std::int64_t done;
        std::int64_t fileSize; // -1: no file
        const char* text;
    };
    const Case cases[] = {
        {0, -1, "已经下载：0KB(文件总大小：0KB)"},
        {511, 1536, "已经下载：0KB(文件总大小：2KB)"},
        {512, 1048576, "已经下载：1KB(文件总大小：1024KB)"},
        {1536, 2047, "已经下载：2KB(文件总大小：2KB)"},
        {3221225472, 6442450944, "已经下载：3145728KB(文件总大小：6291456KB)"},
    };
    for (const Case& c : cases) {
        component->done = c.done;
        component->localPath = c.fileSize < 0 ? std::string() : fileOfSize(c.fileSize);
        refreshProgressTexts(view);
        EXPECT_EQ(view.downloaded, c.text) << c.done;
    }
    component->localPath = (folder / "missing.bin").string();
    refreshProgressTexts(view);
    EXPECT_EQ(view.downloaded, "已经下载：3145728KB(文件总大小：0KB)");
}

TEST_F(ProgressTexts, SaveFolderShownAsStored) {
    state().saveFolder = "/home/用户/下载/"_gbk;
    refreshProgressTexts(view);
    EXPECT_EQ(view.saveFolder, "下载保存到：/home/用户/下载/");
    state().saveFolder.clear();
    refreshProgressTexts(view);
    EXPECT_EQ(view.saveFolder, "下载保存到：");
}

TEST_F(ProgressTexts, SpeedText) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "下载速度：0KB/1秒"},
        {511, "下载速度：0KB/1秒"},
        {512, "下载速度：1KB/1秒"},
        {2560, "下载速度：3KB/1秒"},
    };
    for (const auto& [bytes, text] : cases) {
        component->bytesSinceSpeedCall = bytes;
        onSpeedTick(view);
        EXPECT_EQ(view.speed, text) << bytes;
    }
}

TEST_F(ProgressTexts, SpeedCountIsLeftAloneWhileIdle) {
    view.downloadEnabled = true;
    component->bytesSinceSpeedCall = 4096;
    onSpeedTick(view);
    EXPECT_EQ(component->speedCalls, 0);
    EXPECT_TRUE(view.calls.empty());
}

} // namespace
} // namespace tarnis
