// Response header lines as libcurl hands them on (one per input line, its line end kept), and
// how the body of that response fits the bytes a downloader asked for.
#include <cstdint>
#include <cstring>
#include <string>

#include "download/ResponseHead.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string block = FuzzInput::Bytes(data, size);
    ResponseHead head;
    std::size_t start = 0;
    while (start < block.size()) {
        std::size_t end = block.find('\n', start);
        end = end == std::string::npos ? block.size() : end + 1;
        // The line on its own, so that a read past its end is caught.
        const std::string line = block.substr(start, end - start);
        head.ReadHeaderLine(line.data(), line.size());
        start = end;

        FUZZ_CHECK(head.status >= 0 && head.status < 1000);
        if (head.hasRange) FUZZ_CHECK(head.rangeFirst >= 0 && head.rangeFirst <= head.rangeLast);
        else FUZZ_CHECK(head.rangeFirst == -1 && head.rangeLast == -1);

        if (head.status == 0) {
            FUZZ_CHECK(FitResumedBody(head, 5) == BodyFit::Expected);
        } else if (head.status == 206) {
            FUZZ_CHECK((FitResumedBody(head, 0) == BodyFit::Expected) ==
                       (head.hasRange && head.rangeFirst == 0));
            if (head.hasRange)
                FUZZ_CHECK(FitSegmentBody(head, head.rangeFirst, head.rangeLast) ==
                           BodyFit::Expected);
            FUZZ_CHECK(FitSegmentBody(head, -1, -1) == BodyFit::WrongRange);
        } else {
            FUZZ_CHECK(FitResumedBody(head, 0) == BodyFit::Expected);
            FUZZ_CHECK(FitResumedBody(head, 1) == BodyFit::WholeFile);
            FUZZ_CHECK(FitSegmentBody(head, 0, 9) == BodyFit::WholeFile);
        }
    }
    return 0;
}
