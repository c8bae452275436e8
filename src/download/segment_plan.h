#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tarnis {

// This class holds which connection fetches which part of the file and how far each part
// has got. Parts together always cover the file from 0 to its total without overlap.
class SegmentPlan {
public:
    struct Segment {
        std::int64_t start = 0;
        std::int64_t position = 0; // next byte to fetch
        std::int64_t end = 0;      // one past the last byte of the part
        bool done() const { return position >= end; }
        std::int64_t remaining() const { return end - position; }
    };

    // Splits [0, total) into `parts` nearly equal parts, part i for connection i.
    void split(std::int64_t total, int parts);

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    Segment& segment(int index) { return m_segments[static_cast<std::size_t>(index)]; }
    const Segment& segment(int index) const { return m_segments[static_cast<std::size_t>(index)]; }

    // Halves the unfinished part with the most bytes left, unless that is less than
    // 2 * minimumPart, and returns the index of the new upper half.
    std::optional<int> splitLargest(std::int64_t minimumPart);

    // Bytes from the start of the file that have all been fetched.
    std::int64_t contiguousPrefix() const;
    bool allDone() const;

private:
    std::vector<Segment> m_segments;
};

} // namespace tarnis
