#pragma once
#include <string>

// Conversions of configuration text. A number outside the representable range is handled
// like text without a number.

// "true" (exactly, case-sensitive) is true; everything else is false.
bool TextToBool(const std::wstring& text);

// Integer option: leading white space, optional sign, decimal digits, the rest ignored;
// no digits (or out of range) gives 0.
int OptionToInt(const std::wstring& text);

// Double option: the longest numeric prefix; none (or out of range) gives a quiet NaN with
// the sign bit set.
double OptionToDouble(const std::wstring& text);

// Double from the configuration file: the longest numeric prefix; none (or out of range)
// gives 0.0.
double IniTextToDouble(const std::wstring& text);

// The integer text is out of the 32-bit signed range (it has digits, and they do not fit).
bool IntTextOutOfRange(const std::wstring& text);
