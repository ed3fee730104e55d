// Status lines of a setup package and of an old uninstaller, each line of the input read by
// both protocols.
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <string>

#include "install/StatusLine.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The text after the key, as the parser must hand it on: carriage returns at the end dropped.
std::wstring ValueAfter(const std::wstring& line, const wchar_t* key) {
    std::wstring value = line.substr(std::wcslen(key));
    while (!value.empty() && value.back() == L'\r') value.pop_back();
    return value;
}

bool StartsWith(const std::wstring& line, const wchar_t* key) {
    return line.compare(0, std::wcslen(key), key) == 0;
}

void CheckCommon(const StatusAction& a) {
    FUZZ_CHECK(a.result == 0 || a.result == 1 || a.result == 1000);
    FUZZ_CHECK(a.result == 0 || a.sendsEvent);
    FUZZ_CHECK(std::isfinite(a.progress));
    FUZZ_CHECK(!(a.sendsEvent && a.setsCodePage));
    if (!a.sendsEvent) FUZZ_CHECK(a.code == 0 && a.message.empty() && a.progress == 0);
    if (!a.setsCodePage) FUZZ_CHECK(a.codePage == 0);
}

void CheckPackage(const std::wstring& line) {
    const StatusAction a = ParsePackageStatusLine(line);
    CheckCommon(a);
    // Keys that pass their value on as the message, whole.
    static const struct { const wchar_t* key; int code; } kTexts[] = {
        {L"InstPath=", 3000}, {L"ExePath=", 3001}, {L"StartExe=", 3001},
        {L"UninstExePath=", 3002}, {L"UninstExe=", 3002}, {L"UninstEp=", 3003},
        {L"StartUrl=", 3004}, {L"Message=", 3009}, {L"Error=", 2004},
    };
    for (const auto& t : kTexts) {
        if (!StartsWith(line, t.key)) continue;
        FUZZ_CHECK(a.sendsEvent && a.code == t.code);
        FUZZ_CHECK(a.message == ValueAfter(line, t.key));
        FUZZ_CHECK(a.result == (t.code == 2004 ? 1000 : 0));
        return;
    }
    if (StartsWith(line, L"Progress=")) FUZZ_CHECK(a.sendsEvent && a.code == 2002);
    if (StartsWith(line, L"Encode=")) {
        FUZZ_CHECK(a.setsCodePage);
        const std::wstring v = ValueAfter(line, L"Encode=");
        if (v == L"UTF8") FUZZ_CHECK(a.codePage == 65001);
        if (v == L"ACP") FUZZ_CHECK(a.codePage == 0);
    }
    if (StartsWith(line, L"TopShowDetention=") || StartsWith(line, L"FinsihCloseDetention=")) {
        FUZZ_CHECK(a.sendsEvent && a.progress >= 0 && a.progress <= 4294967295.0);
        FUZZ_CHECK(a.progress == std::floor(a.progress));
    }
    if (StartsWith(line, L"StartupStyle="))
        FUZZ_CHECK(a.progress == 0 || a.progress == 1 || a.progress == 2);
    if (a.result == 1 || a.result == 1000) FUZZ_CHECK(StartsWith(line, L"State=") ||
                                                     StartsWith(line, L"Error="));
    if (a.logsExePath) FUZZ_CHECK(StartsWith(line, L"ExePath="));
}

void CheckUninstall(const std::wstring& line) {
    const StatusAction a = ParseUninstallStatusLine(line);
    CheckCommon(a);
    FUZZ_CHECK(!a.logsExePath);
    if (a.setsCodePage) FUZZ_CHECK(a.codePage == 0 || a.codePage == 65001);
    if (StartsWith(line, L"Error=")) {
        FUZZ_CHECK(a.sendsEvent && a.code == 5005 && a.result == 1000);
        FUZZ_CHECK(a.message == ValueAfter(line, L"Error="));
    } else if (StartsWith(line, L"Progress=")) {
        FUZZ_CHECK(a.sendsEvent && a.code == 5002);
    } else if (!StartsWith(line, L"State=") && !StartsWith(line, L"Encode=")) {
        FUZZ_CHECK(!a.sendsEvent && !a.setsCodePage);  // no known key: nothing happens
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = FuzzInput::Wide(data, size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        CheckPackage(line);
        CheckUninstall(line);
        start = end + 1;
    }
    return 0;
}
