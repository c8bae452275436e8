#include "fake_download_component.h"

#include <algorithm>

namespace tarnis {

bool FakeDownloadComponent::addTask(const DownloadTask& task) {
    if (std::find(refusedUrls.begin(), refusedUrls.end(), task.url) != refusedUrls.end())
        return false;
    tasks.push_back(task);
    return true;
}

std::int64_t FakeDownloadComponent::speed() {
    ++speedCalls;
    const std::int64_t bytes = bytesSinceSpeedCall;
    bytesSinceSpeedCall = 0;
    return bytes;
}

} // namespace tarnis
