#include "download/ResponseHead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download/Checksum.h"

namespace {

ResponseHead Read(const std::vector<std::string>& lines) {
    ResponseHead head;
    for (const std::string& line : lines) head.ReadHeaderLine(line.data(), line.size());
    return head;
}

TEST(ResponseHeadTest, ReadsStatusAndRangeOfTheLastResponse) {
    const struct {
        std::vector<std::string> lines;
        long status;
        bool hasRange;
        long long first, last;
    } cases[] = {
        {{"HTTP/1.1 206 Partial Content\r\n", "Content-Range: bytes 100-199/1000\r\n"},
         206, true, 100, 199},
        {{"HTTP/1.1 206 Partial Content\r\n", "content-range:bytes 0-0/1\r\n"}, 206, true, 0, 0},
        // a redirection's headers are forgotten once the next response begins
        {{"HTTP/1.1 302 Found\r\n", "Content-Range: bytes 5-9/10\r\n", "HTTP/1.1 200 OK\r\n"},
         200, false, -1, -1},
        {{"HTTP/2 206\r\n", "Content-Range: bytes 7-8/9\r\n"}, 206, true, 7, 8},
        {{"HTTP/1.1 206 x\r\n", "Content-Range: bytes 9-8/10\r\n"}, 206, false, -1, -1},
        {{"HTTP/1.1 206 x\r\n", "Content-Range: bytes */10\r\n"}, 206, false, -1, -1},
        {{"HTTP/1.1 206 x\r\n", "Content-Range: items 1-2/3\r\n"}, 206, false, -1, -1},
        {{"HTTP/1.1 206 x\r\n", "Content-Range: bytes 99999999999999999999-1/2\r\n"}, 206,
         false, -1, -1},
        {{"garbage"}, 0, false, -1, -1},
        {{"HTTP/1.1 abc\r\n"}, 0, false, -1, -1},
    };
    for (const auto& c : cases) {
        const ResponseHead head = Read(c.lines);
        EXPECT_EQ(head.status, c.status) << c.lines.back();
        EXPECT_EQ(head.hasRange, c.hasRange) << c.lines.back();
        EXPECT_EQ(head.rangeFirst, c.first) << c.lines.back();
        EXPECT_EQ(head.rangeLast, c.last) << c.lines.back();
    }
}

TEST(ResponseHeadTest, BodyFitsOnlyTheRangeAskedFor) {
    const ResponseHead whole = Read({"HTTP/1.1 200 OK\r\n"});
    const ResponseHead from100 = Read({"HTTP/1.1 206 P\r\n", "Content-Range: bytes 100-999/1000\r\n"});
    const ResponseHead noRange = Read({"HTTP/1.1 206 P\r\n"});
    const ResponseHead local;  // a "file:///" answer has no status
    EXPECT_EQ(FitResumedBody(whole, 0), BodyFit::Expected);
    EXPECT_EQ(FitResumedBody(whole, 100), BodyFit::WholeFile);
    EXPECT_EQ(FitResumedBody(from100, 100), BodyFit::Expected);
    EXPECT_EQ(FitResumedBody(from100, 101), BodyFit::WrongRange);
    EXPECT_EQ(FitResumedBody(noRange, 100), BodyFit::WrongRange);
    EXPECT_EQ(FitResumedBody(local, 100), BodyFit::Expected);
    EXPECT_EQ(FitSegmentBody(from100, 100, 999), BodyFit::Expected);
    EXPECT_EQ(FitSegmentBody(from100, 100, 998), BodyFit::WrongRange);
    EXPECT_EQ(FitSegmentBody(from100, 0, 999), BodyFit::WrongRange);
    EXPECT_EQ(FitSegmentBody(whole, 0, 999), BodyFit::WholeFile);
    EXPECT_EQ(FitSegmentBody(local, 0, 999), BodyFit::Expected);
}

TEST(ChecksumVerdictTest, FailsClosed) {
    const std::string md5 = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(CompareChecksum(md5, md5), ChecksumVerdict::Match);
    EXPECT_EQ(CompareChecksum(md5, "1123456789abcdef0123456789abcdef"), ChecksumVerdict::Mismatch);
    EXPECT_EQ(CompareChecksum("0123456789ABCDEF0123456789ABCDEF", md5), ChecksumVerdict::Mismatch);
    // a file that could not be read has no digest: no match
    EXPECT_EQ(CompareChecksum(md5, ""), ChecksumVerdict::Mismatch);
    EXPECT_EQ(CompareChecksum("", md5), ChecksumVerdict::Missing);
    EXPECT_EQ(CompareChecksum("abc", ""), ChecksumVerdict::Missing);
}

}  // namespace
