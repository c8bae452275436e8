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
    // The first file trickles in, so the ticks see it half done.
    test::Route slow;
    slow.body = first;
    slow.trickleBytes = 16 * 1024;
    slow.trickleMs = 80;
    server.addRoute("/files/first.bin", slow);
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

    // The texts a user saw along the way: a percentage between the ends, and the local file
    // at its full size while it was still arriving.
    const auto sawPrefix = [&](const std::string& prefix) {
        return std::any_of(view.calls.begin(), view.calls.end(),
                           [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    };
    bool sawPartialPercentage = false;
    for (int percent = 1; percent < 100; ++percent)
        sawPartialPercentage |=
            sawPrefix("setStatusText(正在下载...已完成：" + std::to_string(percent) + "%)");
    EXPECT_TRUE(sawPartialPercentage);
    EXPECT_TRUE(sawPrefix("setProgressPosition("));
    EXPECT_TRUE(sawPrefix("setSpeedText(下载速度："));
    EXPECT_THAT(view.calls,
                ::testing::Contains(::testing::MatchesRegex(
                    "setDownloadedText\\(已经下载：[0-9]+KB\\(文件总大小：300KB\\)\\)")));
    EXPECT_THAT(view.calls,
                ::testing::Contains("setSaveFolderText(下载保存到：" + folder.path() + ")"));
}

} // namespace
} // namespace tarnis
