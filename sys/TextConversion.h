#pragma once
#include <string>

namespace Utils {

// Conversions between narrow text in an explicit code page (0 = the system ANSI code page,
// 65001 = UTF-8) and wide text. Both stop at the first zero character; every failure gives
// an empty string.
std::wstring ToWide(const std::string& text, unsigned int codePage = 0);
std::wstring ToWide(const std::wstring& text);
std::string ToNarrow(const std::wstring& text, unsigned int codePage = 0);

}  // namespace Utils
