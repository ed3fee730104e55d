#pragma once
#include <string>

// Writes wide text as UTF-8 to standard output, unchanged ("\n" stays "\n").
void PrintUtf8(const std::wstring& text);
// "Name=value\n".
void PrintField(const wchar_t* name, const std::wstring& value);
std::wstring BoolText(bool value);
// printf's %g, with a NaN as "nan" or "-nan" and infinities as "inf" or "-inf".
std::wstring DoubleText(double value);

// "<code> <value %.10g> <message>\n"; safe to call from several threads.
void PrintEvent(int code, double value, const wchar_t* message);

// Parses "--name=true|false" style flags; returns false when the argument is not that flag.
bool ReadFlag(const std::wstring& argument, const wchar_t* name, bool& value);
bool ReadOption(const std::wstring& argument, const wchar_t* name, std::wstring& value);
