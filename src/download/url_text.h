#pragma once

#include <string>
#include <string_view>

namespace tarnis {

// Address handling that needs no network: which addresses a task accepts and the texts a
// request derives from them. All texts here are UTF-8.

// http:// or https:// (any letter case), a host, then a '/'.
bool isAcceptedUrl(std::string_view url);

// The address as libcurl gets it: bytes that may not stand in a URL (blanks, control
// characters, non-ASCII) are percent-encoded, everything else is kept.
std::string encodeUrlForRequest(std::string_view url);

// The address up to and including its last '/', sent as Referer when none is given.
std::string defaultReferer(std::string_view url);

// The last segment of the address's path (no query, no fragment), %xx decoded and '+' read
// as a blank. The result holds raw bytes and may be empty.
std::string lastPathSegment(std::string_view url);

// "host[:port]" with port 80 when none is given, as libcurl's proxy option wants it.
std::string proxyAddress(std::string_view proxy);

} // namespace tarnis
