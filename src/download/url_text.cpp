#include "download/url_text.h"

#include <algorithm>
#include <cctype>

namespace tarnis {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

// Where the part after "scheme://" starts; npos when there is no scheme separator.
std::size_t authorityStart(std::string_view url) {
    const std::size_t pos = url.find("://");
    return pos == std::string_view::npos ? pos : pos + 3;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool isAcceptedUrl(std::string_view url) {
    if (!startsWithNoCase(url, "http://") && !startsWithNoCase(url, "https://"))
        return false;
    const std::size_t hostStart = authorityStart(url);
    const std::size_t slash = url.find('/', hostStart);
    if (slash == std::string_view::npos || slash == hostStart)
        return false;
    const std::string_view host = url.substr(hostStart, slash - hostStart);
    // A query, fragment or blank before the first '/' means there is no path after the host.
    return std::none_of(host.begin(), host.end(), [](char c) {
        return c == '?' || c == '#' || static_cast<unsigned char>(c) <= 0x20;
    });
}

std::string encodeUrlForRequest(std::string_view url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0f];
        } else {
            out += c;
        }
    }
    return out;
}

std::string defaultReferer(std::string_view url) {
    const std::size_t slash = url.rfind('/');
    return slash == std::string_view::npos ? std::string(url)
                                           : std::string(url.substr(0, slash + 1));
}

std::string lastPathSegment(std::string_view url) {
    std::size_t start = authorityStart(url);
    if (start == std::string_view::npos)
        start = 0;
    std::string_view rest = url.substr(start);
    rest = rest.substr(0, rest.find_first_of("?#"));
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::string_view path = rest.substr(slash);
    const std::string_view segment = path.substr(path.rfind('/') + 1);

    std::string decoded;
    decoded.reserve(segment.size());
    for (std::size_t i = 0; i < segment.size(); ++i) {
        const char c = segment[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < segment.size() && hexValue(segment[i + 1]) >= 0 &&
                   hexValue(segment[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(segment[i + 1]) * 16 + hexValue(segment[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

std::string proxyAddress(std::string_view proxy) {
    std::string address(proxy);
    // An IPv6 literal carries colons of its own; its port follows the closing bracket.
    const std::size_t hostEnd = address.starts_with('[') ? address.find(']') : 0;
    const bool hasPort =
        address.find(':', hostEnd == std::string::npos ? 0 : hostEnd) != std::string::npos;
    if (!hasPort)
        address += ":80";
    return address;
}

} // namespace tarnis
