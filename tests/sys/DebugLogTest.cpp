#include "sys/DebugLog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "tests/LogCapture.h"

namespace {

const Utils::LogStamp kStamp{4, 123, 2024, 3, 2, 9, 5, 3, 7};

TEST(DebugLogTest, PrefixFieldsArePaddedAsSpecified) {
    EXPECT_EQ(Utils::FormatLogLine(kStamp, L"CurlClient::Head", 61, L"error:%d:%s\r\n", 28,
                                   L"Timeout was reached"),
              L"<P00004><T00123><2024-03-02 09:05:03.007>(CurlClient::Head)<0061>: "
              L"error:28:Timeout was reached\r\n");
}

TEST(DebugLogTest, WideIdsAndLinesPrintInFull) {
    const Utils::LogStamp stamp{1234567, 99999999, 2024, 12, 31, 23, 59, 59, 999};
    EXPECT_EQ(Utils::FormatLogLine(stamp, L"T", 123456, L"x"),
              L"<P1234567><T99999999><2024-12-31 23:59:59.999>(T)<123456>: x");
}

TEST(DebugLogTest, PrefixFormatIs62CharactersEndingInSpace) {
    const std::wstring format = Utils::JoinLogFormat(L"");
    EXPECT_EQ(format.size(), 62u);
    EXPECT_EQ(format.back(), L' ');
    EXPECT_EQ(Utils::JoinLogFormat(L"m%d"), format + L"m%d");
    // With five-digit ids and an empty tag the formatted prefix is 51 characters.
    EXPECT_EQ(Utils::FormatLogLine(kStamp, L"", 1, L"").size(), 51u);
}

TEST(DebugLogTest, PlatformPrintfRules) {
    EXPECT_EQ(Utils::FormatLogLine(kStamp, L"T", 1, L"%lld %f %ld %s|", 5368709120LL, 0.5,
                                   -3L, L"\x6d4b\x8bd5"),
              L"<P00004><T00123><2024-03-02 09:05:03.007>(T)<0001>: "
              L"5368709120 0.500000 -3 \x6d4b\x8bd5|");
}

TEST(DebugLogTest, LongMessageIsWrittenWhole) {
    const std::wstring url = L"http://example.test/" + std::wstring(20000, L'a');
    LogCapture capture;
    DEBUG_LOG_AS(L"CMTCurlDownloader::getRealDownloadUrl", L"Download File real url %s\r\n",
                 url.c_str());
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LogCapture::Message(lines[0]), L"Download File real url " + url + L"\r\n");
}

void NamedCaller() { DEBUG_LOG(L"ExePath: %s", L"C:\\p.exe"); }

struct Owner {
    void Method() const { DEBUG_LOG(L"member\r\n"); }
};

TEST(DebugLogTest, RealLineCarriesProcessThreadTimeTagAndSourceLine) {
    LogCapture capture;
    SYSTEMTIME before;
    GetLocalTime(&before);
    NamedCaller();
    Owner().Method();
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    wchar_t ids[40];
    swprintf(ids, 40, L"<P%05lu><T%05lu>", GetCurrentProcessId(), GetCurrentThreadId());
    EXPECT_EQ(lines[0].substr(0, wcslen(ids)), ids);
    const std::wregex shape(
        L"<P\\d{5,}><T\\d{5,}><\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}>"
        L"\\(\\{anonymous\\}::NamedCaller\\)<00\\d\\d>: ExePath: C:\\\\p\\.exe");
    EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0].c_str();
    wchar_t year[8];
    swprintf(year, 8, L"<%04d-", before.wYear);
    EXPECT_NE(lines[0].find(year), std::wstring::npos);
    EXPECT_NE(lines[1].find(L"({anonymous}::Owner::Method)"), std::wstring::npos);
    EXPECT_EQ(LogCapture::Message(lines[1]), L"member\r\n");
}

}  // namespace
