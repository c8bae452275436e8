#include "download_fixture.h"

#include "platform/gbk_text.h"

#include <filesystem>
#include <unistd.h>

namespace tarnis::test {
namespace {

using Event = DownloadEvent;

class DownloadComponentTest : public DownloadFixture {};

TEST_F(DownloadComponentTest, PlainDownloadDeliversTheFileAndEventsInOrder) {
    const std::string content = patternedContent(300 * 1024);
    m_server.addFile("/files/plain.bin", content);
    ASSERT_TRUE(download(taskFor("/files/plain.bin")));

    EXPECT_EQ(folderNames(), (std::set<std::string>{"plain.bin"}));
    EXPECT_EQ(saved("plain.bin"), content);

    const auto events = recorder().events();
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ(events[0].code, Event::ConnectionStarted);
    EXPECT_EQ(events[1].code, Event::SegmentStarted);
    EXPECT_EQ(events[1].value, 0);
    EXPECT_EQ(events[1].secondValue, static_cast<std::int64_t>(content.size()));
    EXPECT_EQ(events[2].code, Event::TotalSize);
    EXPECT_EQ(events[2].value, static_cast<std::int64_t>(content.size()));
    EXPECT_EQ(events[events.size() - 2].code, Event::ConnectionEnded);
    EXPECT_EQ(events[events.size() - 2].value, static_cast<std::int64_t>(content.size()));
    EXPECT_EQ(events.back().code, Event::TaskEnded);
    EXPECT_EQ(events.back().connection, 0);
    EXPECT_EQ(events.back().value, static_cast<std::int64_t>(content.size()));
    EXPECT_EQ(recorder().taskEndedCount(), 1);

    std::int64_t received = 0;
    for (const auto& event : recorder().eventsOf(Event::DataReceived)) {
        EXPECT_LE(event.value, 10240);
        received += event.value;
    }
    EXPECT_EQ(received, static_cast<std::int64_t>(content.size()));
    EXPECT_TRUE(recorder().emptyAtTaskEnded());
    EXPECT_EQ(m_component->doneLength(), 0);
    EXPECT_EQ(m_component->localFilePath(), "");
    std::set<char> levels;
    for (const std::string& message : recorder().messages())
        levels.insert(message.front());
    EXPECT_EQ(levels, (std::set<char>{'0', '1', '2'})) << "progress, request and response texts";

    // The object is free again, so the next task is accepted at once.
    m_server.addFile("/files/next.bin", "next");
    recorder().reset(m_component.get());
    ASSERT_TRUE(download(taskFor("/files/next.bin")));
    EXPECT_EQ(saved("next.bin"), "next");
}

TEST_F(DownloadComponentTest, EmptyFileIsCompleteAtSizeZero) {
    m_server.addFile("/empty.txt", "");
    ASSERT_TRUE(download(taskFor("/empty.txt")));
    EXPECT_EQ(folderNames(), (std::set<std::string>{"empty.txt"}));
    ASSERT_EQ(recorder().eventsOf(Event::TotalSize).size(), 1u);
    EXPECT_EQ(recorder().eventsOf(Event::TotalSize)[0].value, 0);
}

TEST_F(DownloadComponentTest, NamesComeFromTheServerOrTheAddressAndAreSafe) {
    const struct {
        const char* path;
        const char* disposition; // empty: no header
        std::string expected;
    } cases[] = {
        {"/n/quoted", "attachment; filename=\"Quoted Name.zip\"", "Quoted Name.zip"},
        {"/n/bare", "attachment; filename=bare.txt", "bare.txt"},
        {"/n/ext", "attachment; filename*=UTF-8''%E4%B8%AD%E6%96%87.txt",
         "\xE4\xB8\xAD\xE6\x96\x87.txt"},
        {"/n/traversal.bin", "attachment; filename=\"../../../../tmp/evil.sh\"", "evil.sh"},
        {"/n/windows.bin", "attachment; filename=\"C:\\\\Users\\\\x\\\\win.exe\"", "win.exe"},
        {"/n/raw-windows.bin", "attachment; filename=\"C:\\Temp\\raw.exe\"", "raw.exe"},
        {"/n/hidden.bin", "attachment; filename=\".bashrc\"", "bashrc"},
        {"/n/empty-name.bin", "attachment; filename=\"\"", "empty-name.bin"},
        {"/n/dots.bin", "attachment; filename=\"..\"", "dots.bin"},
        {"/n/my%20file+one.dat", "", "my file one.dat"},
        {"/n/", "", "index.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TempDir folder;
        Route route;
        route.body = c.path;
        if (*c.disposition != '\0')
            route.headers.push_back(std::string("Content-Disposition: ") + c.disposition);
        m_server.addRoute(c.path, route);
        recorder().reset(m_component.get());
        DownloadTask task = taskFor(c.path);
        task.savePath = folder.path() + "/";
        ASSERT_TRUE(download(task));
        EXPECT_EQ(readWholeFile(folder.file(c.expected)), c.path);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
    EXPECT_FALSE(std::filesystem::exists("/tmp/evil.sh"));
}

TEST_F(DownloadComponentTest, RedirectChainNamesTheFileAfterTheFinalAddress) {
    m_server.addFile("/real/final.bin", "the real thing");
    m_server.addRedirect("/start.bin", "/hop", 301);
    m_server.addRedirect("/hop", m_server.url("/real/final.bin"), 302);
    ASSERT_TRUE(download(taskFor("/start.bin")));
    EXPECT_EQ(folderNames(), (std::set<std::string>{"final.bin"}));
    EXPECT_EQ(saved("final.bin"), "the real thing");
}

TEST_F(DownloadComponentTest, ExistingNamesGetNumberedAndOldFilesStay) {
    m_server.addFile("/doc.tar.gz", "new content");
    writeWholeFile(m_dir.file("doc.tar.gz"), "old");
    ASSERT_TRUE(download(taskFor("/doc.tar.gz")));
    const auto clash = recorder().eventsOf(Event::FileExists);
    ASSERT_EQ(clash.size(), 1u);
    EXPECT_EQ(clash[0].value, 3);
    EXPECT_EQ(clash[0].secondValue, 11);
    EXPECT_EQ(m_component->localFilePath(), "");

    recorder().reset(m_component.get());
    ASSERT_TRUE(download(taskFor("/doc.tar.gz")));
    EXPECT_EQ(folderNames(),
              (std::set<std::string>{"doc.tar.gz", "doc(1).tar.gz", "doc(2).tar.gz"}));
    EXPECT_EQ(saved("doc.tar.gz"), "old");
    EXPECT_EQ(saved("doc(1).tar.gz"), "new content");
    EXPECT_EQ(saved("doc(2).tar.gz"), "new content");
}

TEST_F(DownloadComponentTest, NoFreeNumberLeftEndsTheTask) {
    m_server.addFile("/full(99).txt", "x");
    writeWholeFile(m_dir.file("full(99).txt"), "old");
    ASSERT_TRUE(download(taskFor("/full(99).txt")));
    EXPECT_TRUE(recorder().eventsOf(Event::TotalSize).empty());
    EXPECT_EQ(folderNames(), (std::set<std::string>{"full(99).txt"}));
}

TEST_F(DownloadComponentTest, FileExistsAnswersEndOrReuse) {
    m_server.addFile("/answer.txt", "fresh");
    const struct {
        std::int32_t answer;
        std::string expected;
        bool downloaded;
    } cases[] = {
        {static_cast<std::int32_t>(FileExistsAnswer::EndTask), "old content", false},
        {7, "old content", false},
        {static_cast<std::int32_t>(FileExistsAnswer::ReusePath), "fresh", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        writeWholeFile(m_dir.file("answer.txt"), "old content");
        recorder().reset(m_component.get(), c.answer);
        ASSERT_TRUE(download(taskFor("/answer.txt")));
        EXPECT_EQ(folderNames(), (std::set<std::string>{"answer.txt"}));
        EXPECT_EQ(saved("answer.txt"), c.expected);
        EXPECT_EQ(recorder().eventsOf(Event::TotalSize).size(), c.downloaded ? 1u : 0u);
    }
}

TEST_F(DownloadComponentTest, APlantedLinkIsNeverWrittenThrough) {
    TempDir outside;
    const std::string victim = outside.file("victim.txt");
    writeWholeFile(victim, "precious");
    ASSERT_EQ(::symlink(victim.c_str(), m_dir.file("link.txt").c_str()), 0);
    m_server.addFile("/link.txt", "attack");

    recorder().reset(m_component.get(), static_cast<std::int32_t>(FileExistsAnswer::ReusePath));
    ASSERT_TRUE(download(taskFor("/link.txt")));
    EXPECT_TRUE(recorder().eventsOf(Event::TotalSize).empty());

    recorder().reset(m_component.get(),
                     static_cast<std::int32_t>(FileExistsAnswer::ChooseFreeName));
    ASSERT_TRUE(download(taskFor("/link.txt")));
    EXPECT_EQ(saved("link(1).txt"), "attack");
    EXPECT_EQ(readWholeFile(victim), "precious");
}

TEST_F(DownloadComponentTest, AFullPathIsUsedAsGiven) {
    m_server.addFile("/whatever.bin", "content");
    DownloadTask task = taskFor("/whatever.bin");
    task.savePath = m_dir.path() + "/chosen.dat";
    ASSERT_TRUE(download(task));
    EXPECT_EQ(folderNames(), (std::set<std::string>{"chosen.dat"}));
    EXPECT_EQ(saved("chosen.dat"), "content");
}

TEST_F(DownloadComponentTest, GbkPathsReachTheDiskAsUtf8) {
    const std::string folderName = "\xE4\xB8\x8B\xE8\xBD\xBD"; // 下载
    std::filesystem::create_directory(m_dir.file(folderName));
    m_server.addFile("/gbk.txt", "gbk");
    DownloadTask task = taskFor("/gbk.txt");
    task.savePath = utf8ToGbk(m_dir.path() + "/" + folderName + "/");
    ASSERT_TRUE(m_component->addTask(task));
    ASSERT_TRUE(recorder().waitForTaskEnded());
    EXPECT_EQ(readWholeFile(m_dir.file(folderName + "/gbk.txt")), "gbk");
}

TEST_F(DownloadComponentTest, RefusesWhatItCannotHandle) {
    m_server.addFile("/ok.bin", "ok");
    for (const std::string& url :
         {std::string("http://127.0.0.1"), m_server.baseUrl(), std::string("ftp://127.0.0.1/x"),
          std::string("file:///etc/passwd"), std::string(""), std::string("http:///x")}) {
        DownloadTask task = taskFor("/ok.bin");
        task.url = url;
        EXPECT_FALSE(m_component->addTask(task)) << url;
    }
    EXPECT_TRUE(recorder().events().empty());
    EXPECT_TRUE(folderNames().empty());
}

TEST_F(DownloadComponentTest, NoTaskMeansZerosAndEmptyPath) {
    EXPECT_EQ(m_component->doneLength(), 0);
    EXPECT_EQ(m_component->speed(), 0);
    EXPECT_EQ(m_component->localFilePath(), "");
    m_component->destroy(); // nothing to stop
    EXPECT_TRUE(recorder().events().empty());
}

TEST_F(DownloadComponentTest, BusyObjectRefusesAndSpeedRestartsOnRead) {
    Route slow;
    slow.body = patternedContent(200000);
    slow.stallAfter = 100000;
    slow.stallMs = 20000;
    m_server.addRoute("/slow.bin", slow);
    m_server.addFile("/other.bin", "other");
    const DownloadTask task = taskFor("/slow.bin");
    ASSERT_TRUE(m_component->addTask(task));
    EXPECT_FALSE(m_component->addTask(taskFor("/other.bin")));
    ASSERT_TRUE(waitForDone(100000));
    EXPECT_EQ(m_component->localFilePath(), utf8ToGbk(m_dir.path()) + "/" + "slow.bin");
    EXPECT_EQ(m_component->doneLength(), 100000);
    EXPECT_EQ(m_component->speed(), 100000);
    EXPECT_EQ(m_component->speed(), 0);
    m_component->destroy();
    ASSERT_TRUE(recorder().waitForTaskEnded());
    EXPECT_EQ(m_server.requestCount("/other.bin"), 0);
}

TEST_F(DownloadComponentTest, ChangingTheRecordAfterAddTaskChangesNothing) {
    const std::string content = patternedContent(50000, 3);
    m_server.addFile("/kept.bin", content);
    DownloadTask task = taskFor("/kept.bin");
    ASSERT_TRUE(m_component->addTask(task));
    task.url = "http://127.0.0.1:1/changed.bin";
    task.savePath = "/nonexistent/";
    task.eventCallback = nullptr;
    ASSERT_TRUE(recorder().waitForTaskEnded());
    EXPECT_EQ(saved("kept.bin"), content);
}

TEST_F(DownloadComponentTest, RefererDefaultsToTheAddressFolder) {
    m_server.addFile("/dir/ref.bin", "r");
    ASSERT_TRUE(download(taskFor("/dir/ref.bin")));
    EXPECT_EQ(m_server.requests("/dir/ref.bin").at(0).header("referer"), m_server.url("/dir/"));

    recorder().reset(m_component.get(), 2);
    DownloadTask task = taskFor("/dir/ref.bin");
    task.referer = "http://elsewhere.example/page";
    ASSERT_TRUE(download(task));
    EXPECT_EQ(m_server.requests("/dir/ref.bin").at(1).header("referer"),
              "http://elsewhere.example/page");
}

TEST_F(DownloadComponentTest, ProxyCarriesTheRequest) {
    // A proxy is asked for the absolute address; the test server answers it like any path.
    m_server.addFile("http://files.example/proxied.bin", "via proxy");
    DownloadTask task = taskFor("/unused");
    task.url = "http://files.example/proxied.bin";
    task.proxy = "127.0.0.1:" + std::to_string(m_server.port());
    ASSERT_TRUE(download(task));
    EXPECT_EQ(saved("proxied.bin"), "via proxy");
}

TEST(NetworkOptionsTest, ZeroKeepsTheDefault) {
    setNetworkOptions(0, 0, 0);
    EXPECT_EQ(networkOptions().receiveBufferSize, 20480);
    EXPECT_EQ(networkOptions().retryWait, 5000);
    EXPECT_EQ(networkOptions().retryCount, 999);
    setNetworkOptions(10240, 1, 5);
    EXPECT_EQ(networkOptions().receiveBufferSize, 10240);
    EXPECT_EQ(networkOptions().retryWait, 1);
    EXPECT_EQ(networkOptions().retryCount, 5);
    setNetworkOptions(4096, 0, 0);
    EXPECT_EQ(networkOptions().receiveBufferSize, 4096);
    EXPECT_EQ(networkOptions().retryWait, 5000);
}

} // namespace
} // namespace tarnis::test
