#include "batch/batch_runner.h"

#include "batch/address_trim.h"
#include "batch_fixture.h"

namespace tarnis {
namespace {

using ::testing::ElementsAre;

class BatchRunner : public BatchFixture {
protected:
    void startWith(std::vector<std::string> urls, std::string folder = "/data/in") {
        state().urlList = std::move(urls);
        state().saveFolder = std::move(folder);
        startBatch(view);
    }

    // Ends the running task the way the component does, then lets the 100 ms tick act.
    void endTaskAndTick() {
        deliver(DownloadEvent::TaskEnded);
        onProgressTick(view);
    }

    std::vector<std::string> startedUrls() const {
        std::vector<std::string> urls;
        for (const DownloadTask& task : component->tasks)
            urls.push_back(task.url);
        return urls;
    }
};

TEST_F(BatchRunner, StartBatchOrderAndFirstTask) {
    startWith({"http://127.0.0.1/a.zip"});
    EXPECT_THAT(view.calls,
                ElementsAre("ensureAnimationPicture()", "setAnimationPlaying(true)",
                            "setTimerPeriods(100,1000)", "setDownloadButtonEnabled(false)"));
    EXPECT_EQ(state().isDownloading, 1);
    EXPECT_EQ(state().currentIndex, 1);
    ASSERT_EQ(component->tasks.size(), 1u);

    const DownloadTask& task = component->tasks[0];
    EXPECT_EQ(task.mode, 4096);
    EXPECT_EQ(task.url, "http://127.0.0.1/a.zip");
    EXPECT_EQ(task.savePath, "/data/in/");
    EXPECT_EQ(task.connectionCount, 1);
    EXPECT_EQ(task.speedLimit, 0);
    EXPECT_EQ(task.connectTimeout, 5000);
    EXPECT_EQ(task.sendTimeout, 5001);
    EXPECT_EQ(task.receiveTimeout, 10000);
    EXPECT_EQ(task.stopWait, 1000);
    EXPECT_EQ(task.receiveBlockSize, 10240);
    EXPECT_EQ(task.eventCallback, &onDownloadEvent);
    // Members the runner does not fill keep their start values.
    EXPECT_EQ(task.ftpUser, "anonymous");
    EXPECT_EQ(task.ftpPassword.size(), 17u);
    EXPECT_EQ(task.uploadBlockSize, 1024);
    EXPECT_EQ(task.ftpTransferType, 1);
    EXPECT_EQ(task.imageModeExtensions, ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm");
    EXPECT_TRUE(task.proxy.empty());
    EXPECT_TRUE(task.referer.empty());
    EXPECT_EQ(task.messageCallback, nullptr);
}

TEST_F(BatchRunner, OneAddressFinishesOnFirstTickAfterTaskEnded) {
    startWith({"http://127.0.0.1/a.zip"});
    for (int tick = 0; tick < 50; ++tick)
        onProgressTick(view);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(view.downloadEnabled);

    view.calls.clear();
    endTaskAndTick();
    // The display refresh of the tick comes first, then the finish in its fixed order.
    ASSERT_GE(view.calls.size(), 6u);
    const std::vector<std::string> finish(view.calls.end() - 6, view.calls.end());
    EXPECT_THAT(finish, ElementsAre("setStatusText(等候指令……)", "setTimerPeriods(0,0)",
                                    "ensureAnimationPicture()", "setAnimationPlaying(false)",
                                    "setDownloadButtonEnabled(true)", "showMessage(下载完毕!)"));
    EXPECT_EQ(state().isDownloading, 0);
    EXPECT_EQ(state().taskFinished, 0);
    EXPECT_EQ(view.status, "等候指令……");
    EXPECT_EQ(component->tasks.size(), 1u);

    // Idle again: further ticks neither refresh nor finish a second time.
    view.calls.clear();
    onProgressTick(view);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(BatchRunner, FailedMiddleTaskDoesNotStopTheBatch) {
    startWith({"http://h/1.bin", "http://h/missing.bin", "http://h/3.bin"});
    deliver(DownloadEvent::TotalSize, 100);
    endTaskAndTick();
    // The failed task ends without TotalSize; the batch goes on all the same.
    endTaskAndTick();
    EXPECT_THAT(startedUrls(),
                ElementsAre("http://h/1.bin", "http://h/missing.bin", "http://h/3.bin"));
    EXPECT_EQ(state().currentIndex, 3);
    EXPECT_TRUE(view.messages.empty());
    endTaskAndTick();
    EXPECT_THAT(view.messages, ElementsAre("下载完毕!"));
}

TEST_F(BatchRunner, NextTaskStartsOnlyOnTheTickAfterTaskEnded) {
    startWith({"http://h/1.bin", "http://h/2.bin"});
    deliver(DownloadEvent::TaskEnded);
    EXPECT_EQ(component->tasks.size(), 1u);
    onProgressTick(view);
    EXPECT_EQ(component->tasks.size(), 2u);
    EXPECT_EQ(state().taskFinished, 0);
    onProgressTick(view);
    EXPECT_EQ(component->tasks.size(), 2u);
}

TEST_F(BatchRunner, AddressesAreTrimmedOfAsciiAndFullWidthSpaces) {
    startWith({"  \xA1\xA1http://h/a b.zip \xA1\xA1 "});
    EXPECT_EQ(state().currentUrl, "http://h/a b.zip");
    EXPECT_EQ(component->tasks.at(0).url, "http://h/a b.zip");
}

TEST(TrimAddress, WalksCharactersNotBytes) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"http://h/x", "http://h/x"},
        {"   ", ""},
        {"\xA1\xA1\xA1\xA1", ""},
        {" \xA1\xA1x\xA1\xA1 ", "x"},
        // The trail byte A1 of one character and the lead byte A1 of the next are no space.
        {"x\xB0\xA1\xA1\xC0", "x\xB0\xA1\xA1\xC0"},
        {"x\xB0\xA1", "x\xB0\xA1"},
        // A lone lead byte at the end stays.
        {"x \xA1", "x \xA1"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trimAddress(c.input), c.expected) << c.input;
}

TEST_F(BatchRunner, SavePathAlwaysGetsOneSeparatorAppended) {
    startWith({"http://h/a"}, "/");
    EXPECT_EQ(component->tasks.at(0).savePath, "//");
}

TEST_F(BatchRunner, TotalSizeIsKeptUntilTheNextTaskReportsItsOwn) {
    startWith({"http://h/1.bin", "http://h/2.bin"});
    deliver(DownloadEvent::TotalSize, 1000);
    component->done = 500;
    endTaskAndTick();
    EXPECT_EQ(state().currentFileSize, 1000.0);
    component->done = 250;
    onProgressTick(view);
    EXPECT_EQ(view.status, "正在下载...已完成：25%");
    deliver(DownloadEvent::TotalSize, 250);
    onProgressTick(view);
    EXPECT_EQ(view.status, "正在下载...已完成：100%");
}

TEST_F(BatchRunner, EventCallbackRecordsOnlyAndAlwaysAnswersZero) {
    startWith({"http://h/1.bin"});
    const auto callback = state().taskTemplate.eventCallback;
    for (const DownloadEvent event :
         {DownloadEvent::ConnectionStarted, DownloadEvent::SegmentStarted,
          DownloadEvent::DataReceived, DownloadEvent::ConnectionEnded,
          DownloadEvent::ConnectionFailed, DownloadEvent::FileExists}) {
        EXPECT_EQ(callback(static_cast<std::int32_t>(event), 1, 77, 88, 1), 0);
    }
    EXPECT_EQ(state().taskFinished, 0);
    EXPECT_EQ(state().currentFileSize, 0.0);
    EXPECT_EQ(callback(3, 0, 1234, 0, 1), 0);
    EXPECT_EQ(state().currentFileSize, 1234.0);
    EXPECT_EQ(callback(4, 0, 1234, 0, 1), 0);
    EXPECT_EQ(state().taskFinished, 1);
}

TEST_F(BatchRunner, ListReplacedDuringTheBatch) {
    startWith({"http://h/1", "http://h/2"});
    state().urlList = {"http://h/1", "http://new/2", "http://new/3"};
    state().saveFolder = "/other";
    endTaskAndTick();
    endTaskAndTick();
    EXPECT_THAT(startedUrls(), ElementsAre("http://h/1", "http://new/2", "http://new/3"));
    EXPECT_EQ(component->tasks.back().savePath, "/other/");

    // Shortened to the current position: the batch ends when the running task ends.
    state().urlList = {"http://h/1"};
    endTaskAndTick();
    EXPECT_THAT(view.messages, ElementsAre("下载完毕!"));
    EXPECT_EQ(component->tasks.size(), 3u);
}

TEST_F(BatchRunner, RefusedAndBlankAddressesAreSkipped) {
    component->refusedUrls = {"ftp:/broken"};
    startWith({"ftp:/broken", "   ", "http://h/ok.bin"});
    // The refused first address counts as ended on the next tick.
    onProgressTick(view);
    EXPECT_EQ(state().currentIndex, 2);
    // The blank one is never handed to the component.
    onProgressTick(view);
    EXPECT_EQ(state().currentIndex, 3);
    EXPECT_THAT(startedUrls(), ElementsAre("http://h/ok.bin"));
    endTaskAndTick();
    EXPECT_THAT(view.messages, ElementsAre("下载完毕!"));
}

} // namespace
} // namespace tarnis
