#pragma once
#include <string>

// Writes wide text as UTF-8 to standard output, unchanged ("\n" stays "\n").
void PrintUtf8(const std::wstring& text);
// "Name=value\n".
void PrintField(const wchar_t* name, const std::wstring& value);
std::wstring BoolText(bool value);
// printf's %g, with a NaN as "nan" or "-nan" and infinities as "inf" or "-inf".
std::wstring DoubleText(double value);
