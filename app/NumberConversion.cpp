#include "app/NumberConversion.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <stdexcept>

namespace {

double NegativeNaN() { return -std::numeric_limits<double>::quiet_NaN(); }

}  // namespace

bool TextToBool(const std::wstring& text) { return text == L"true"; }

int OptionToInt(const std::wstring& text) {
    try {
        return std::stoi(text);
    } catch (const std::exception&) {  // no digits, or out of range
        return 0;
    }
}

double OptionToDouble(const std::wstring& text) {
    try {
        return std::stod(text);
    } catch (const std::exception&) {  // no numeric prefix, or out of range
        return NegativeNaN();
    }
}

double IniTextToDouble(const std::wstring& text) {
    errno = 0;
    wchar_t* end = nullptr;
    const double value = std::wcstod(text.c_str(), &end);
    if (end == text.c_str() || errno == ERANGE) return 0.0;
    return value;
}

bool IntTextOutOfRange(const std::wstring& text) {
    errno = 0;
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(text.c_str(), &end, 10);
    if (end == text.c_str()) return false;
    return errno == ERANGE || value > std::numeric_limits<int>::max() ||
           value < std::numeric_limits<int>::min();
}
