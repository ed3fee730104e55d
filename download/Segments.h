#pragma once
#include <cstdint>
#include <vector>

// Byte ranges of the segmented download: the length divided by 10 MiB, at least one and at
// most two segments, each length / n bytes and the last one also the remainder.
struct SegmentRange {
    std::int64_t first;  // first byte
    std::int64_t last;   // last byte, inclusive
};
std::vector<SegmentRange> SplitSegments(std::int64_t length);

const std::int64_t kSegmentUnit = 10485760;
