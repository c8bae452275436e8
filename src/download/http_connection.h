#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

typedef void CURL;
struct curl_slist;

namespace tarnis {

class HttpConnection;

// What a connection reports while libcurl drives it. Returning false aborts the transfer.
class ConnectionListener {
public:
    virtual bool onResponseHeaders(HttpConnection& connection) = 0;
    virtual bool onBody(HttpConnection& connection, const char* data, std::size_t size) = 0;

protected:
    ~ConnectionListener() = default;
};

struct ConnectionSettings {
    long bufferSize = 20480; // the most bytes one read hands over
    long connectTimeoutMs = 20000;
    std::string referer;
    std::string proxy; // host:port, empty for a direct connection
    std::int64_t maxReceiveSpeed = 0;
};

// One libcurl easy handle of a task, used only on that task's thread. It keeps the header
// values of the response now arriving and the time of the last byte received.
class HttpConnection {
public:
    using Clock = std::chrono::steady_clock;

    HttpConnection(std::int32_t id, ConnectionListener& listener,
                   const ConnectionSettings& settings);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    // Sets up the next request: bytes [from, to) when ranged (to < 0: to the end), the
    // whole resource otherwise; `ifRange` guards a ranged request against a changed file.
    void prepare(const std::string& url, bool ranged, std::int64_t from, std::int64_t to,
                 const std::string& ifRange);

    CURL* handle() const { return m_easy; }
    std::int32_t id() const { return m_id; }

    // The value of a header of the current response (name in lower case); empty if absent.
    std::string header(std::string_view lowerName) const;
    long responseCode() const;
    std::string effectiveUrl() const;
    // Content-Length of the current response; -1 when it announces none.
    std::int64_t contentLength() const;

    Clock::time_point lastActivity() const { return m_lastActivity; }
    bool receivedAnything() const { return m_receivedAnything; }

private:
    static std::size_t onHeaderLine(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onBodyData(char* data, std::size_t size, std::size_t count, void* self);
    void noteActivity();

    std::int32_t m_id;
    ConnectionListener& m_listener;
    CURL* m_easy = nullptr;
    curl_slist* m_requestHeaders = nullptr;
    std::vector<std::pair<std::string, std::string>> m_headers;
    bool m_headersComplete = false;
    bool m_receivedAnything = false;
    Clock::time_point m_lastActivity = Clock::now();
};

} // namespace tarnis
