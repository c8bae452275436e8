#include "test_http_server.h"

#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnis::test {
namespace {

constexpr int kPollMs = 50;
constexpr std::size_t kMaxRequestBytes = 64 * 1024;

const char* reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 404:
        return "Not Found";
    case 416:
        return "Range Not Satisfiable";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// "bytes=a-b" or "bytes=a-" within a body of `size` bytes; false when unusable.
bool parseRange(const std::string& value, std::int64_t size, std::int64_t& first,
                std::int64_t& last) {
    if (value.rfind("bytes=", 0) != 0 || value.find(',') != std::string::npos)
        return false;
    const std::string byteRange = value.substr(6);
    const std::size_t dash = byteRange.find('-');
    if (dash == std::string::npos || dash == 0)
        return false;
    try {
        first = std::stoll(byteRange.substr(0, dash));
        last = dash + 1 < byteRange.size() ? std::stoll(byteRange.substr(dash + 1)) : size - 1;
    } catch (const std::exception&) {
        return false;
    }
    if (last >= size)
        last = size - 1;
    return first >= 0 && first <= last;
}

void resetConnection(int socket) {
    linger option{1, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &option, sizeof option);
}

} // namespace

std::string RecordedRequest::header(const std::string& lowerName) const {
    const auto it = headers.find(lowerName);
    return it == headers.end() ? std::string() : it->second;
}

TestHttpServer::TestHttpServer() {
    m_listenSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (m_listenSocket < 0 ||
        ::bind(m_listenSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenSocket, 64) != 0 ||
        ::getsockname(m_listenSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("the test server cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { acceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_acceptThread.join();
    for (std::thread& connection : m_connections)
        connection.join();
    ::close(m_listenSocket);
}

std::string TestHttpServer::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::string TestHttpServer::url(const std::string& path) const {
    return baseUrl() + path;
}

void TestHttpServer::addFile(const std::string& path, std::string content) {
    Route route;
    route.body = std::move(content);
    addRoute(path, std::move(route));
}

void TestHttpServer::addRoute(const std::string& path, Route route) {
    const std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(route);
}

void TestHttpServer::addRedirect(const std::string& path, const std::string& location, int status) {
    Route route;
    route.status = status;
    route.headers.push_back("Location: " + location);
    route.ranges = Route::Ranges::None;
    addRoute(path, std::move(route));
}

int TestHttpServer::requestCount(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto it = m_requests.find(path);
    return it == m_requests.end() ? 0 : static_cast<int>(it->second.size());
}

std::vector<RecordedRequest> TestHttpServer::requests(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto it = m_requests.find(path);
    return it == m_requests.end() ? std::vector<RecordedRequest>() : it->second;
}

void TestHttpServer::acceptLoop() {
    while (!m_stopping) {
        pollfd waiting{m_listenSocket, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int socket = ::accept4(m_listenSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        const std::lock_guard lock(m_mutex);
        m_connections.emplace_back([this, socket] {
            serve(socket);
            ::close(socket);
        });
    }
}

void TestHttpServer::serve(int socket) {
    std::string received;
    char buffer[4096];
    while (received.find("\r\n\r\n") == std::string::npos) {
        if (m_stopping || received.size() > kMaxRequestBytes)
            return;
        pollfd waiting{socket, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const ssize_t count = ::recv(socket, buffer, sizeof buffer, 0);
        if (count <= 0)
            return;
        received.append(buffer, static_cast<std::size_t>(count));
    }

    RecordedRequest request;
    const std::string head = received.substr(0, received.find("\r\n\r\n"));
    std::size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const std::size_t firstBlank = requestLine.find(' ');
    const std::size_t secondBlank = requestLine.find(' ', firstBlank + 1);
    request.method = requestLine.substr(0, firstBlank);
    request.target = requestLine.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    while (lineEnd != std::string::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd - start);
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos)
            request.headers[lowered(trimmed(line.substr(0, colon)))] =
                trimmed(line.substr(colon + 1));
    }
    answer(socket, request);
}

void TestHttpServer::answer(int socket, const RecordedRequest& request) {
    const std::string path = request.target.substr(0, request.target.find('?'));
    Route route;
    bool known = false;
    int index = 0;
    {
        const std::lock_guard lock(m_mutex);
        std::vector<RecordedRequest>& seen = m_requests[path];
        index = static_cast<int>(seen.size());
        seen.push_back(request);
        const auto it = m_routes.find(path);
        known = it != m_routes.end();
        if (known)
            route = it->second;
    }
    if (!known) {
        route.status = 404;
        route.body = "not found";
        route.ranges = Route::Ranges::None;
    }
    if (index < route.resetTimes) {
        resetConnection(socket);
        return;
    }

    int status = route.status;
    std::int64_t first = 0;
    std::int64_t last = static_cast<std::int64_t>(route.body.size()) - 1;
    const auto size = static_cast<std::int64_t>(route.body.size());
    std::string head;
    const std::string rangeHeader = request.header("range");
    const std::string ifRange = request.header("if-range");
    const bool rangeApplies = route.ranges == Route::Ranges::Honour && status == 200 &&
                              !rangeHeader.empty() && (ifRange.empty() || ifRange == route.etag);
    if (rangeApplies && parseRange(rangeHeader, size, first, last)) {
        status = 206;
        head += "Content-Range: bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
                std::to_string(size) + "\r\n";
    } else {
        first = 0;
        last = size - 1;
    }
    const std::int64_t length = last - first + 1;
    std::string response =
        "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
    response += head;
    if (route.contentLength)
        response += "Content-Length: " +
                    std::to_string(route.announcedLength >= 0 ? route.announcedLength : length) +
                    "\r\n";
    if (route.ranges != Route::Ranges::None)
        response += "Accept-Ranges: bytes\r\n";
    if (!route.etag.empty())
        response += "ETag: " + route.etag + "\r\n";
    for (const std::string& line : route.headers)
        response += line + "\r\n";
    response += "Connection: close\r\n\r\n";
    if (!sendAll(socket, response.data(), response.size()))
        return;
    if (request.method == "HEAD")
        return;

    const char* body = route.body.data() + first;
    std::int64_t toSend = length;
    if (index < route.cutTimes && route.cutAfter >= 0 && route.cutAfter < toSend)
        toSend = route.cutAfter;
    const bool stalls = index < route.stallTimes && route.stallAfter >= 0;
    const std::size_t trickle = index < route.trickleTimes ? route.trickleBytes : 0;
    std::int64_t sent = 0;
    while (sent < toSend) {
        std::int64_t piece = toSend - sent;
        if (stalls && sent < route.stallAfter)
            piece = std::min(piece, route.stallAfter - sent);
        if (trickle > 0)
            piece = std::min<std::int64_t>(piece, static_cast<std::int64_t>(trickle));
        if (!sendAll(socket, body + sent, static_cast<std::size_t>(piece)))
            return;
        sent += piece;
        if (stalls && sent == route.stallAfter && !pause(route.stallMs))
            return;
        if (trickle > 0 && sent < toSend && !pause(route.trickleMs))
            return;
    }
}

bool TestHttpServer::sendAll(int socket, const char* data, std::size_t size) {
    while (size > 0) {
        if (m_stopping)
            return false;
        pollfd waiting{socket, POLLOUT, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const ssize_t count = ::send(socket, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

bool TestHttpServer::pause(int ms) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms),
                            [this] { return m_stopping.load(); });
}

} // namespace tarnis::test
