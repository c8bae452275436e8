#include "app/app_state.h"
#include "batch/batch_runner.h"
#include "batch/progress_texts.h"
#include "recording_batch_view.h"
#include "temp_dir.h"
#include "test_http_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace tarnis {
namespace {

using namespace std::chrono_literals;
using test::TempDir;
using test::TestHttpServer;

// Runs the two timers the window would run, at the periods the runner sets, until the
// runner stops them (or a generous limit passes, which only a failing test reaches).
void runTimersUntilStopped(RecordingBatchView& view) {
    using Clock = std::chrono::steady_clock;
    const auto limit = Clock::now() + 60s;
    auto nextProgress = Clock::now() + std::chrono::milliseconds(view.progressPeriod);
    auto nextSpeed = Clock::now() + std::chrono::milliseconds(view.speedPeriod);
    while (view.progressPeriod > 0 && Clock::now() < limit) {
        std::this_thread::sleep_until(std::min(nextProgress, nextSpeed));
        const auto now = Clock::now();
        if (now >= nextProgress) {
            onProgressTick(view);
            nextProgress = now + std::chrono::milliseconds(view.progressPeriod);
        }
        if (view.speedPeriod > 0 && now >= nextSpeed) {
            onSpeedTick(view);
            nextSpeed = now + std::chrono::milliseconds(view.speedPeriod);
        }
    }
}

TEST(BatchEndToEnd, ThreeAddressesWithAFailureAndANameClash) {
    TestHttpServer server;
    const std::string first = test::patternedContent(300 * 1024, 1);
    const std::string third = test::patternedContent(64 * 1024, 3);
    server.addFile("/files/first.bin", first);
    server.addFile("/files/third.txt", third);

    TempDir folder;
    test::writeWholeFile(folder.file("third.txt"), "already here");

    startUp();
    appState().urlList = {server.url("/files/first.bin"), server.url("/files/missing.bin"),
                          "  " + server.url("/files/third.txt")};
    appState().saveFolder = folder.path();

    RecordingBatchView view;
    startBatch(view);
    runTimersUntilStopped(view);
    shutdown();

    EXPECT_THAT(view.messages, ::testing::ElementsAre("下载完毕!"));
    EXPECT_TRUE(view.downloadEnabled);
    EXPECT_EQ(view.status, "等候指令……");
    EXPECT_EQ(test::readWholeFile(folder.file("first.bin")), first);
    EXPECT_EQ(test::readWholeFile(folder.file("third.txt")), "already here");
    EXPECT_EQ(test::readWholeFile(folder.file("third(1).txt")), third);
    EXPECT_EQ(server.requestCount("/files/missing.bin"), 1);

    // The texts a user saw along the way, and the last ones that stay on screen.
    const auto saw = [&](const std::string& call) {
        return std::find(view.calls.begin(), view.calls.end(), call) != view.calls.end();
    };
    EXPECT_TRUE(saw("setSaveFolderText(下载保存到：" + folder.path() + ")"));
    EXPECT_TRUE(saw("setStatusText(正在下载...已完成：100%)"));
    EXPECT_TRUE(saw("setDownloadedText(已经下载：300KB(文件总大小：300KB))") ||
                saw("setDownloadedText(已经下载：0KB(文件总大小：0KB))"));
    EXPECT_EQ(view.position, 100);
}

} // namespace
} // namespace tarnis
