#pragma once

#include "download/download_component.h"

#include <string>
#include <vector>

namespace tarnis::test {

// A component whose task runs until the test ends it, for the window's own sequencing;
// the real transfers are tested against a real server.
class FakeDownloadComponent : public DownloadComponent {
public:
    bool addTask(const DownloadTask& task) override {
        if (m_busy)
            return false;
        m_busy = true;
        m_task = task;
        addedUrls.push_back(task.url);
        return true;
    }
    std::int64_t doneLength() override { return m_busy ? done : 0; }
    std::string localFilePath() override { return m_busy ? m_task.savePath : std::string(); }
    std::int64_t speed() override { return 0; }
    void destroy() override {
        if (m_busy)
            ++destroyedRunning;
        endTask();
    }

    // The running task ends, as its last event.
    void endTask() {
        if (!m_busy)
            return;
        m_busy = false;
        if (m_task.eventCallback)
            m_task.eventCallback(4, 0, done, 0, 1);
    }
    bool busy() const { return m_busy; }

    std::vector<std::string> addedUrls;
    std::int64_t done = 0;
    int destroyedRunning = 0;

private:
    bool m_busy = false;
    DownloadTask m_task;
};

} // namespace tarnis::test
