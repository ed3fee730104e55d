#pragma once
#include <cstddef>
#include <cstdint>

// What a downloader needs to know of the response whose body it is receiving: the status and
// the byte range the server says it sends. Fed with every header line libcurl passes on; a
// status line starts a new response (a redirection's headers are forgotten).
struct ResponseHead {
    long status = 0;
    bool hasRange = false;
    std::int64_t rangeFirst = -1;  // "Content-Range: bytes first-last/total"
    std::int64_t rangeLast = -1;

    void ReadHeaderLine(const char* line, std::size_t length);
};

// How a response body relates to the bytes the downloader asked for.
enum class BodyFit {
    Expected,      // the asked-for bytes, from the asked-for position
    WholeFile,     // the server ignored the range and sends the file from its first byte
    WrongRange,    // a range other than the one asked for: the body cannot be used
};

// A resumed or whole-file transfer asked for the bytes from `offset` (0: no range asked).
// Local files (status 0) are positioned by the library itself and always fit.
BodyFit FitResumedBody(const ResponseHead& head, std::int64_t offset);
// A segment asked for [first, last]: only a 206 naming exactly that range fits.
BodyFit FitSegmentBody(const ResponseHead& head, std::int64_t first, std::int64_t last);
