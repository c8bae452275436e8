#include "settings/url_list_file.h"

#include "platform/gbk_text.h"

namespace tarnis {

void UrlListReader::endLine() {
    if (!m_line.empty() && m_line.back() == '\r')
        m_line.pop_back();
    if (!m_line.empty())
        m_lines.push_back(std::move(m_line));
    m_line.clear();
}

void UrlListReader::feed(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size() && !m_ended) {
        const char byte = bytes[pos];
        if (m_pendingLead) {
            m_pendingLead = false;
            if (byte == '\0') {
                m_ended = true;
                endLine();
                break;
            }
            m_line.push_back(m_leadByte);
            m_line.push_back(byte);
            ++pos;
            continue;
        }
        if (isLeadByte(byte)) {
            m_pendingLead = true;
            m_leadByte = byte;
            ++pos;
            continue;
        }
        if (byte == '\0' || byte == '\x1A') {
            m_ended = true;
            endLine();
            break;
        }
        // Copy the run of plain bytes up to the next one that needs a decision at once:
        // lines of megabytes are then not built byte by byte.
        std::size_t runEnd = pos;
        while (runEnd < bytes.size()) {
            const char c = bytes[runEnd];
            if (c == '\n' || c == '\0' || c == '\x1A' || isLeadByte(c))
                break;
            ++runEnd;
        }
        m_line.append(bytes.substr(pos, runEnd - pos));
        pos = runEnd;
        if (pos < bytes.size() && bytes[pos] == '\n') {
            endLine();
            ++pos;
        }
    }
}

std::vector<std::string> UrlListReader::finish() {
    if (!m_ended) {
        if (m_pendingLead)
            m_line.push_back(m_leadByte);
        m_pendingLead = false;
        m_ended = true;
        endLine();
    }
    return std::move(m_lines);
}

std::vector<std::string> readUrlListLines(std::string_view fileBytes) {
    UrlListReader reader;
    reader.feed(fileBytes);
    return reader.finish();
}

std::string joinUrlList(const std::vector<std::string>& items) {
    std::size_t size = 0;
    for (const std::string& item : items)
        size += item.size() + 2;
    std::string joined;
    joined.reserve(size);
    for (const std::string& item : items)
        joined.append(item).append("\r\n");
    return joined;
}

} // namespace tarnis
