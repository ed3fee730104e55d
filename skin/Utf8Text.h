#pragma once
#include <cstddef>
#include <string>

namespace Skin {

// Decodes UTF-8 bytes into wide text: UTF-16 where wchar_t has 2 bytes (code points above
// U+FFFF become surrogate pairs), code points where it has 4. A byte-order mark is kept (the
// caller decides whether to skip it). Every byte that does not start a well-formed sequence,
// and every truncated, overlong or surrogate-encoding sequence and every value above U+10FFFF,
// becomes one U+FFFD per offending byte run (the longest valid prefix of the broken sequence).
// Zero bytes are ordinary characters. Linear in the input size.
std::wstring WideFromUtf8(const char* bytes, std::size_t size);

// The same decoding for text that must be well-formed: false (and *out untouched) at the first
// byte that WideFromUtf8 would replace. Null bytes count as the empty text.
bool WideFromStrictUtf8(const char* bytes, std::size_t size, std::wstring* out);

}  // namespace Skin
