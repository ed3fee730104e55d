#include "install/StatusLine.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const wchar_t* line;
    bool event;
    int code;
    double progress;
    std::wstring message;
    int result;
};

const std::wstring kPkgFail = kPackageFailedMessage;
const std::wstring kUnFail = kUninstallFailedMessage;

void Check(StatusAction (*parse)(const std::wstring&), const Row& r) {
    const StatusAction a = parse(r.line);
    EXPECT_EQ(a.sendsEvent, r.event) << r.line;
    if (r.event) {
        EXPECT_EQ(a.code, r.code) << r.line;
        EXPECT_EQ(a.progress, r.progress) << r.line;
        EXPECT_EQ(a.message, r.message) << r.line;
    }
    EXPECT_EQ(a.result, r.result) << r.line;
}

TEST(StatusLineTest, PackageRows) {
    const Row rows[] = {
        {L"Progress=0.25", true, 2002, 0.25, L"", 0},
        {L"Progress= 0.5\r", true, 2002, 0.5, L"", 0},
        {L"Progress=abc", true, 2002, 0, L"", 0},
        {L"Progress=1e999", true, 2002, 0, L"", 0},
        {L"InstPath=C:\\Q\r", true, 3000, 0, L"C:\\Q", 0},
        {L"InstPath=C:\\Q\r\r", true, 3000, 0, L"C:\\Q", 0},  // text mode "\r\n", unterminated
        {L"InstPath=", true, 3000, 0, L"", 0},
        {L"State=Success", true, 2003, 0, L"", 1},
        {L"State=  Success \r", true, 2003, 0, L"", 1},
        {L"State=Fail\r", true, 2004, 0, kPkgFail, 1000},
        {L"State=success", false, 0, 0, L"", 0},
        {L"State=Running", false, 0, 0, L"", 0},
        {L" State=Success", false, 0, 0, L"", 0},
        {L"state=Success", false, 0, 0, L"", 0},
        {L"InstallVersion=1.2.3", false, 0, 0, L"", 0},
        {L"ExePath=C:\\Q\\quillmoss.exe\r", true, 3001, 0, L"C:\\Q\\quillmoss.exe", 0},
        {L"StartExe=C:\\Q\\a b.exe", true, 3001, 0, L"C:\\Q\\a b.exe", 0},
        {L"UninstExePath=u.exe", true, 3002, 0, L"u.exe", 0},
        {L"UninstExe=v.exe", true, 3002, 0, L"v.exe", 0},
        {L"UninstEp=C:\\Q\\uninst.exe", true, 3003, 0, L"C:\\Q\\uninst.exe", 0},
        {L"Error=disk full\r", true, 2004, 1000, L"disk full", 1000},
        {L"TopShowDetention=5", true, 3007, 5, L"", 0},
        {L"TopShowDetention=-1", true, 3007, 4294967295.0, L"", 0},
        {L"TopShowDetention=x", true, 3007, 0, L"", 0},
        {L"FinsihCloseDetention=7", true, 3008, 7, L"", 0},
        {L"FinishCloseDetention=7", false, 0, 0, L"", 0},
        {L"StartUrl=http://x/y?z=1", true, 3004, 0, L"http://x/y?z=1", 0},
        {L"StartupStyle=NonStartup", true, 3005, 0, L"", 0},
        {L"StartupStyle=AutoStartup\r", true, 3005, 1, L"", 0},
        {L"StartupStyle= UserStartup ", true, 3005, 2, L"", 0},
        {L"StartupStyle=autostartup", true, 3005, 0, L"", 0},
        {L"Message=hello \x4e16\x754c", true, 3009, 0, L"hello \x4e16\x754c", 0},
        {L"Unknown=1", false, 0, 0, L"", 0},
        {L"", false, 0, 0, L"", 0},
    };
    for (const Row& r : rows) Check(&ParsePackageStatusLine, r);
}

TEST(StatusLineTest, LongValuesAreKeptWhole) {
    const std::wstring value(5000, L'v');
    EXPECT_EQ(ParsePackageStatusLine(L"Message=" + value).message, value);
}

TEST(StatusLineTest, PackageEncodings) {
    const struct {
        const wchar_t* line;
        unsigned int codePage;
    } rows[] = {{L"Encode=UTF8", 65001}, {L"Encode= UTF8\r", 65001}, {L"Encode=ACP", 0},
                {L"Encode=936", 936},    {L"Encode= 936xyz", 936},   {L"Encode=abc", 0},
                {L"Encode=utf8", 0},     {L"Encode=99999999999", 0}, {L"Encode=-5", 0}};
    for (const auto& r : rows) {
        const StatusAction a = ParsePackageStatusLine(r.line);
        EXPECT_TRUE(a.setsCodePage) << r.line;
        EXPECT_FALSE(a.sendsEvent) << r.line;
        EXPECT_EQ(a.codePage, r.codePage) << r.line;
    }
}

TEST(StatusLineTest, ExePathAsksForLogLine) {
    EXPECT_TRUE(ParsePackageStatusLine(L"ExePath=x").logsExePath);
    EXPECT_FALSE(ParsePackageStatusLine(L"StartExe=x").logsExePath);
}

TEST(StatusLineTest, UninstallRows) {
    const Row rows[] = {
        {L"Progress=0.5\r", true, 5002, 0.5, L"", 0},
        {L"Progress=", true, 5002, 0, L"", 0},
        {L"Error=locked\r", true, 5005, 0, L"locked", 1000},
        {L"State=Success\r", true, 5003, 0, L"", 1},
        {L"State=Fail", true, 5005, 0, kUnFail, 1000},
        {L"State=success", false, 0, 0, L"", 0},
        {L"InstPath=C:\\Q", false, 0, 0, L"", 0},
        {L"Message=x", false, 0, 0, L"", 0},
    };
    for (const Row& r : rows) Check(&ParseUninstallStatusLine, r);
    EXPECT_EQ(ParseUninstallStatusLine(L"Encode=UTF8\r").codePage, 65001u);
    EXPECT_EQ(ParseUninstallStatusLine(L"Encode=936").codePage, 0u);
    EXPECT_TRUE(ParseUninstallStatusLine(L"Encode=936").setsCodePage);
}

}  // namespace
