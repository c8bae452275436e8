#pragma once

#include "download/download_component.h"
#include "download/download_task.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnis {

// The program-wide state, one record for the life of the process. Everything is written
// on the GUI thread except taskFinished and currentFileSize, which the download callback
// writes on the component's threads; both are single atomic values, so no lock is needed.
struct AppState {
    std::unique_ptr<DownloadComponent> downloader;
    std::vector<std::string> urlList; // GBK addresses, in order
    std::string saveFolder;           // GBK
    std::int32_t currentIndex = 0;    // 1-based position of the running task in urlList
    std::atomic<std::int32_t> taskFinished{0};
    std::int32_t isDownloading = 0;
    std::atomic<double> currentFileSize{0.0}; // total of the file now downloading
    std::string currentUrl;                   // trimmed address of the running task
    DownloadTask taskTemplate;
};

// The one instance. It outlives every thread of the component, so a TaskEnded that comes
// during shutdown still has somewhere to land.
AppState& appState();

// The start values the task record holds until the batch runner fills in a task.
DownloadTask startTaskTemplate();

// Builds the state: the given component (the libcurl one by default), an empty list and
// folder, the start template, every other member 0 or empty.
void startUp(std::unique_ptr<DownloadComponent> downloader = makeDownloadComponent());

// Stops a running download (waiting at most the task's stopWait), releases the component
// and empties every text of the state. Safe to call more than once.
void shutdown();

} // namespace tarnis
