#include "download/http_connection.h"

#include <cctype>
#include <charconv>
#include <curl/curl.h>

namespace tarnis {
namespace {

constexpr long kMaxRedirects = 10;
constexpr const char* kUserAgent = "Tarnis/1.0";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

} // namespace

HttpConnection::HttpConnection(std::int32_t id, ConnectionListener& listener,
                               const ConnectionSettings& settings)
    : m_id(id), m_listener(listener), m_easy(curl_easy_init()) {
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // Redirects may only lead to other web addresses: never to file://, ftp or the like.
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
    curl_easy_setopt(m_easy, CURLOPT_BUFFERSIZE, settings.bufferSize);
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &HttpConnection::onHeaderLine);
    curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &HttpConnection::onBodyData);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_PRIVATE, this);
    if (!settings.referer.empty())
        curl_easy_setopt(m_easy, CURLOPT_REFERER, settings.referer.c_str());
    if (!settings.proxy.empty()) {
        curl_easy_setopt(m_easy, CURLOPT_PROXY, settings.proxy.c_str());
        curl_easy_setopt(m_easy, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
    }
    if (settings.maxReceiveSpeed > 0)
        curl_easy_setopt(m_easy, CURLOPT_MAX_RECV_SPEED_LARGE,
                         static_cast<curl_off_t>(settings.maxReceiveSpeed));
}

HttpConnection::~HttpConnection() {
    curl_easy_cleanup(m_easy);
    curl_slist_free_all(m_requestHeaders);
}

void HttpConnection::prepare(const std::string& url, bool ranged, std::int64_t from,
                             std::int64_t to, const std::string& ifRange) {
    curl_easy_setopt(m_easy, CURLOPT_URL, url.c_str());
    std::string range;
    if (ranged)
        range = std::to_string(from) + "-" + (to < 0 ? std::string() : std::to_string(to - 1));
    curl_easy_setopt(m_easy, CURLOPT_RANGE, ranged ? range.c_str() : nullptr);

    curl_slist* headers = nullptr;
    if (ranged && !ifRange.empty())
        headers = curl_slist_append(headers, ("If-Range: " + ifRange).c_str());
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, headers);
    curl_slist_free_all(m_requestHeaders);
    m_requestHeaders = headers;

    m_headers.clear();
    m_headersComplete = false;
    m_receivedAnything = false;
    m_lastActivity = Clock::now();
}

std::string HttpConnection::header(std::string_view lowerName) const {
    for (const auto& [name, value] : m_headers) {
        if (name == lowerName)
            return value;
    }
    return {};
}

long HttpConnection::responseCode() const {
    long code = 0;
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

std::string HttpConnection::effectiveUrl() const {
    char* url = nullptr;
    curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &url);
    return url != nullptr ? std::string(url) : std::string();
}

std::int64_t HttpConnection::contentLength() const {
    const std::string value = header("content-length");
    std::int64_t length = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || length < 0)
        return -1;
    return length;
}

void HttpConnection::noteActivity() {
    m_lastActivity = Clock::now();
    m_receivedAnything = true;
}

std::size_t HttpConnection::onHeaderLine(char* data, std::size_t size, std::size_t count,
                                         void* self) {
    auto& connection = *static_cast<HttpConnection*>(self);
    const std::size_t total = size * count;
    connection.noteActivity();
    const std::string_view line(data, total);
    if (line.starts_with("HTTP/")) {
        // Every response of a redirect chain starts afresh.
        connection.m_headers.clear();
        connection.m_headersComplete = false;
        return total;
    }
    if (trimmed(line).empty()) {
        // Trailers of a chunked body end with a blank line too; only the first counts.
        if (connection.m_headersComplete)
            return total;
        connection.m_headersComplete = true;
        return connection.m_listener.onResponseHeaders(connection) ? total : 0;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return total;
    std::string name(trimmed(line.substr(0, colon)));
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    connection.m_headers.emplace_back(std::move(name),
                                      std::string(trimmed(line.substr(colon + 1))));
    return total;
}

std::size_t HttpConnection::onBodyData(char* data, std::size_t size, std::size_t count,
                                       void* self) {
    auto& connection = *static_cast<HttpConnection*>(self);
    const std::size_t total = size * count;
    connection.noteActivity();
    return connection.m_listener.onBody(connection, data, total) ? total : 0;
}

} // namespace tarnis
