#include "ui/gif_delays.h"

#include <cstddef>

namespace tarnis {
namespace {

class Bytes {
public:
    explicit Bytes(const QByteArray& data) : m_data(data) {}

    bool has(qsizetype count) const { return m_pos + count <= m_data.size(); }
    unsigned at(qsizetype offset) const {
        return static_cast<unsigned char>(m_data[m_pos + offset]);
    }
    bool skip(qsizetype count) {
        if (!has(count))
            return false;
        m_pos += count;
        return true;
    }
    // Skips a chain of data sub-blocks up to and including its terminator.
    bool skipSubBlocks() {
        while (has(1)) {
            const unsigned size = at(0);
            if (!skip(1 + static_cast<qsizetype>(size)))
                return false;
            if (size == 0)
                return true;
        }
        return false;
    }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

qsizetype colourTableSize(unsigned flags) {
    return (flags & 0x80u) ? 3 * (qsizetype(1) << ((flags & 0x07u) + 1)) : 0;
}

} // namespace

std::vector<int> gifFrameDelays(const QByteArray& data) {
    std::vector<int> delays;
    if (!data.startsWith("GIF87a") && !data.startsWith("GIF89a"))
        return delays;
    Bytes in(data);
    if (!in.skip(6) || !in.has(7))
        return delays;
    const unsigned screenFlags = in.at(4);
    if (!in.skip(7) || !in.skip(colourTableSize(screenFlags)))
        return delays;

    int pendingDelay = 0;
    while (in.has(1)) {
        const unsigned introducer = in.at(0);
        if (introducer == 0x3B) // trailer
            break;
        if (introducer == 0x21) { // extension
            if (!in.has(2))
                break;
            if (in.at(1) == 0xF9 && in.has(8) && in.at(2) == 4)
                pendingDelay = 10 * static_cast<int>(in.at(4) | (in.at(5) << 8));
            if (!in.skip(2) || !in.skipSubBlocks())
                break;
            continue;
        }
        if (introducer != 0x2C || !in.has(10))
            break;
        const unsigned imageFlags = in.at(9);
        // descriptor, local colour table, LZW code size, then the image data
        if (!in.skip(10) || !in.skip(colourTableSize(imageFlags)) || !in.skip(1) ||
            !in.skipSubBlocks())
            break;
        delays.push_back(pendingDelay);
        pendingDelay = 0;
    }
    return delays;
}

} // namespace tarnis
