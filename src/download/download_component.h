#pragma once

#include "download/download_task.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tarnis {

// One download task at a time, run on threads of the component's own. Every operation is
// called from one thread (the GUI thread) and returns at once; the queries may be called
// at any moment of a task's life and answer 0 or empty when no task is attached.
class DownloadComponent {
public:
    virtual ~DownloadComponent() = default;

    // Starts the download the record describes and returns at once. False, with nothing
    // started, when a task is still attached or the address cannot be handled. Every
    // accepted task later delivers TaskEnded exactly once, after detaching itself.
    virtual bool addTask(const DownloadTask& task) = 0;

    // Bytes received so far by the attached task.
    virtual std::int64_t doneLength() = 0;

    // The attached task's local path (GBK): savePath until the name is settled, then the
    // full path of the file.
    virtual std::string localFilePath() = 0;

    // Bytes received since the previous call; reading restarts the count in one step.
    virtual std::int64_t speed() = 0;

    // Stops the attached task, waits up to its stopWait for the connections to end and
    // detaches it. The task still delivers TaskEnded on its own thread.
    virtual void destroy() = 0;
};

// Options for every component object of the process; 0 keeps a default.
struct NetworkOptions {
    std::int32_t receiveBufferSize = 20480; // bytes per connection
    std::int32_t retryWait = 5000;          // ms before a failed connection tries again
    std::int32_t retryCount = 999;          // retries after the first attempt
};
void setNetworkOptions(std::int32_t receiveBufferSize, std::int32_t retryWait,
                       std::int32_t retryCount);
NetworkOptions networkOptions();

// The component on libcurl.
std::unique_ptr<DownloadComponent> makeDownloadComponent();

} // namespace tarnis
