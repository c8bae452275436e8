#pragma once

#include "download/download_component.h"
#include "download/download_task.h"
#include "download/http_connection.h"
#include "download/local_file.h"
#include "download/segment_plan.h"
#include "download/task_events.h"
#include "download/task_progress.h"
#include "download/write_buffer.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

typedef void CURLM;

namespace tarnis {

// Everything a task needs, copied out of the caller's record when the task is accepted.
struct DownloadRequest {
    std::string url;       // UTF-8, ready for libcurl
    std::string folder;    // UTF-8 path of the target folder
    std::string folderGbk; // the same, as the caller wrote it, ending in '/' unless empty
    std::string fixedName; // UTF-8 file name when the caller gave a full path
    std::int32_t connectionCount = 1;
    std::int32_t speedLimit = 0;
    std::int32_t connectTimeout = 20000;
    std::int32_t sendTimeout = 20000;
    std::int32_t receiveTimeout = 20000;
    std::int32_t receiveBlockSize = 20480;
    std::string referer; // UTF-8
    std::string proxy;   // UTF-8 host:port or empty
    EventCallback eventCallback = nullptr;
    MessageCallback messageCallback = nullptr;
    NetworkOptions options;
    std::int32_t taskId = 0;
};

// One task from its first request to TaskEnded: a libcurl multi handle driving the task's
// connections on the calling thread, the parts they fetch, their retries and the file.
class DownloadJob final : private ConnectionListener {
public:
    DownloadJob(DownloadRequest request, std::shared_ptr<TaskProgress> progress, TaskSlot& slot);
    ~DownloadJob();
    DownloadJob(const DownloadJob&) = delete;
    DownloadJob& operator=(const DownloadJob&) = delete;

    // Runs the task to its end and delivers TaskEnded last.
    void run();

private:
    using Clock = std::chrono::steady_clock;
    enum class LinkState { Idle, Running, Waiting, Finished };
    enum class Abort { None, PartReached, Fatal, Retry };

    // A connection and what the task knows of it.
    struct Link {
        std::unique_ptr<HttpConnection> http;
        std::unique_ptr<WriteBuffer> buffer;
        LinkState state = LinkState::Idle;
        int segment = -1;
        std::int32_t failures = 0;
        Clock::time_point retryAt;
        std::int64_t skip = 0; // bytes of a whole-file answer that are already on disk
        bool responseAccepted = false;
        bool segmentAnnounced = false;
        Abort abort = Abort::None;
        std::string abortText;
    };

    bool onResponseHeaders(HttpConnection& connection) override;
    bool onBody(HttpConnection& connection, const char* data, std::size_t size) override;

    Link& linkOf(const HttpConnection& connection);
    Link& addLink(int segment);
    void startAttempt(Link& link);
    void endTransfer(Link& link);
    void onTransferDone(Link& link, int result);
    void onAttemptFailed(Link& link, const std::string& reason);
    void onSegmentDone(Link& link);
    void checkSilence(Link& link, Clock::time_point now);
    void failTask(const std::string& reason);
    bool rejectResponse(Link& link, Abort kind, const std::string& reason);

    bool acceptFirstResponse(Link& link, long code);
    bool acceptLaterResponse(Link& link, long code);
    bool prepareLocalFile(Link& link, std::int64_t total);
    std::string validatorOf(const HttpConnection& connection) const;
    std::int64_t positionOf(const Link& link) const;
    int retryWaitMs() const;

    void finish();

    DownloadRequest m_request;
    std::shared_ptr<TaskProgress> m_progress;
    TaskSlot& m_slot;
    TaskEvents m_events;
    ConnectionSettings m_connectionSettings;
    CURLM* m_multi = nullptr;
    std::vector<std::unique_ptr<Link>> m_links;
    SegmentPlan m_plan;
    std::int64_t m_total = -1;
    std::string m_requestUrl; // the final address once a redirect has been followed
    std::string m_validator;  // ETag or Last-Modified of the first answer
    std::unique_ptr<LocalFolder> m_folder;
    LocalFile m_file;
    bool m_failed = false;
};

} // namespace tarnis
