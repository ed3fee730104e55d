#pragma once
#include <cstdint>
#include <string>

#include "skin/Geometry.h"

// How attribute values of the window documents read as numbers, sizes, rectangles, colours
// and booleans. None of them fails: what does not parse reads as 0 (or false).
namespace Skin {

// Decimal integer read like the C library's wcstol with base 10: leading blanks, an optional
// sign, then digits; the first other character ends it ("12px" is 12, "x" is 0). Values
// beyond the range of int saturate at its limits.
int ParseInteger(const std::wstring& value);

// "cx,cy": two integers as above; exactly one character (any character) is skipped between
// them. A missing part reads as 0 ("5" is 5,0; "" is 0,0).
Size ParseSize(const std::wstring& value);

// "l,t,r,b": four integers as above, one character skipped between each two. Missing parts
// read as 0 ("1,2" is 1,2,0,0).
Rect ParseRect(const std::wstring& value);

// "#AARRGGBB" or "0xAARRGGBB": one leading "#" is skipped, the rest is read like wcstoul with
// base 16 (leading blanks, an optional sign, an optional "0x"/"0X", hex digits up to the first
// other character). Alpha is the top byte, then red, green, blue. "#FF0000" is 0x00FF0000
// (alpha 0). Values above 32 bits saturate at 0xFFFFFFFF; a "-" negates modulo 2^32.
std::uint32_t ParseColour(const std::wstring& value);

// Exactly "true" is true; everything else (also "TRUE", " true") is false.
bool ParseBoolean(const std::wstring& value);

}  // namespace Skin
