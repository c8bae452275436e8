#pragma once

#include "download/local_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnis {

// Gathers the small blocks one connection receives into larger writes. The bytes it holds
// are always one run that continues the file at a known position; flush before anyone
// reads the file's state.
class WriteBuffer {
public:
    explicit WriteBuffer(std::size_t capacity);

    // False when the file refused a write.
    bool append(LocalFile& file, const char* data, std::size_t size, std::int64_t offset);
    bool flush(LocalFile& file);

private:
    std::vector<char> m_data;
    std::size_t m_used = 0;
    std::int64_t m_offset = 0;
};

} // namespace tarnis
