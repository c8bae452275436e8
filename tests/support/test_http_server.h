#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarnis::test {

// How the server answers requests for one path. The defaults serve `body` as a plain file
// that honours byte ranges.
struct Route {
    enum class Ranges {
        Honour, // Accept-Ranges: bytes, a Range request gets 206
        Ignore, // claims Accept-Ranges: bytes but always sends the whole body with 200
        None,   // no Accept-Ranges, always 200
    };

    int status = 200;
    std::string body;
    std::vector<std::string> headers; // extra header lines, "Name: value"
    Ranges ranges = Ranges::Honour;
    bool contentLength = true;         // false: the body ends when the connection closes
    std::int64_t announcedLength = -1; // Content-Length to claim instead of the true one
    std::string etag;                  // sent as ETag; an If-Range that differs gets the whole body
    // The first `cutTimes` answers close the connection after `cutAfter` body bytes.
    std::int64_t cutAfter = -1;
    int cutTimes = 1;
    // The first `stallTimes` answers pause for `stallMs` after `stallAfter` body bytes.
    std::int64_t stallAfter = -1;
    int stallMs = 0;
    int stallTimes = 1;
    // The first `trickleTimes` answers send the body in pieces of `trickleBytes` with
    // `trickleMs` between them.
    std::size_t trickleBytes = 0;
    int trickleMs = 0;
    int trickleTimes = 1 << 30;
    // The first `resetTimes` requests are answered with a TCP reset and nothing else.
    int resetTimes = 0;
};

struct RecordedRequest {
    std::string method;
    std::string target;
    std::map<std::string, std::string> headers; // names in lower case
    std::string header(const std::string& lowerName) const;
};

// An HTTP/1.1 server on 127.0.0.1 with an ephemeral port, running on threads of its own
// inside the test process, answering every path as scripted. Unknown paths get 404.
class TestHttpServer {
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:<port>"
    std::string baseUrl() const;
    // baseUrl() + path; the path starts with '/'
    std::string url(const std::string& path) const;

    // Replaces whatever the path served before.
    void addFile(const std::string& path, std::string content);
    void addRoute(const std::string& path, Route route);
    void addRedirect(const std::string& path, const std::string& location, int status = 302);

    int requestCount(const std::string& path) const;
    std::vector<RecordedRequest> requests(const std::string& path) const;

private:
    void acceptLoop();
    void serve(int socket);
    void answer(int socket, const RecordedRequest& request);
    bool sendAll(int socket, const char* data, std::size_t size);
    bool pause(int ms);

    int m_listenSocket = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, Route> m_routes;
    std::map<std::string, std::vector<RecordedRequest>> m_requests;
    std::vector<std::thread> m_connections;
    std::thread m_acceptThread;
};

} // namespace tarnis::test
