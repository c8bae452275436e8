#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarnis {

// "bytes first-last/total" of a 206 answer; total is -1 for "*".
struct ContentRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t total = -1;
};

std::optional<ContentRange> parseContentRange(std::string_view value);

} // namespace tarnis
