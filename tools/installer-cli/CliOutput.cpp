#include "CliOutput.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "sys/TextConversion.h"

void PrintUtf8(const std::wstring& text) {
    const std::string bytes = Utils::ToNarrow(text, CP_UTF8);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

void PrintField(const wchar_t* name, const std::wstring& value) {
    PrintUtf8(std::wstring(name) + L"=" + value + L"\n");
}

std::wstring BoolText(bool value) { return value ? L"true" : L"false"; }

std::wstring DoubleText(double value) {
    if (std::isnan(value)) return std::signbit(value) ? L"-nan" : L"nan";
    if (std::isinf(value)) return value < 0 ? L"-inf" : L"inf";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

void PrintEvent(int code, double value, const wchar_t* message) {
    static std::mutex lock;
    char number[64];
    std::snprintf(number, sizeof number, "%.10g", value);
    const std::wstring line = std::to_wstring(code) + L" " +
                              std::wstring(number, number + std::strlen(number)) + L" " +
                              (message ? message : L"") + L"\n";
    std::lock_guard<std::mutex> guard(lock);
    PrintUtf8(line);
}

bool ReadOption(const std::wstring& argument, const wchar_t* name, std::wstring& value) {
    const std::wstring prefix = std::wstring(name) + L"=";
    if (argument.compare(0, prefix.size(), prefix) != 0) return false;
    value = argument.substr(prefix.size());
    return true;
}

bool ReadFlag(const std::wstring& argument, const wchar_t* name, bool& value) {
    std::wstring text;
    if (!ReadOption(argument, name, text)) return false;
    value = text == L"true";
    return true;
}
