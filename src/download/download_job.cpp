#include "download/download_job.h"

#include "download/content_range.h"
#include "download/file_naming.h"
#include "platform/gbk_text.h"

#include <algorithm>
#include <curl/curl.h>
#include <thread>

namespace tarnis {
namespace {

// A part is not split below this size: a new request costs more than it saves.
constexpr std::int64_t kMinimumPart = 64 * 1024;
// Received blocks are gathered per task up to about this many bytes before writing.
constexpr std::size_t kTaskWriteBuffer = 256 * 1024;
constexpr std::size_t kMinimumConnectionBuffer = 32 * 1024;
// How long the loop sleeps at most, so a stop request is seen soon.
constexpr int kPollMs = 20;
constexpr int kRetryStepMs = 10;

std::string positionText(std::int64_t from, std::int64_t to) {
    return std::to_string(from) + "-" + (to < 0 ? std::string() : std::to_string(to - 1));
}

} // namespace

DownloadJob::DownloadJob(DownloadRequest request, std::shared_ptr<TaskProgress> progress,
                         TaskSlot& slot)
    : m_request(std::move(request)), m_progress(std::move(progress)), m_slot(slot),
      m_events(m_request.eventCallback, m_request.messageCallback, m_request.taskId),
      m_requestUrl(m_request.url) {
    const int connections = std::max(m_request.connectionCount, 1);
    long bufferSize = std::min(m_request.receiveBlockSize > 0 ? m_request.receiveBlockSize : 20480,
                               m_request.options.receiveBufferSize);
    if (m_request.speedLimit > 0) {
        // Shared evenly; small reads keep a slow connection from looking silent.
        m_connectionSettings.maxReceiveSpeed = std::max(m_request.speedLimit / connections, 1);
        bufferSize = std::min<long>(bufferSize,
                                    std::max<long>(m_connectionSettings.maxReceiveSpeed / 4, 1024));
    }
    m_connectionSettings.bufferSize = std::clamp<long>(bufferSize, 1024, CURL_MAX_READ_SIZE);
    m_connectionSettings.connectTimeoutMs = std::max(m_request.connectTimeout, 1);
    m_connectionSettings.referer = m_request.referer;
    m_connectionSettings.proxy = m_request.proxy;
}

DownloadJob::~DownloadJob() {
    m_links.clear();
    if (m_multi != nullptr)
        curl_multi_cleanup(m_multi);
}

void DownloadJob::run() {
    m_multi = curl_multi_init();
    if (m_multi == nullptr) {
        failTask("cannot set up the transfer");
    } else {
        startAttempt(addLink(-1));
    }

    while (!m_failed && !m_progress->stopRequested()) {
        int running = 0;
        curl_multi_perform(m_multi, &running);

        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            void* owner = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &owner);
            const CURLcode result = message->data.result;
            Link& link = linkOf(*static_cast<HttpConnection*>(owner));
            onTransferDone(link, result);
        }
        if (m_failed)
            break;

        const Clock::time_point now = Clock::now();
        Clock::time_point nextWake = now + std::chrono::milliseconds(kPollMs);
        bool anyOpen = false;
        for (const auto& link : m_links) {
            if (link->state == LinkState::Running)
                checkSilence(*link, now);
            if (link->state == LinkState::Waiting && link->retryAt <= now)
                startAttempt(*link);
            else if (link->state == LinkState::Idle && link->segment >= 0)
                startAttempt(*link);
            if (link->state == LinkState::Waiting)
                nextWake = std::min(nextWake, link->retryAt);
            anyOpen = anyOpen || link->state != LinkState::Finished;
        }
        if (m_failed || !anyOpen)
            break;

        const auto waitMs = std::chrono::duration_cast<std::chrono::milliseconds>(nextWake - now);
        curl_multi_poll(m_multi, nullptr, 0,
                        static_cast<int>(std::max<std::int64_t>(waitMs.count(), 0)), nullptr);
    }
    finish();
}

DownloadJob::Link& DownloadJob::linkOf(const HttpConnection& connection) {
    return *m_links[static_cast<std::size_t>(connection.id() - 1)];
}

DownloadJob::Link& DownloadJob::addLink(int segment) {
    auto link = std::make_unique<Link>();
    const auto id = static_cast<std::int32_t>(m_links.size() + 1);
    link->http = std::make_unique<HttpConnection>(id, static_cast<ConnectionListener&>(*this),
                                                  m_connectionSettings);
    const std::size_t connections =
        static_cast<std::size_t>(std::max(m_request.connectionCount, 1));
    link->buffer = std::make_unique<WriteBuffer>(
        std::max(kTaskWriteBuffer / connections, kMinimumConnectionBuffer));
    link->segment = segment;
    m_links.push_back(std::move(link));
    return *m_links.back();
}

void DownloadJob::startAttempt(Link& link) {
    bool ranged = false;
    std::int64_t from = 0;
    std::int64_t to = -1;
    if (m_total < 0) {
        // Asking for "0-" on the first request tells whether the server splits the file.
        ranged = m_request.connectionCount > 1;
    } else {
        const SegmentPlan::Segment& part = m_plan.segment(link.segment);
        from = part.position;
        to = part.end;
        ranged = from > 0 || to < m_total;
    }
    link.http->prepare(m_requestUrl, ranged, from, to, m_validator);
    link.responseAccepted = false;
    link.skip = 0;
    link.abort = Abort::None;
    link.abortText.clear();
    link.state = LinkState::Running;
    curl_multi_add_handle(m_multi, link.http->handle());

    const std::int32_t id = link.http->id();
    m_events.raise(DownloadEvent::ConnectionStarted, id);
    m_events.message(id, MessageLevel::Progress, "Connecting to " + m_requestUrl);
    m_events.message(id, MessageLevel::RequestSent,
                     ranged ? "GET " + m_requestUrl + " bytes " + positionText(from, to)
                            : "GET " + m_requestUrl);
}

void DownloadJob::endTransfer(Link& link) {
    curl_multi_remove_handle(m_multi, link.http->handle());
    link.state = LinkState::Idle;
    if (m_file.isOpen() && !link.buffer->flush(m_file))
        failTask(m_file.error());
}

void DownloadJob::onTransferDone(Link& link, int result) {
    endTransfer(link);
    if (m_failed)
        return;
    if (link.abort == Abort::Fatal) {
        failTask(link.abortText);
        return;
    }
    if (m_total >= 0 && link.segment >= 0 && m_plan.segment(link.segment).done()) {
        onSegmentDone(link);
        return;
    }
    const auto code = static_cast<CURLcode>(result);
    // These never get better by asking again.
    if (code == CURLE_TOO_MANY_REDIRECTS || code == CURLE_UNSUPPORTED_PROTOCOL ||
        code == CURLE_URL_MALFORMAT) {
        failTask(std::string("the address cannot be fetched: ") + curl_easy_strerror(code));
        return;
    }
    if (link.abort == Abort::Retry) {
        onAttemptFailed(link, link.abortText);
    } else if (code == CURLE_OK) {
        onAttemptFailed(link, "the answer ended before its part was complete");
    } else {
        onAttemptFailed(link, curl_easy_strerror(code));
    }
}

void DownloadJob::onAttemptFailed(Link& link, const std::string& reason) {
    const std::int32_t id = link.http->id();
    m_events.raise(DownloadEvent::ConnectionFailed, id, positionOf(link));
    if (link.failures >= m_request.options.retryCount) {
        m_events.message(id, MessageLevel::Error, "Connection failed: " + reason + "; giving up");
        failTask("connection " + std::to_string(id) + " gave up");
        return;
    }
    ++link.failures;
    const int wait = retryWaitMs();
    m_events.message(id, MessageLevel::Error,
                     "Connection failed: " + reason + "; retry " + std::to_string(link.failures) +
                         " in " + std::to_string(wait) + " ms");
    link.state = LinkState::Waiting;
    link.retryAt = Clock::now() + std::chrono::milliseconds(wait);
}

void DownloadJob::onSegmentDone(Link& link) {
    const std::int32_t id = link.http->id();
    if (!m_plan.allDone()) {
        // Take over the upper half of the part with the most left, so no connection idles
        // while another still has far to go.
        if (const std::optional<int> taken = m_plan.splitLargest(kMinimumPart)) {
            link.segment = *taken;
            link.segmentAnnounced = true;
            const SegmentPlan::Segment& part = m_plan.segment(*taken);
            m_events.raise(DownloadEvent::SegmentContinued, id, part.start, part.end);
            startAttempt(link);
            return;
        }
    }
    link.state = LinkState::Finished;
    m_events.raise(DownloadEvent::ConnectionEnded, id, positionOf(link));
}

void DownloadJob::checkSilence(Link& link, Clock::time_point now) {
    // Before the first byte the connection may still be connecting (bounded by libcurl's
    // connect timeout); the request itself is one small write that never waits long.
    const int limit = link.http->receivedAnything()
                          ? m_request.receiveTimeout
                          : m_request.connectTimeout + m_request.receiveTimeout;
    if (now - link.http->lastActivity() <= std::chrono::milliseconds(std::max(limit, 1)))
        return;
    endTransfer(link);
    if (!m_failed)
        onAttemptFailed(link, "no data for " + std::to_string(m_request.receiveTimeout) + " ms");
}

void DownloadJob::failTask(const std::string& reason) {
    if (m_failed)
        return;
    m_failed = true;
    m_events.message(0, MessageLevel::Error, "Download failed: " + reason);
}

bool DownloadJob::rejectResponse(Link& link, Abort kind, const std::string& reason) {
    link.abort = kind;
    link.abortText = reason;
    return false;
}

bool DownloadJob::onResponseHeaders(HttpConnection& connection) {
    Link& link = linkOf(connection);
    const long code = connection.responseCode();
    if (code < 200)
        return true; // an interim answer; the real one follows
    if (code >= 300 && code < 400 && !connection.header("location").empty())
        return true; // libcurl follows it
    m_events.message(connection.id(), MessageLevel::ServerResponse,
                     "HTTP " + std::to_string(code) + " from " + connection.effectiveUrl());
    if (code != 200 && code != 206)
        return rejectResponse(link, Abort::Fatal,
                              "the server answered with HTTP " + std::to_string(code));
    return m_total < 0 ? acceptFirstResponse(link, code) : acceptLaterResponse(link, code);
}

bool DownloadJob::acceptFirstResponse(Link& link, long code) {
    HttpConnection& connection = *link.http;
    std::int64_t total = -1;
    bool splittable = false;
    if (code == 206) {
        const std::optional<ContentRange> range =
            parseContentRange(connection.header("content-range"));
        if (!range || range->first != 0 || range->total < 0)
            return rejectResponse(link, Abort::Retry, "the server sent an unusable Content-Range");
        total = range->total;
        splittable = true;
    } else {
        total = connection.contentLength();
        if (total < 0)
            return rejectResponse(link, Abort::Fatal, "the server announces no size");
    }
    m_validator = validatorOf(connection);
    m_requestUrl = connection.effectiveUrl();

    m_events.raise(DownloadEvent::SegmentStarted, connection.id(), 0, total);
    link.segmentAnnounced = true;
    if (!prepareLocalFile(link, total))
        return false;
    m_total = total;

    int parts = 1;
    if (splittable && m_request.connectionCount > 1)
        parts = static_cast<int>(
            std::clamp<std::int64_t>(total / kMinimumPart, 1, m_request.connectionCount));
    m_plan.split(total, parts);
    link.segment = 0;
    // The other connections start from the task's loop: libcurl takes no new transfer
    // from inside one of its callbacks.
    for (int i = 1; i < parts; ++i)
        addLink(i);
    link.responseAccepted = true;
    return true;
}

bool DownloadJob::acceptLaterResponse(Link& link, long code) {
    HttpConnection& connection = *link.http;
    const SegmentPlan::Segment& part = m_plan.segment(link.segment);
    const std::string validator = validatorOf(connection);
    if (!m_validator.empty() && !validator.empty() && validator != m_validator)
        return rejectResponse(link, Abort::Fatal, "the file changed on the server");
    if (code == 206) {
        const std::optional<ContentRange> range =
            parseContentRange(connection.header("content-range"));
        if (!range || range->first != part.position || range->total != m_total)
            return rejectResponse(link, Abort::Retry,
                                  "the server sent a part other than the one asked for");
    } else {
        const std::int64_t length = connection.contentLength();
        if (length >= 0 && length != m_total)
            return rejectResponse(link, Abort::Fatal, "the file changed on the server");
        // The whole file again: what is already on disk is passed over, not written twice.
        link.skip = part.position;
    }
    if (!link.segmentAnnounced) {
        m_events.raise(DownloadEvent::SegmentStarted, connection.id(), part.position, part.end);
        link.segmentAnnounced = true;
    }
    link.responseAccepted = true;
    return true;
}

bool DownloadJob::prepareLocalFile(Link& link, std::int64_t total) {
    const std::int32_t id = link.http->id();
    m_folder = std::make_unique<LocalFolder>(m_request.folder);
    if (!m_folder->isOpen())
        return rejectResponse(link, Abort::Fatal, "the target folder cannot be opened");

    std::string name =
        m_request.fixedName.empty()
            ? chooseDownloadName(link.http->header("content-disposition"), m_requestUrl)
            : m_request.fixedName;
    if (name.empty() || name == "." || name == "..")
        return rejectResponse(link, Abort::Fatal, "the file name is not usable");

    LocalFile::OpenResult opened = m_file.createNew(*m_folder, name);
    if (opened == LocalFile::OpenResult::NameTaken) {
        const std::int64_t existing = m_folder->entrySize(name).value_or(0);
        const std::int32_t answer = m_events.raise(DownloadEvent::FileExists, id, existing, total);
        if (answer == static_cast<std::int32_t>(FileExistsAnswer::ChooseFreeName)) {
            for (int tries = 0; opened == LocalFile::OpenResult::NameTaken; ++tries) {
                const std::optional<std::string> next = nextNumberedName(name);
                if (!next || tries >= kMaxNumberedNameTries)
                    return rejectResponse(link, Abort::Fatal, "no free file name is left");
                name = *next;
                opened = m_file.createNew(*m_folder, name);
            }
        } else if (answer == static_cast<std::int32_t>(FileExistsAnswer::ReusePath)) {
            opened = m_file.openExisting(*m_folder, name);
        } else {
            return rejectResponse(link, Abort::Fatal, "a file of that name exists and is kept");
        }
    }
    if (opened != LocalFile::OpenResult::Opened)
        return rejectResponse(link, Abort::Fatal, m_file.error());
    if (!m_file.allocate(total)) {
        const std::string error = m_file.error();
        m_file.discardCreated(*m_folder);
        return rejectResponse(link, Abort::Fatal, error);
    }

    m_progress->setLocalPath(m_request.folderGbk + utf8ToGbk(name));
    m_events.message(id, MessageLevel::Progress,
                     "Saving " + std::to_string(total) + " bytes as " + m_request.folder + name);
    m_events.raise(DownloadEvent::TotalSize, id, total);
    return true;
}

bool DownloadJob::onBody(HttpConnection& connection, const char* data, std::size_t size) {
    Link& link = linkOf(connection);
    if (!link.responseAccepted)
        return rejectResponse(link, Abort::Retry, "the answer carried no usable headers");
    if (link.skip > 0) {
        const auto skipped = static_cast<std::size_t>(std::min<std::int64_t>(link.skip, size));
        link.skip -= static_cast<std::int64_t>(skipped);
        data += skipped;
        size -= skipped;
        if (size == 0)
            return true;
    }
    SegmentPlan::Segment& part = m_plan.segment(link.segment);
    // Bytes past the part (another connection has it) or past the announced size are
    // never written.
    const auto taken = static_cast<std::size_t>(std::min<std::int64_t>(part.remaining(), size));
    if (taken > 0) {
        if (!link.buffer->append(m_file, data, taken, part.position))
            return rejectResponse(link, Abort::Fatal, m_file.error());
        part.position += static_cast<std::int64_t>(taken);
        m_progress->addReceived(static_cast<std::int64_t>(taken));
        m_events.raise(DownloadEvent::DataReceived, connection.id(),
                       static_cast<std::int64_t>(taken));
    }
    if (taken < size) {
        link.abort = Abort::PartReached;
        return false;
    }
    return true;
}

std::string DownloadJob::validatorOf(const HttpConnection& connection) const {
    // Weak ETags may not guard a range request.
    const std::string etag = connection.header("etag");
    if (!etag.empty() && !etag.starts_with("W/"))
        return etag;
    return connection.header("last-modified");
}

std::int64_t DownloadJob::positionOf(const Link& link) const {
    return m_total >= 0 && link.segment >= 0 ? m_plan.segment(link.segment).position : 0;
}

int DownloadJob::retryWaitMs() const {
    const int steps = std::max(m_request.options.retryWait / kRetryStepMs, 1);
    return steps * kRetryStepMs;
}

void DownloadJob::finish() {
    for (const auto& link : m_links) {
        if (link->state == LinkState::Running) {
            endTransfer(*link);
            m_events.raise(DownloadEvent::ConnectionFailed, link->http->id(), positionOf(*link));
        }
    }
    for (const auto& link : m_links) {
        if (m_file.isOpen() && !link->buffer->flush(m_file))
            failTask(m_file.error());
    }
    const bool complete = !m_failed && m_total >= 0 && m_plan.allDone();
    if (m_file.isOpen()) {
        // A file cut to what arrived in order never looks complete when it is not.
        if (!complete)
            m_file.cutTo(m_plan.contiguousPrefix());
        m_file.close();
    }
    m_progress->markConnectionsEnded();
    const std::int64_t received = m_progress->doneLength();

    if (complete)
        m_events.message(0, MessageLevel::Progress, "Download complete");
    else if (!m_failed)
        m_events.message(0, MessageLevel::Progress, "Download stopped");
    // The object must be free again before the caller hears of the end.
    m_slot.detach(m_progress.get());
    m_events.raise(DownloadEvent::TaskEnded, 0, complete ? m_total : received);
}

} // namespace tarnis
