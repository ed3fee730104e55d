#include "install/StatusLine.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <limits>

const wchar_t kPackageFailedMessage[] = L"\x5b89\x88c5\x5305\x5b89\x88c5\x5931\x8d25";
const wchar_t kUninstallFailedMessage[] = L"\x5b89\x88c5\x5305\x5378\x8f7d\x5931\x8d25";

namespace {

bool StartsWith(const std::wstring& line, const wchar_t* key, std::wstring& value) {
    const size_t n = std::wcslen(key);
    if (line.compare(0, n, key) != 0) return false;
    value = line.substr(n);
    // Carriage returns at the end belong to the line end ("\r\n", or "\r\r\n" from a C
    // program printing "\r\n" in text mode), never to the value.
    while (!value.empty() && value.back() == L'\r') value.pop_back();
    return true;
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring Trim(const std::wstring& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// A number as "%lf" reads it; 0 when nothing parses. A value that does not fit (1e999) is
// no usable progress either and gives 0 too.
double ParseProgress(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const double value = std::wcstod(begin, &end);
    if (end == begin || !std::isfinite(value)) return 0;
    return value;
}

// A 32-bit integer as "%d" reads it; 0 when nothing parses or it does not fit.
bool ParseInt(const std::wstring& text, long long& value) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    value = std::wcstoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        value = 0;
        return false;
    }
    return true;
}

StatusAction Event(int code, double progress, const std::wstring& message = std::wstring()) {
    StatusAction a;
    a.sendsEvent = true;
    a.code = code;
    a.progress = progress;
    a.message = message;
    return a;
}

StatusAction Decisive(StatusAction a, int result) {
    a.result = result;
    return a;
}

StatusAction CodePage(unsigned int codePage) {
    StatusAction a;
    a.setsCodePage = true;
    a.codePage = codePage;
    return a;
}

// "TopShowDetention=" and "FinsihCloseDetention=": the integer, read as unsigned 32 bits.
StatusAction Detention(int code, const std::wstring& value) {
    long long number = 0;
    ParseInt(value, number);
    return Event(code, static_cast<double>(static_cast<std::uint32_t>(number)));
}

unsigned int PackageCodePage(const std::wstring& value) {
    const std::wstring name = Trim(value);
    if (name == L"UTF8") return 65001;
    if (name == L"ACP") return 0;
    long long number = 0;
    if (!ParseInt(name, number) || number < 0) return 0;
    return static_cast<unsigned int>(number);
}

double StartupStyle(const std::wstring& value) {
    const std::wstring style = Trim(value);
    if (style == L"AutoStartup") return 1;
    if (style == L"UserStartup") return 2;
    return 0;
}

}  // namespace

StatusAction ParsePackageStatusLine(const std::wstring& line) {
    std::wstring v;
    if (StartsWith(line, L"Progress=", v)) return Event(2002, ParseProgress(v));
    if (StartsWith(line, L"InstPath=", v)) return Event(3000, 0, v);
    if (StartsWith(line, L"State=", v)) {
        const std::wstring state = Trim(v);
        if (state == L"Success") return Decisive(Event(2003, 0), 1);
        if (state == L"Fail") return Decisive(Event(2004, 0, kPackageFailedMessage), 1000);
        return StatusAction();
    }
    if (StartsWith(line, L"InstallVersion=", v)) return StatusAction();
    if (StartsWith(line, L"ExePath=", v)) {
        StatusAction a = Event(3001, 0, v);
        a.logsExePath = true;
        return a;
    }
    if (StartsWith(line, L"StartExe=", v)) return Event(3001, 0, v);
    if (StartsWith(line, L"UninstExePath=", v)) return Event(3002, 0, v);
    if (StartsWith(line, L"UninstExe=", v)) return Event(3002, 0, v);
    if (StartsWith(line, L"UninstEp=", v)) return Event(3003, 0, v);
    if (StartsWith(line, L"Error=", v)) return Decisive(Event(2004, 1000, v), 1000);
    if (StartsWith(line, L"TopShowDetention=", v)) return Detention(3007, v);
    if (StartsWith(line, L"FinsihCloseDetention=", v)) return Detention(3008, v);
    if (StartsWith(line, L"StartUrl=", v)) return Event(3004, 0, v);
    if (StartsWith(line, L"StartupStyle=", v)) return Event(3005, StartupStyle(v));
    if (StartsWith(line, L"Encode=", v)) return CodePage(PackageCodePage(v));
    if (StartsWith(line, L"Message=", v)) return Event(3009, 0, v);
    return StatusAction();
}

StatusAction ParseUninstallStatusLine(const std::wstring& line) {
    std::wstring v;
    if (StartsWith(line, L"Progress=", v)) return Event(5002, ParseProgress(v));
    if (StartsWith(line, L"Error=", v)) return Decisive(Event(5005, 0, v), 1000);
    if (StartsWith(line, L"State=", v)) {
        const std::wstring state = Trim(v);
        if (state == L"Success") return Decisive(Event(5003, 0), 1);
        if (state == L"Fail") return Decisive(Event(5005, 0, kUninstallFailedMessage), 1000);
        return StatusAction();
    }
    if (StartsWith(line, L"Encode=", v)) return CodePage(Trim(v) == L"UTF8" ? 65001 : 0);
    return StatusAction();
}
