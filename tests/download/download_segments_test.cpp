#include "download_fixture.h"

#include "nginx_server.h"

#include <set>

namespace tarnis::test {
namespace {

using Event = DownloadEvent;

class DownloadSegmentsTest : public DownloadFixture {};

TEST_F(DownloadSegmentsTest, FourConnectionsSplitARangedFile) {
    const std::string content = patternedContent(2 * 1024 * 1024 + 17, 21);
    m_server.addFile("/big.bin", content);
    DownloadTask task = taskFor("/big.bin");
    task.connectionCount = 4;
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("big.bin"), content);

    std::set<std::int32_t> connections;
    for (const auto& event : recorder().eventsOf(Event::SegmentStarted))
        connections.insert(event.connection);
    EXPECT_EQ(connections.size(), 4u);
    EXPECT_EQ(recorder().eventsOf(Event::TotalSize).size(), 1u);
    EXPECT_EQ(recorder().eventsOf(Event::ConnectionEnded).size(), 4u);
    EXPECT_EQ(recorder().events().back().code, Event::TaskEnded);
    const auto requests = m_server.requests("/big.bin");
    ASSERT_GE(requests.size(), 4u);
    EXPECT_EQ(requests[0].header("range"), "bytes=0-");
    for (std::size_t i = 1; i < requests.size(); ++i)
        EXPECT_FALSE(requests[i].header("range").empty());
}

TEST_F(DownloadSegmentsTest, WithoutRangesOneConnectionDoesItAll) {
    const std::string content = patternedContent(1024 * 1024, 22);
    Route route;
    route.body = content;
    route.ranges = Route::Ranges::None;
    m_server.addRoute("/whole.bin", route);
    DownloadTask task = taskFor("/whole.bin");
    task.connectionCount = 4;
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("whole.bin"), content);
    EXPECT_EQ(m_server.requestCount("/whole.bin"), 1);
}

TEST_F(DownloadSegmentsTest, AFinishedConnectionTakesOverHalfOfTheLargestPart) {
    // The second half arrives slowly, so the connection that fetched the first half is free
    // long before and must take over part of it.
    const std::string content = patternedContent(1024 * 1024, 23);
    Route route;
    route.body = content;
    route.trickleBytes = 64 * 1024;
    route.trickleMs = 60;
    route.trickleTimes = 1; // only the first connection's answer
    m_server.addRoute("/uneven.bin", route);
    DownloadTask task = taskFor("/uneven.bin");
    task.connectionCount = 2;
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("uneven.bin"), content);
    EXPECT_FALSE(recorder().eventsOf(Event::SegmentContinued).empty());
}

TEST_F(DownloadSegmentsTest, DroppedPartsResumeAndTheFileIsWhole) {
    const std::string content = patternedContent(1024 * 1024, 24);
    Route route;
    route.body = content;
    route.etag = "\"seg\"";
    route.cutAfter = 100000;
    route.cutTimes = 3;
    m_server.addRoute("/dropping.bin", route);
    DownloadTask task = taskFor("/dropping.bin");
    task.connectionCount = 3;
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("dropping.bin"), content);
}

class NginxDownloadTest : public DownloadFixture {
protected:
    void SetUp() override {
        DownloadFixture::SetUp();
        m_content = patternedContent(8 * 1024 * 1024 + 3, 31);
        writeWholeFile(m_root.file("served.bin"), m_content);
        m_nginx = std::make_unique<NginxServer>(m_root.path());
        if (!m_nginx->isRunning())
            GTEST_SKIP() << "nginx did not start: " << m_nginx->errorLog();
    }

    DownloadTask nginxTask(int connections) const {
        DownloadTask task = taskFor("/served.bin");
        task.url = m_nginx->baseUrl() + "/served.bin";
        task.connectionCount = connections;
        return task;
    }

    TempDir m_root;
    std::string m_content;
    std::unique_ptr<NginxServer> m_nginx;
};

TEST_F(NginxDownloadTest, SingleConnection) {
    ASSERT_TRUE(download(nginxTask(1)));
    EXPECT_EQ(saved("served.bin"), m_content);
    EXPECT_EQ(recorder().events().back().value, static_cast<std::int64_t>(m_content.size()));
}

TEST_F(NginxDownloadTest, FourConnections) {
    ASSERT_TRUE(download(nginxTask(4)));
    EXPECT_EQ(saved("served.bin"), m_content);
    EXPECT_GE(recorder().eventsOf(Event::SegmentStarted).size(), 4u);
}

TEST_F(NginxDownloadTest, MissingFileIs404) {
    DownloadTask task = nginxTask(1);
    task.url = m_nginx->baseUrl() + "/absent.bin";
    ASSERT_TRUE(download(task));
    EXPECT_TRUE(recorder().eventsOf(Event::TotalSize).empty());
}

} // namespace
} // namespace tarnis::test
