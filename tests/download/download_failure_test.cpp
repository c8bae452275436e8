#include "download_fixture.h"

#include "nginx_server.h"

#include <chrono>
#include <filesystem>

namespace tarnis::test {
namespace {

using Event = DownloadEvent;
using Clock = std::chrono::steady_clock;

class DownloadFailureTest : public DownloadFixture {
protected:
    void expectEndedWithoutFile() {
        EXPECT_EQ(recorder().taskEndedCount(), 1);
        EXPECT_EQ(recorder().events().back().code, Event::TaskEnded);
        EXPECT_TRUE(recorder().eventsOf(Event::TotalSize).empty());
        EXPECT_TRUE(folderNames().empty());
    }
};

TEST_F(DownloadFailureTest, ErrorStatusEndsAfterOneAttempt) {
    for (const int status : {404, 500, 403}) {
        SCOPED_TRACE(status);
        Route route;
        route.status = status;
        route.body = "error page";
        const std::string path = "/status" + std::to_string(status);
        m_server.addRoute(path, route);
        recorder().reset(m_component.get());
        ASSERT_TRUE(download(taskFor(path)));
        expectEndedWithoutFile();
        EXPECT_EQ(m_server.requestCount(path), 1);
        EXPECT_EQ(recorder().messages().back().front(), '3') << "an error text comes last";
    }
    recorder().reset(m_component.get());
    ASSERT_TRUE(download(taskFor("/missing.bin"))); // the server's own 404
    expectEndedWithoutFile();
    EXPECT_EQ(m_server.requestCount("/missing.bin"), 1);
}

TEST_F(DownloadFailureTest, UnreachableHostMakesOnePlusRetryCountAttempts) {
    DownloadTask task = taskFor("/x.bin");
    task.url = "http://127.0.0.1:" + std::to_string(freeLoopbackPort()) + "/x.bin";
    ASSERT_TRUE(download(task));
    EXPECT_EQ(recorder().eventsOf(Event::ConnectionStarted).size(), 6u);
    EXPECT_EQ(recorder().eventsOf(Event::ConnectionFailed).size(), 6u);
    expectEndedWithoutFile();
}

TEST_F(DownloadFailureTest, RedirectsStayOnTheWebAndLoopsEnd) {
    m_server.addRedirect("/loop-a", "/loop-b");
    m_server.addRedirect("/loop-b", "/loop-a");
    ASSERT_TRUE(download(taskFor("/loop-a")));
    expectEndedWithoutFile();
    EXPECT_LE(m_server.requestCount("/loop-a") + m_server.requestCount("/loop-b"), 12);

    m_server.addRedirect("/to-file", "file:///etc/passwd");
    recorder().reset(m_component.get());
    ASSERT_TRUE(download(taskFor("/to-file")));
    expectEndedWithoutFile();
    EXPECT_EQ(m_server.requestCount("/to-file"), 1);
}

TEST_F(DownloadFailureTest, NoAnnouncedSizeEndsTheTask) {
    Route route;
    route.body = "size unknown";
    route.contentLength = false;
    m_server.addRoute("/nolength.bin", route);
    ASSERT_TRUE(download(taskFor("/nolength.bin")));
    expectEndedWithoutFile();
}

TEST_F(DownloadFailureTest, ASizeTheDiskCannotHoldEndsAtOnce) {
    Route route;
    route.body = "tiny";
    route.announcedLength = std::int64_t{1} << 55;
    m_server.addRoute("/huge.bin", route);
    ASSERT_TRUE(download(taskFor("/huge.bin")));
    expectEndedWithoutFile();
    EXPECT_EQ(m_server.requestCount("/huge.bin"), 1);
}

TEST_F(DownloadFailureTest, DroppedConnectionResumesWithAGuardedRange) {
    const std::string content = patternedContent(100000, 5);
    Route route;
    route.body = content;
    route.etag = "\"v1\"";
    route.cutAfter = 30000;
    m_server.addRoute("/drop.bin", route);
    ASSERT_TRUE(download(taskFor("/drop.bin")));
    EXPECT_EQ(saved("drop.bin"), content);
    const auto requests = m_server.requests("/drop.bin");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].header("range"), "");
    EXPECT_EQ(requests[1].header("range"), "bytes=30000-99999");
    EXPECT_EQ(requests[1].header("if-range"), "\"v1\"");
    EXPECT_EQ(recorder().eventsOf(Event::ConnectionFailed).size(), 1u);
    EXPECT_EQ(recorder().events().back().value, 100000);
}

TEST_F(DownloadFailureTest, ServerIgnoringRangesOnResumeDoesNotGarbleTheFile) {
    const std::string content = patternedContent(100000, 6);
    Route route;
    route.body = content;
    route.ranges = Route::Ranges::Ignore;
    route.cutAfter = 40000;
    route.cutTimes = 2; // cuts the whole answers too, so the skip is exercised twice
    m_server.addRoute("/ignore.bin", route);
    ASSERT_TRUE(download(taskFor("/ignore.bin")));
    EXPECT_EQ(saved("ignore.bin"), content);
    EXPECT_EQ(m_server.requestCount("/ignore.bin"), 3);
}

TEST_F(DownloadFailureTest, AFileChangedOnTheServerIsNeverSpliced) {
    const std::string oldContent = patternedContent(100000, 7);
    Route route;
    route.body = oldContent;
    route.etag = "\"old\"";
    route.stallAfter = 25000;
    route.stallMs = 20000;
    m_server.addRoute("/changing.bin", route);
    DownloadTask task = taskFor("/changing.bin");
    task.receiveTimeout = 300;
    ASSERT_TRUE(m_component->addTask(task));
    ASSERT_TRUE(waitForDone(25000));

    Route changed;
    changed.body = patternedContent(100000, 8);
    changed.etag = "\"new\"";
    m_server.addRoute("/changing.bin", changed);
    ASSERT_TRUE(recorder().waitForTaskEnded());
    EXPECT_EQ(saved("changing.bin"), oldContent.substr(0, 25000));
    EXPECT_EQ(recorder().events().back().value, 25000);
}

TEST_F(DownloadFailureTest, StallLongerThanTheReceiveTimeoutIsRetried) {
    const std::string content = patternedContent(60000, 9);
    Route route;
    route.body = content;
    route.stallAfter = 20000;
    route.stallMs = 30000;
    m_server.addRoute("/stall.bin", route);
    DownloadTask task = taskFor("/stall.bin");
    task.receiveTimeout = 300;
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("stall.bin"), content);
    EXPECT_EQ(m_server.requestCount("/stall.bin"), 2);
}

TEST_F(DownloadFailureTest, ATrickleIsNotATimeout) {
    const std::string content = patternedContent(4000, 10);
    Route route;
    route.body = content;
    route.trickleBytes = 200;
    route.trickleMs = 20;
    m_server.addRoute("/trickle.bin", route);
    DownloadTask task = taskFor("/trickle.bin");
    task.receiveTimeout = 500;
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("trickle.bin"), content);
    EXPECT_EQ(m_server.requestCount("/trickle.bin"), 1);
}

TEST_F(DownloadFailureTest, ResetsAreRetried) {
    const std::string content = patternedContent(5000, 11);
    Route route;
    route.body = content;
    route.resetTimes = 2;
    m_server.addRoute("/reset.bin", route);
    ASSERT_TRUE(download(taskFor("/reset.bin")));
    EXPECT_EQ(saved("reset.bin"), content);
    EXPECT_EQ(m_server.requestCount("/reset.bin"), 3);
    EXPECT_EQ(recorder().eventsOf(Event::ConnectionFailed).size(), 2u);
}

TEST_F(DownloadFailureTest, ExhaustedRetriesLeaveOnlyTheBytesReceived) {
    const std::string content = patternedContent(100000, 12);
    Route route;
    route.body = content;
    route.cutAfter = 1000;
    route.cutTimes = 1000;
    m_server.addRoute("/flaky.bin", route);
    ASSERT_TRUE(download(taskFor("/flaky.bin")));
    EXPECT_EQ(m_server.requestCount("/flaky.bin"), 6);
    // Each attempt resumed where the last one stopped; the file tells the truth.
    EXPECT_EQ(saved("flaky.bin"), content.substr(0, 6000));
    EXPECT_EQ(recorder().events().back().code, Event::TaskEnded);
    EXPECT_EQ(recorder().events().back().value, 6000);
}

TEST_F(DownloadFailureTest, DestroyStopsWithinStopWaitAndKeepsThePartialFile) {
    const std::string content = patternedContent(300000, 13);
    Route route;
    route.body = content;
    route.stallAfter = 120000;
    route.stallMs = 30000;
    m_server.addRoute("/long.bin", route);
    ASSERT_TRUE(m_component->addTask(taskFor("/long.bin")));
    ASSERT_TRUE(waitForDone(120000));

    const auto before = Clock::now();
    m_component->destroy();
    const auto took = Clock::now() - before;
    EXPECT_LT(took, std::chrono::milliseconds(1000 + 2000)) << "stopWait is 1000 ms";
    EXPECT_EQ(m_component->doneLength(), 0);
    EXPECT_EQ(m_component->localFilePath(), "");
    ASSERT_TRUE(recorder().waitForTaskEnded());
    EXPECT_EQ(recorder().taskEndedCount(), 1);
    EXPECT_EQ(recorder().events().back().value, 120000);
    EXPECT_EQ(saved("long.bin"), content.substr(0, 120000));
}

TEST_F(DownloadFailureTest, ComponentDestructionStopsARunningTask) {
    Route route;
    route.body = patternedContent(100000, 14);
    route.stallAfter = 1000;
    route.stallMs = 30000;
    m_server.addRoute("/abandoned.bin", route);
    ASSERT_TRUE(m_component->addTask(taskFor("/abandoned.bin")));
    ASSERT_TRUE(waitForDone(1000));
    recorder().reset(nullptr);
    m_component.reset(); // joins the task's thread
    EXPECT_EQ(recorder().taskEndedCount(), 1);
    EXPECT_EQ(saved("abandoned.bin").size(), 1000u);
}

} // namespace
} // namespace tarnis::test
