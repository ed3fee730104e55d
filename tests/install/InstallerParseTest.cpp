#include "install/Installer.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "install/StatusLine.h"
#include "install/Uninstaller.h"
#include "tests/LogCapture.h"

namespace {

using Event = std::tuple<int, double, std::wstring>;

struct Recorder {
    std::vector<Event> events;
    EventCallback Callback() {
        return [this](int code, double value, const wchar_t* message) {
            events.emplace_back(code, value, message);
        };
    }
};

TEST(InstallerParseTest, ChunkResultIsLastDecisiveLineAndExePathIsLogged) {
    Recorder recorder;
    CInstaller installer(recorder.Callback(), L"\"p.exe\"", L"");
    LogCapture capture;
    EXPECT_EQ(installer.Parse(L"Progress=0.5\r\nExePath=C:\\Q\\q.exe\r\n"), 0);
    EXPECT_EQ(installer.Parse(L"State=Fail\r\nState=Success\r\n"), 1);
    EXPECT_EQ(installer.Parse(L"State=Success\r\nError=x\r\n"), 1000);
    const std::vector<Event> expected = {
        {2002, 0.5, L""},     {3001, 0, L"C:\\Q\\q.exe"},
        {2004, 0, kPackageFailedMessage}, {2003, 0, L""},
        {2003, 0, L""},       {2004, 1000, L"x"}};
    EXPECT_EQ(recorder.events, expected);
    const auto lines = capture.LinesTagged(L"CInstaller::Parse");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LogCapture::Message(lines[0]), L"ExePath: C:\\Q\\q.exe");  // no line end
}

TEST(InstallerParseTest, UninstallerChunkResult) {
    Recorder recorder;
    CUninstaller uninstaller(recorder.Callback(), L"u.exe", L"C:\\Q");
    EXPECT_EQ(uninstaller.Parse(L"Progress=0.1\r\n"), 0);
    EXPECT_EQ(uninstaller.Parse(L"State=Success\r\nError=e\r\n"), 1000);
    EXPECT_EQ(recorder.events.size(), 3u);
}

}  // namespace
