#include "sys/TextConversion.h"

#include <windows.h>

#include <new>

namespace Utils {

std::wstring ToWide(const std::string& text, unsigned int codePage) {
    const int length = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    wchar_t* buffer = new (std::nothrow) wchar_t[length];
    if (!buffer) return std::wstring();
    std::wstring result;
    if (MultiByteToWideChar(codePage, 0, text.c_str(), -1, buffer, length) > 0) result = buffer;
    delete[] buffer;
    return result;
}

std::wstring ToWide(const std::wstring& text) { return text; }

std::string ToNarrow(const std::wstring& text, unsigned int codePage) {
    const int length =
        WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    char* buffer = new (std::nothrow) char[length];
    if (!buffer) return std::string();
    std::string result;
    if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, buffer, length, nullptr, nullptr) > 0)
        result = buffer;
    delete[] buffer;
    return result;
}

}  // namespace Utils
