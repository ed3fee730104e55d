#include "download/Checksum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "download/Md5.h"
#include "download/Segments.h"

namespace {

TEST(Md5Test, Rfc1321Vectors) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) {
        Md5 md5;
        md5.Update(c.input.data(), c.input.size());
        EXPECT_EQ(md5.HexDigest(), c.digest) << c.input;
    }
}

TEST(Md5Test, PiecewiseUpdatesEqualOneUpdate) {
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + i / 7);
    Md5 whole;
    whole.Update(data.data(), data.size());
    Md5 pieces;
    for (size_t at = 0, step = 1; at < data.size(); at += step, step = step * 3 % 997 + 1)
        pieces.Update(data.data() + at, std::min(step, data.size() - at));
    EXPECT_EQ(pieces.HexDigest(), whole.HexDigest());
}

TEST(ChecksumTest, UrlMd5IsSecondToLastSegment) {
    const struct {
        const char* url;
        const char* md5;
    } cases[] = {
        {"http://h/files/0123456789abcdef0123456789abcdef/pkg.exe",
         "0123456789abcdef0123456789abcdef"},
        {"http://h.example/pkg.exe", "h.example"},
        {"http://h/a/b/c?x=1", "b"},
        {"pkg.exe", ""},
        {"/pkg.exe", ""},
        {"", ""},
        {"http://h/files/ABC/", "ABC"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetUrlMd5(c.url), c.md5) << c.url;
}

TEST(ChecksumTest, FileMd5) {
    const std::string path = testing::TempDir() + "checksum-test.bin";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(GetFileMd5(path), "d41d8cd98f00b204e9800998ecf8427e");
    f = std::fopen(path.c_str(), "wb");
    std::fputs("abc", f);
    std::fclose(f);
    EXPECT_EQ(GetFileMd5(path), "900150983cd24fb0d6963f7d28e17f72");
    std::remove(path.c_str());
    EXPECT_EQ(GetFileMd5(path), "");
    EXPECT_EQ(GetFileMd5(""), "");
}

TEST(SegmentsTest, RangesByLength) {
    const struct {
        std::int64_t length;
        std::vector<SegmentRange> ranges;
    } cases[] = {
        {256, {{0, 255}}},
        {20971519, {{0, 20971518}}},
        {20971520, {{0, 10485759}, {10485760, 20971519}}},
        {25000001, {{0, 12499999}, {12500000, 25000000}}},
        {104857600, {{0, 52428799}, {52428800, 104857599}}},
    };
    for (const auto& c : cases) {
        const auto ranges = SplitSegments(c.length);
        ASSERT_EQ(ranges.size(), c.ranges.size()) << c.length;
        for (size_t i = 0; i < ranges.size(); ++i) {
            EXPECT_EQ(ranges[i].first, c.ranges[i].first) << c.length;
            EXPECT_EQ(ranges[i].last, c.ranges[i].last) << c.length;
        }
    }
}

}  // namespace

