#include "skin/ValueSyntax.h"

#include <climits>
#include <cstddef>

namespace Skin {

namespace {

// Blanks as the C library's wide isspace sees them in the "C" locale.
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Reads one decimal number at `pos` like wcstol: on success pos moves past the digits; when
// there are no digits pos stays where it was (blanks and sign included) and 0 is returned.
int ReadDecimal(const std::wstring& s, std::size_t& pos) {
    std::size_t i = pos;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
        negative = s[i] == L'-';
        ++i;
    }
    if (i >= s.size() || s[i] < L'0' || s[i] > L'9') return 0;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
        if (magnitude <= limit) magnitude = magnitude * 10 + (s[i] - L'0');
    }
    pos = i;
    if (magnitude > limit) magnitude = limit;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

// Reads `count` numbers, skipping exactly one character between two of them.
void ReadNumbers(const std::wstring& s, int* out, int count) {
    std::size_t pos = 0;
    for (int n = 0; n < count; ++n) {
        if (n > 0 && pos < s.size()) ++pos;
        out[n] = ReadDecimal(s, pos);
    }
}

}  // namespace

int ParseInteger(const std::wstring& value) {
    std::size_t pos = 0;
    return ReadDecimal(value, pos);
}

Size ParseSize(const std::wstring& value) {
    int n[2];
    ReadNumbers(value, n, 2);
    return Size{n[0], n[1]};
}

Rect ParseRect(const std::wstring& value) {
    int n[4];
    ReadNumbers(value, n, 4);
    return Rect{n[0], n[1], n[2], n[3]};
}

std::uint32_t ParseColour(const std::wstring& value) {
    std::size_t i = 0;
    if (i < value.size() && value[i] == L'#') ++i;
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) {
        negative = value[i] == L'-';
        ++i;
    }
    // "0x" counts as a prefix only when a hex digit follows; otherwise the "0" is the number.
    if (i + 2 < value.size() && value[i] == L'0' &&
        (value[i + 1] == L'x' || value[i + 1] == L'X') && HexDigit(value[i + 2]) >= 0) {
        i += 2;
    }
    std::uint64_t number = 0;
    bool overflow = false;
    for (; i < value.size() && HexDigit(value[i]) >= 0; ++i) {
        number = number * 16 + static_cast<std::uint64_t>(HexDigit(value[i]));
        if (number > 0xFFFFFFFFull) {
            overflow = true;
            number = 0xFFFFFFFFull;
        }
    }
    if (overflow) return 0xFFFFFFFFu;
    const auto result = static_cast<std::uint32_t>(number);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

bool ParseBoolean(const std::wstring& value) { return value == L"true"; }

}  // namespace Skin
