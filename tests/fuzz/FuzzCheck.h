#pragma once
// Shared by the fuzz targets: a check that stops the run with a message (libFuzzer keeps the
// input as a finding), and the text forms the parsers take.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "skin/Utf8Text.h"

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__,  \
                         __LINE__);                                                        \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace FuzzInput {

inline std::string Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The bytes as UTF-8 text, as the installer decodes its files.
inline std::wstring Wide(const std::uint8_t* data, std::size_t size) {
    return Skin::WideFromUtf8(reinterpret_cast<const char*>(data), size);
}
inline std::wstring Wide(const std::string& bytes) {
    return Skin::WideFromUtf8(bytes.data(), bytes.size());
}

// UTF-8 of wide text (UTF-16 pairs combined where wchar_t has 2 bytes); for round trips.
inline std::string Utf8(const std::wstring& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            const std::uint32_t low = static_cast<std::uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Hexadecimal digits of v in upper case, at least `digits` of them.
inline std::wstring HexDigits(std::uint32_t v, int digits) {
    std::wstring out;
    do {
        out.insert(out.begin(), L"0123456789ABCDEF"[v & 15]);
        v >>= 4;
    } while (v || static_cast<int>(out.size()) < digits);
    return out;
}

// A small deterministic generator driven by input bytes, for choices that should not cut the
// text of a seed (read boundaries, sizes).
class Choices {
public:
    explicit Choices(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint32_t Next(std::uint32_t bound) {  // 0 .. bound - 1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return bound ? static_cast<std::uint32_t>(state_ % bound) : 0;
    }

private:
    std::uint64_t state_;
};

}  // namespace FuzzInput
