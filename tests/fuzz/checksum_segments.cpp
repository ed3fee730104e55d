// The checksum carried in a final download address, and the segment plan of a download of
// any length up to 2^63 - 1. The first eight input bytes are the length, the rest the address.
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "download/Checksum.h"
#include "download/Segments.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void CheckUrlMd5(const std::string& url) {
    const std::string md5 = GetUrlMd5(url);
    FUZZ_CHECK(md5.find('/') == std::string::npos);
    const std::size_t last = url.rfind('/');
    if (md5.empty()) return;
    // The segment just before the last one.
    FUZZ_CHECK(last != std::string::npos && last >= md5.size() + 1);
    FUZZ_CHECK(url.compare(last - md5.size(), md5.size(), md5) == 0);
    FUZZ_CHECK(url[last - md5.size() - 1] == '/');
    // With a 32-character segment the comparison is decided by the file's digest alone.
    if (md5.size() == 32) {
        FUZZ_CHECK(CompareChecksum(md5, md5) == ChecksumVerdict::Match);
        FUZZ_CHECK(CompareChecksum(md5, std::string()) == ChecksumVerdict::Mismatch);
    }
}

void CheckSegments(std::int64_t length) {
    const std::vector<SegmentRange> plan = SplitSegments(length);
    std::int64_t expected = length / kSegmentUnit;
    if (expected < 1) expected = 1;
    if (expected > 2) expected = 2;
    FUZZ_CHECK(static_cast<std::int64_t>(plan.size()) == expected);
    // The ranges cover [0, length) exactly once, in order, each length / n bytes and the last
    // one also the remainder.
    std::int64_t next = 0;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        FUZZ_CHECK(plan[i].first == next);
        FUZZ_CHECK(plan[i].last >= plan[i].first - 1);
        const std::int64_t bytes = plan[i].last - plan[i].first + 1;
        const std::int64_t share = length / expected;
        FUZZ_CHECK(bytes == (i + 1 == plan.size() ? share + length % expected : share));
        next = plan[i].last + 1;
    }
    FUZZ_CHECK(next == length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t raw = 0;
    const std::size_t n = size < 8 ? size : 8;
    for (std::size_t i = 0; i < n; ++i) raw = raw << 8 | data[i];
    // Lengths up to 2^63 - 1, small ones and those near the unit boundaries included.
    const std::int64_t length = static_cast<std::int64_t>(raw & 0x7FFFFFFFFFFFFFFFull);
    CheckSegments(length);
    CheckSegments(length % (3 * kSegmentUnit + 1));
    CheckUrlMd5(FuzzInput::Bytes(data + n, size - n));
    return 0;
}
