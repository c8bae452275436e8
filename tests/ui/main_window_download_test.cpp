// The window against real downloads: the libcurl component, a scripted HTTP server on
// 127.0.0.1 and real folders.
#include "app/app_state.h"
#include "modal_box_answerer.h"
#include "platform/gbk_text.h"
#include "settings/settings_store.h"
#include "temp_dir.h"
#include "test_http_server.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <set>
#include <string>
#include <sys/stat.h>

namespace tarnis {
namespace {

using test::ModalBoxAnswerer;
using test::SeenBox;
using test::waitUntil;

std::string labelText(const QWidget& window, const char* name) {
    return fromQString(window.findChild<QLabel*>(QString::fromUtf8(name))->text());
}

long long sizeOnDisk(const std::string& path) {
    struct stat entry {};
    return ::stat(path.c_str(), &entry) == 0 ? static_cast<long long>(entry.st_size) : -1;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

class MainWindowDownloadTest : public ::testing::Test {
protected:
    void SetUp() override { startUp(); }
    void TearDown() override {
        m_window.reset();
        shutdown();
    }

    MainWindow& openWindow(const std::vector<std::string>& urls) {
        const SettingsStore store(m_program.path());
        store.saveUrlList(urls);
        store.saveSaveFolder(m_folder.path());
        m_window = std::make_unique<MainWindow>(m_program.path(), m_program.file("tarnis"));
        m_window->show();
        return *m_window;
    }

    test::TestHttpServer m_server;
    test::TempDir m_program;
    test::TempDir m_folder;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowDownloadTest, AWholeBatchShowsItsProgressAndEndsReadyForTheNext) {
    const std::string first = test::patternedContent(240 * 1024, 1);
    const std::string second = test::patternedContent(3000, 2);
    // The first file trickles in, so the window is seen in the middle of it.
    test::Route slow;
    slow.body = first;
    slow.trickleBytes = 16 * 1024;
    slow.trickleMs = 100;
    m_server.addRoute("/files/first.bin", slow);
    m_server.addFile("/files/second.txt", second);
    MainWindow& window =
        openWindow({m_server.url("/files/first.bin"), m_server.url("/files/second.txt")});

    std::set<std::string> statuses, speeds, sizes, folders;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        statuses.insert(labelText(window, "标签"));
        speeds.insert(labelText(window, "下载速度"));
        sizes.insert(labelText(window, "已经下载"));
        folders.insert(labelText(window, "下载保存"));
    });
    sampler.start(20);

    // When the last message comes, the window is idle again behind it.
    struct AtTheEnd {
        bool buttonEnabled = false;
        std::string status, speed, size, folder;
        int bar = -1;
    } atTheEnd;
    ModalBoxAnswerer answerer([&](const SeenBox&) {
        atTheEnd.buttonEnabled = window.isDownloadButtonEnabled();
        atTheEnd.status = labelText(window, "标签");
        atTheEnd.speed = labelText(window, "下载速度");
        atTheEnd.size = labelText(window, "已经下载");
        atTheEnd.folder = labelText(window, "下载保存");
        atTheEnd.bar = window.findChild<QProgressBar*>(QStringLiteral("进度条"))->value();
        return QMessageBox::Ok;
    });

    window.findChild<QPushButton*>(QStringLiteral("下载"))->click();
    EXPECT_FALSE(window.isDownloadButtonEnabled());
    ASSERT_TRUE(waitUntil([&] { return !answerer.seen().empty(); }, 60000));
    sampler.stop();

    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(fromQString(answerer.seen().front().text), "下载完毕!"_gbk);
    EXPECT_EQ(fromQString(answerer.seen().front().title), "信息："_gbk);
    EXPECT_TRUE(atTheEnd.buttonEnabled);
    EXPECT_EQ(atTheEnd.status, "等候指令……"_gbk);
    EXPECT_EQ(appState().isDownloading, 0);

    // Underway the texts moved: a percentage between the ends, a speed, sizes, the folder.
    const std::string percentPrefix = "正在下载...已完成："_gbk;
    bool sawMidway = false;
    for (const std::string& status : statuses) {
        if (!startsWith(status, percentPrefix))
            continue;
        const int percent = std::atoi(status.c_str() + percentPrefix.size());
        sawMidway = sawMidway || (percent > 0 && percent < 100);
    }
    EXPECT_TRUE(sawMidway);
    bool sawSpeed = false;
    for (const std::string& speed : speeds)
        sawSpeed =
            sawSpeed || (startsWith(speed, "下载速度："_gbk) && speed != "下载速度：0KB/1秒"_gbk);
    EXPECT_TRUE(sawSpeed);
    // The local file has its full size from the start, while the received part grows.
    const std::string sizePrefix = "已经下载："_gbk;
    const std::string firstTotal = "KB(文件总大小：240KB)"_gbk;
    bool sawPartOfFirst = false;
    for (const std::string& size : sizes) {
        if (!startsWith(size, sizePrefix) || size.size() <= firstTotal.size() ||
            size.compare(size.size() - firstTotal.size(), firstTotal.size(), firstTotal) != 0)
            continue;
        const int received = std::atoi(size.c_str() + sizePrefix.size());
        sawPartOfFirst = sawPartOfFirst || (received > 0 && received < 240);
    }
    EXPECT_TRUE(sawPartOfFirst);
    EXPECT_TRUE(folders.count("下载保存到："_gbk + m_folder.path()));

    // The last values stay once the message is gone; only the status went back.
    EXPECT_EQ(labelText(window, "下载速度"), atTheEnd.speed);
    EXPECT_EQ(labelText(window, "已经下载"), atTheEnd.size);
    EXPECT_EQ(labelText(window, "下载保存"), atTheEnd.folder);
    EXPECT_EQ(atTheEnd.folder, "下载保存到："_gbk + m_folder.path());
    EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("进度条"))->value(), atTheEnd.bar);
    EXPECT_TRUE(window.isDownloadButtonEnabled());

    EXPECT_EQ(test::readWholeFile(m_folder.file("first.bin")), first);
    EXPECT_EQ(test::readWholeFile(m_folder.file("second.txt")), second);
}

TEST_F(MainWindowDownloadTest, LeavingDuringADownloadStopsItAndKeepsThePartialFile) {
    // Far more than the test waits for: 4 MB in pieces of 4 KB every 50 ms.
    test::Route endless;
    endless.body = test::patternedContent(4 * 1024 * 1024, 7);
    endless.trickleBytes = 4 * 1024;
    endless.trickleMs = 50;
    m_server.addRoute("/files/big.iso", endless);
    MainWindow& window = openWindow({m_server.url("/files/big.iso")});
    window.onDownloadClicked();
    ASSERT_TRUE(waitUntil([] { return appState().downloader->doneLength() > 8 * 1024; }));

    ModalBoxAnswerer answerer([](const SeenBox&) { return QMessageBox::Yes; });
    QTimer leave;
    leave.setSingleShot(true);
    QObject::connect(&leave, &QTimer::timeout, [&] { window.onExitClicked(); });
    leave.start(0);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    giveUp.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen().front().icon, QMessageBox::Question);

    // What main() does once the loop has ended. The bound only catches a hang; the stop
    // itself waits at most the task's stop time of one second.
    QElapsedTimer stopping;
    stopping.start();
    shutdown();
    EXPECT_LT(stopping.elapsed(), 10000);

    const long long partial = sizeOnDisk(m_folder.file("big.iso"));
    EXPECT_GT(partial, 8 * 1024);
    EXPECT_LT(partial, static_cast<long long>(endless.body.size()));
}

} // namespace
} // namespace tarnis
