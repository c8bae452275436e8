#include "download/segment_plan.h"

#include <algorithm>

namespace tarnis {

void SegmentPlan::split(std::int64_t total, int parts) {
    m_segments.clear();
    parts = std::max(parts, 1);
    for (int i = 0; i < parts; ++i) {
        const std::int64_t start = total * i / parts;
        const std::int64_t end = total * (i + 1) / parts;
        m_segments.push_back(Segment{start, start, end});
    }
}

std::optional<int> SegmentPlan::splitLargest(std::int64_t minimumPart) {
    int largest = -1;
    for (int i = 0; i < segmentCount(); ++i) {
        if (largest < 0 || segment(i).remaining() > segment(largest).remaining())
            largest = i;
    }
    if (largest < 0 || segment(largest).remaining() < 2 * minimumPart)
        return std::nullopt;
    Segment& victim = segment(largest);
    const std::int64_t middle = victim.position + victim.remaining() / 2;
    const Segment upper{middle, middle, victim.end};
    victim.end = middle;
    m_segments.push_back(upper);
    return segmentCount() - 1;
}

std::int64_t SegmentPlan::contiguousPrefix() const {
    std::vector<Segment> sorted = m_segments;
    std::sort(sorted.begin(), sorted.end(),
              [](const Segment& a, const Segment& b) { return a.start < b.start; });
    std::int64_t reached = 0;
    for (const Segment& s : sorted) {
        if (s.start > reached)
            break;
        if (!s.done())
            return std::max(reached, s.position);
        reached = std::max(reached, s.end);
    }
    return reached;
}

bool SegmentPlan::allDone() const {
    return std::all_of(m_segments.begin(), m_segments.end(),
                       [](const Segment& s) { return s.done(); });
}

} // namespace tarnis
