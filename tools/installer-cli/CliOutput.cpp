#include "CliOutput.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

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
