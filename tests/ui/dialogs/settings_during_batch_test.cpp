// The settings window opened while a batch runs: real component, real HTTP server on
// 127.0.0.1, real files, the two timers ticking on the GUI thread as in the main window.
#include "ui/settings_window.h"

#include "app/app_state.h"
#include "batch/batch_runner.h"
#include "batch/batch_view.h"
#include "batch/progress_texts.h"
#include "modal_answers.h"
#include "platform/gbk_text.h"
#include "settings/settings_store.h"
#include "test_http_server.h"
#include "ui/qt_text.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace tarnis {
namespace {

using testing::child;
using testing::waitUntil;

// Drives the runner the way the main window does: both timers on the GUI thread, the
// download button as the sign of a running batch. Messages are recorded, not shown.
class TickingView : public BatchView {
public:
    TickingView() {
        QObject::connect(&m_progressTimer, &QTimer::timeout, [this] {
            ++progressTicks;
            onProgressTick(*this);
        });
        QObject::connect(&m_speedTimer, &QTimer::timeout, [this] { onSpeedTick(*this); });
    }

    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void setProgressPosition(std::int32_t) override {}
    void setDownloadedText(const std::string&) override {}
    void setSaveFolderText(const std::string&) override {}
    void setSpeedText(const std::string&) override {}
    bool isDownloadButtonEnabled() const override { return m_downloadEnabled; }
    void setDownloadButtonEnabled(bool enabled) override { m_downloadEnabled = enabled; }
    void setTimerPeriods(std::int32_t progressMs, std::int32_t speedMs) override {
        setPeriod(m_progressTimer, progressMs);
        setPeriod(m_speedTimer, speedMs);
    }
    void ensureAnimationPicture() override {}
    void setAnimationPlaying(bool) override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string&, const std::string&) override { return false; }

    int progressTicks = 0;
    std::vector<std::string> statusTexts;
    std::vector<std::string> messages;

private:
    static void setPeriod(QTimer& timer, std::int32_t ms) {
        ms = std::max(ms, 0);
        if (timer.isActive() && timer.interval() == ms)
            return;
        timer.stop();
        if (ms > 0)
            timer.start(ms);
    }

    QTimer m_progressTimer;
    QTimer m_speedTimer;
    bool m_downloadEnabled = true;
};

TEST(SettingsDuringBatchTest, BatchGoesOnAndTakesTheNewListFromTheNextTask) {
    QTemporaryDir program;
    QTemporaryDir target;
    ASSERT_TRUE(program.isValid() && target.isValid());

    test::TestHttpServer server;
    // Long enough to edit the list while it is still the running task.
    test::Route slow;
    slow.body = std::string(48 * 1024, 'a');
    slow.trickleBytes = 1024;
    slow.trickleMs = 50;
    server.addRoute("/first.bin", slow);
    server.addFile("/old-second.bin", "old");
    server.addFile("/new-first.bin", "new one");
    server.addFile("/new-second.bin", "new two");

    startUp();
    SettingsStore store(fromQString(program.path()));
    store.saveUrlList({server.url("/first.bin"), server.url("/old-second.bin")});
    store.saveSaveFolder(fromQString(target.path()));
    appState().urlList = store.loadUrlLines();
    appState().saveFolder = store.loadSaveFolder();

    TickingView view;
    startBatch(view);
    ASSERT_FALSE(view.isDownloadButtonEnabled());

    const bool opened = testing::whileModal(
        [&](QWidget& window) {
            // The timers tick behind the modal window and the first task goes on.
            const int ticksBefore = view.progressTicks;
            EXPECT_TRUE(waitUntil([&] { return view.progressTicks >= ticksBefore + 3; }));
            EXPECT_EQ(appState().currentIndex, 1) << "the first file is still downloading";

            child<QPushButton>(window, "清空").click();
            auto& box = child<QLineEdit>(window, "添加地址框");
            for (const std::string& address :
                 {server.url("/new-first.bin"), server.url("/new-second.bin")}) {
                box.setText(toQString(address));
                child<QPushButton>(window, "添加").click();
            }
            child<QPushButton>(window, "确定").click();
        },
        [&] { runSettingsWindow(store); });
    ASSERT_TRUE(opened);
    EXPECT_EQ(appState().urlList, (std::vector<std::string>{server.url("/new-first.bin"),
                                                            server.url("/new-second.bin")}));

    ASSERT_TRUE(waitUntil([&] { return view.isDownloadButtonEnabled(); }, 60000))
        << "the batch ends";
    EXPECT_EQ(view.messages, std::vector<std::string>{"下载完毕!"_gbk});

    // Task 2 is the second address of the new list; the old second is never asked for.
    EXPECT_GE(server.requestCount("/first.bin"), 1);
    EXPECT_EQ(server.requestCount("/old-second.bin"), 0);
    EXPECT_EQ(server.requestCount("/new-first.bin"), 0);
    EXPECT_EQ(server.requestCount("/new-second.bin"), 1);

    QFile first(target.path() + "/first.bin");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.size(), 48 * 1024);
    QFile second(target.path() + "/new-second.bin");
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), "new two");
    EXPECT_FALSE(QFile::exists(target.path() + "/old-second.bin"));

    shutdown();
}

} // namespace
} // namespace tarnis
