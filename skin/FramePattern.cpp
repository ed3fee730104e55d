#include "skin/FramePattern.h"

#include <cwchar>

namespace Skin {

std::wstring FormatFramePattern(const std::wstring& pattern, std::uint32_t frame) {
    std::wstring out;
    bool converted = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%') {
            out += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        if (converted) return std::wstring();  // only one number goes in
        // %[flags][width][.precision](d|i|u)
        size_t j = i + 1;
        bool left = false, zero = false, plus = false, space = false;
        for (; j < pattern.size(); ++j) {
            if (pattern[j] == L'-') left = true;
            else if (pattern[j] == L'0') zero = true;
            else if (pattern[j] == L'+') plus = true;
            else if (pattern[j] == L' ') space = true;
            else break;
        }
        int width = 0, precision = -1;
        for (; j < pattern.size() && pattern[j] >= L'0' && pattern[j] <= L'9'; ++j)
            width = width < 1000 ? width * 10 + (pattern[j] - L'0') : width;
        if (j < pattern.size() && pattern[j] == L'.') {
            precision = 0;
            for (++j; j < pattern.size() && pattern[j] >= L'0' && pattern[j] <= L'9'; ++j)
                precision = precision < 1000 ? precision * 10 + (pattern[j] - L'0') : precision;
        }
        if (j >= pattern.size()) return std::wstring();
        const wchar_t type = pattern[j];
        if (type != L'd' && type != L'i' && type != L'u') return std::wstring();
        // The frame counter is unsigned; %d shows it as the signed number it would print.
        std::wstring digits;
        bool negative = false;
        std::uint64_t value = frame;
        if (type != L'u' && frame > 0x7FFFFFFFu) {
            negative = true;
            value = 0x100000000ull - frame;
        }
        do {
            digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
            value /= 10;
        } while (value > 0);
        if (precision == 0 && frame == 0) digits.clear();
        if (precision > 0 && static_cast<int>(digits.size()) < precision)
            digits.insert(0, static_cast<size_t>(precision) - digits.size(), L'0');
        std::wstring sign;
        if (negative) sign = L"-";
        else if (type != L'u' && plus) sign = L"+";
        else if (type != L'u' && space) sign = L" ";
        std::wstring field = sign + digits;
        if (static_cast<int>(field.size()) < width) {
            const size_t pad = static_cast<size_t>(width) - field.size();
            if (left) field.append(pad, L' ');
            else if (zero && precision < 0) field = sign + std::wstring(pad, L'0') + digits;
            else field.insert(0, pad, L' ');
        }
        out += field;
        converted = true;
        i = j;
    }
    if (out.size() > 259) out.resize(259);
    return out;
}

SequenceStep NextSequenceStep(SequenceState& state) {
    SequenceStep step;
    if (state.forward && state.frame > state.count - 1u) {
        if (state.round) {
            state.forward = false;
            state.frame = state.count - 2u;
        } else {
            state.frame = 0;
            if (!state.loop) {
                step.stop = true;
                return step;
            }
        }
    }
    if (!state.forward && state.frame == 0) {
        if (state.round) state.forward = true;
        if (!state.loop) {
            step.stop = true;
            return step;
        }
    }
    step.show = true;
    step.shown = state.frame;
    state.frame += state.forward ? 1u : static_cast<std::uint32_t>(-1);
    return step;
}

}  // namespace Skin
