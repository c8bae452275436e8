#include "app/app_state.h"

#include <gtest/gtest.h>

namespace tarnis {
namespace {

// Counts what the program asks of the component, so start-up and shutdown can be checked
// without a network.
class CountingComponent : public DownloadComponent {
public:
    explicit CountingComponent(int& destroyCalls, bool& released)
        : m_destroyCalls(destroyCalls), m_released(released) {}
    ~CountingComponent() override { m_released = true; }
    bool addTask(const DownloadTask&) override { return true; }
    std::int64_t doneLength() override { return 0; }
    std::string localFilePath() override { return {}; }
    std::int64_t speed() override { return 0; }
    void destroy() override { ++m_destroyCalls; }

private:
    int& m_destroyCalls;
    bool& m_released;
};

TEST(AppState, StartUpFillsTheTemplateWithStartValues) {
    int destroyCalls = 0;
    bool released = false;
    startUp(std::make_unique<CountingComponent>(destroyCalls, released));
    const AppState& state = appState();
    EXPECT_TRUE(state.urlList.empty());
    EXPECT_TRUE(state.saveFolder.empty());
    EXPECT_EQ(state.currentIndex, 0);
    EXPECT_EQ(state.taskFinished, 0);
    EXPECT_EQ(state.isDownloading, 0);
    EXPECT_EQ(state.currentFileSize, 0.0);

    const DownloadTask& task = state.taskTemplate;
    EXPECT_EQ(task.mode, 1);
    EXPECT_EQ(task.url, "");
    EXPECT_EQ(task.savePath, "");
    EXPECT_EQ(task.ftpUser, "anonymous");
    EXPECT_EQ(task.ftpPassword.size(), 17u);
    EXPECT_NE(task.ftpPassword.find('@'), std::string::npos);
    EXPECT_EQ(task.connectionCount, 1);
    EXPECT_EQ(task.speedLimit, 0);
    EXPECT_EQ(task.connectTimeout, 20000);
    EXPECT_EQ(task.sendTimeout, 20000);
    EXPECT_EQ(task.receiveTimeout, 20000);
    EXPECT_EQ(task.stopWait, 1000);
    EXPECT_EQ(task.receiveBlockSize, 20480);
    EXPECT_EQ(task.uploadBlockSize, 1024);
    EXPECT_EQ(task.messageCallback, nullptr);
    EXPECT_EQ(task.eventCallback, nullptr);
    EXPECT_EQ(task.uploadName, "");
    EXPECT_EQ(task.ftpTransferType, 1);
    EXPECT_EQ(task.imageModeExtensions, ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm");
    EXPECT_EQ(task.proxy, "");
    EXPECT_EQ(task.referer, "");

    shutdown();
    EXPECT_EQ(destroyCalls, 1);
    EXPECT_TRUE(released);
    // A TaskEnded that arrives after shutdown still finds the state.
    appState().taskFinished = 1;
    shutdown();
    EXPECT_EQ(destroyCalls, 1);
}

} // namespace
} // namespace tarnis
