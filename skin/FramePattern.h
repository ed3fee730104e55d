#pragma once
#include <cstdint>
#include <string>

namespace Skin {

// The file name of one animation frame: the pattern with its single integer conversion
// replaced by the frame number, as printf would write it ("res\a\%.3d.png" and 7 give
// "res\a\007.png"). Conversions understood: "%%" and one of d, i, u with the flags "-", "0",
// "+" and " ", a width and a precision. Anything else (a second conversion, a string or
// pointer conversion, a "*" width) makes the pattern unusable: the result is empty, and no
// frame is drawn. The result is cut to 259 characters, as the frame's name buffer holds.
std::wstring FormatFramePattern(const std::wstring& pattern, std::uint32_t frame);

// What the next tick does: which frame it shows (if any) and the state after it. Count and
// frame numbers are unsigned, as the frame counter is.
struct SequenceState {
    std::uint32_t frame = 0;  // the next frame to show
    std::uint32_t count = 0;
    bool forward = true;
    bool round = false;
    bool loop = true;
};
struct SequenceStep {
    bool show = false;        // a frame is shown on this tick
    std::uint32_t shown = 0;  // which one
    bool stop = false;        // the timer stops (without showing a frame)
};
SequenceStep NextSequenceStep(SequenceState& state);

}  // namespace Skin
