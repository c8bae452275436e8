#include "download/write_buffer.h"

#include <cstring>

namespace tarnis {

WriteBuffer::WriteBuffer(std::size_t capacity) : m_data(capacity) {}

bool WriteBuffer::append(LocalFile& file, const char* data, std::size_t size, std::int64_t offset) {
    const bool continuesRun = m_used > 0 && m_offset + static_cast<std::int64_t>(m_used) == offset;
    if (m_used > 0 && (!continuesRun || m_used + size > m_data.size())) {
        if (!flush(file))
            return false;
    }
    if (size >= m_data.size())
        return file.writeAt(data, size, offset);
    if (m_used == 0)
        m_offset = offset;
    std::memcpy(m_data.data() + m_used, data, size);
    m_used += size;
    return true;
}

bool WriteBuffer::flush(LocalFile& file) {
    if (m_used == 0)
        return true;
    const std::size_t used = m_used;
    m_used = 0;
    return file.writeAt(m_data.data(), used, m_offset);
}

} // namespace tarnis
