#include "skin/Utf8Text.h"

#include <cstdint>
#include <utility>

namespace Skin {

namespace {

const char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The one decoding loop: a broken sequence becomes U+FFFD, or (strict) ends the decoding with
// false.
bool Decode(const char* bytes, std::size_t size, bool strict, std::wstring& out) {
    out.clear();
    if (!bytes || size == 0) return true;
    out.reserve(size);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t cp = 0;
        // Allowed range of the second byte, so that overlong forms, surrogates and values
        // above U+10FFFF are refused at the earliest byte.
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            if (strict) return false;
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++i;
            continue;
        }
        std::size_t used = 1;
        bool ok = true;
        for (; used < length; ++used) {
            if (i + used >= size) {
                ok = false;
                break;
            }
            const unsigned char b = p[i + used];
            const bool inRange = used == 1 ? (b >= low && b <= high) : IsContinuation(b);
            if (!inRange) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (ok) {
            AppendCodePoint(out, cp);
        } else {
            if (strict) return false;
            out.push_back(static_cast<wchar_t>(kReplacement));
        }
        i += used;
    }
    return true;
}

}  // namespace

std::wstring WideFromUtf8(const char* bytes, std::size_t size) {
    std::wstring out;
    Decode(bytes, size, false, out);
    return out;
}

bool WideFromStrictUtf8(const char* bytes, std::size_t size, std::wstring* out) {
    std::wstring text;
    if (!Decode(bytes, size, true, text)) return false;
    if (out) *out = std::move(text);
    return true;
}

}  // namespace Skin
