#include "download/Segments.h"

std::vector<SegmentRange> SplitSegments(std::int64_t length) {
    std::int64_t n = length / kSegmentUnit;
    if (n < 1) n = 1;
    if (n > 2) n = 2;
    std::vector<SegmentRange> ranges;
    std::int64_t offset = 0;
    for (std::int64_t i = 0; i < n; ++i) {
        std::int64_t size = length / n;
        if (i == n - 1) size += length % n;
        ranges.push_back({offset, offset + size - 1});
        offset += size;
    }
    return ranges;
}
