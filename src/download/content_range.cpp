#include "download/content_range.h"

#include <charconv>

namespace tarnis {
namespace {

bool readNumber(std::string_view& text, std::int64_t& number) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || next == begin || number < 0)
        return false;
    text.remove_prefix(static_cast<std::size_t>(next - begin));
    return true;
}

bool readChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

std::optional<ContentRange> parseContentRange(std::string_view value) {
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r' || value.back() == '\n'))
        value.remove_suffix(1);
    if (!value.starts_with("bytes"))
        return std::nullopt;
    value.remove_prefix(5);
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);

    ContentRange range;
    if (!readNumber(value, range.first) || !readChar(value, '-') ||
        !readNumber(value, range.last) || !readChar(value, '/'))
        return std::nullopt;
    if (value == "*") {
        range.total = -1;
    } else if (!readNumber(value, range.total) || !value.empty() || range.last >= range.total) {
        return std::nullopt;
    }
    if (range.last < range.first)
        return std::nullopt;
    return range;
}

} // namespace tarnis
