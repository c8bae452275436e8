#include "download/download_component.h"

#include "download/curl_setup.h"
#include "download/download_job.h"
#include "download/task_progress.h"
#include "download/url_text.h"
#include "platform/gbk_text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <list>
#include <system_error>
#include <thread>

namespace tarnis {
namespace {

constexpr std::int32_t kMaxConnections = 16;
constexpr auto kStopPoll = std::chrono::milliseconds(20);

std::atomic<std::int32_t> g_nextTaskId{1};

DownloadRequest makeRequest(const DownloadTask& task, const std::string& url) {
    DownloadRequest request;
    request.url = encodeUrlForRequest(url);
    const std::size_t slash = findLastAsciiChar(task.savePath, '/');
    if (slash == std::string::npos) {
        request.fixedName = gbkToUtf8(task.savePath);
    } else {
        request.folderGbk = task.savePath.substr(0, slash + 1);
        request.fixedName = gbkToUtf8(task.savePath.substr(slash + 1));
    }
    request.folder = gbkToUtf8(request.folderGbk);
    request.connectionCount = std::clamp(task.connectionCount, 1, kMaxConnections);
    request.speedLimit = std::max(task.speedLimit, 0);
    request.connectTimeout = task.connectTimeout > 0 ? task.connectTimeout : 20000;
    request.sendTimeout = task.sendTimeout > 0 ? task.sendTimeout : 20000;
    request.receiveTimeout = task.receiveTimeout > 0 ? task.receiveTimeout : 20000;
    request.receiveBlockSize = task.receiveBlockSize;
    request.referer = task.referer.empty() ? defaultReferer(url) : gbkToUtf8(task.referer);
    request.proxy = task.proxy.empty() ? std::string() : proxyAddress(gbkToUtf8(task.proxy));
    request.eventCallback = task.eventCallback;
    request.messageCallback = task.messageCallback;
    request.options = networkOptions();
    request.taskId = g_nextTaskId++;
    return request;
}

// The component on libcurl: each task runs on a thread of its own, which this object owns
// and joins, so no task outlives the object it reports to.
class CurlDownloadComponent final : public DownloadComponent {
public:
    CurlDownloadComponent() { ensureCurlInitialised(); }
    ~CurlDownloadComponent() override;

    bool addTask(const DownloadTask& task) override;
    std::int64_t doneLength() override { return m_slot.doneLength(); }
    std::string localFilePath() override { return m_slot.localPath(); }
    std::int64_t speed() override { return m_slot.takeSpeed(); }
    void destroy() override;

private:
    struct Worker {
        std::shared_ptr<TaskProgress> progress;
        std::shared_ptr<std::atomic<bool>> finished;
        std::thread thread;
    };
    void joinFinishedWorkers();

    TaskSlot m_slot;
    std::list<Worker> m_workers;
};

CurlDownloadComponent::~CurlDownloadComponent() {
    for (Worker& worker : m_workers)
        worker.progress->requestStop();
    for (Worker& worker : m_workers)
        worker.thread.join();
}

bool CurlDownloadComponent::addTask(const DownloadTask& task) {
    if (m_slot.current())
        return false;
    const std::string url = gbkToUtf8(task.url);
    if (!isAcceptedUrl(url))
        return false;

    DownloadRequest request = makeRequest(task, url);
    auto progress = std::make_shared<TaskProgress>(task.savePath, std::max(task.stopWait, 0));
    if (!m_slot.attachIfEmpty(progress))
        return false;
    joinFinishedWorkers();

    auto finished = std::make_shared<std::atomic<bool>>(false);
    try {
        std::thread thread([this, request = std::move(request), progress, finished]() mutable {
            DownloadJob job(std::move(request), progress, m_slot);
            job.run();
            *finished = true;
        });
        m_workers.push_back(Worker{progress, finished, std::move(thread)});
    } catch (const std::system_error&) {
        m_slot.detach(progress.get());
        return false;
    }
    return true;
}

void CurlDownloadComponent::destroy() {
    const std::shared_ptr<TaskProgress> task = m_slot.current();
    if (!task)
        return;
    task->requestStop();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(task->stopWait());
    while (!task->connectionsEnded() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kStopPoll);
    m_slot.detach(task.get());
}

void CurlDownloadComponent::joinFinishedWorkers() {
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (*it->finished) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

std::unique_ptr<DownloadComponent> makeDownloadComponent() {
    return std::make_unique<CurlDownloadComponent>();
}

} // namespace tarnis
