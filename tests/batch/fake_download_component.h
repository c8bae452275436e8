#pragma once

#include "download/download_component.h"

#include <string>
#include <vector>

namespace tarnis {

// A component whose answers the test scripts: it records every task it is handed and
// reports whatever counters the test sets. No thread, no network.
class FakeDownloadComponent : public DownloadComponent {
public:
    bool addTask(const DownloadTask& task) override;
    std::int64_t doneLength() override { return done; }
    std::string localFilePath() override { return localPath; }
    std::int64_t speed() override;
    void destroy() override { ++destroyCalls; }

    // Addresses that addTask refuses, as a real component refuses an unknown scheme.
    std::vector<std::string> refusedUrls;
    std::vector<DownloadTask> tasks;
    std::int64_t done = 0;
    std::string localPath;
    std::int64_t bytesSinceSpeedCall = 0;
    int speedCalls = 0;
    int destroyCalls = 0;
};

} // namespace tarnis
