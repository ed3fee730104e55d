#pragma once

#include "skin/Geometry.h"

// The arithmetic of a progress bar: its range, its value and the part of the bar the fill
// image covers.
namespace Skin {

struct ProgressRange {
    int minimum = 0;
    int maximum = 100;
    int value = 0;
};

// The range as painting sees it: a maximum not above the minimum becomes minimum + 1, and the
// value is clamped into [minimum, maximum].
ProgressRange NormalisedProgress(const ProgressRange& range);

// A new value for SetValue, clamped into [minimum, maximum] (as the range stands).
int ClampedProgressValue(const ProgressRange& range, int value);

// Where the fill image is drawn, relative to the bar: (0, 0) to
// (width * (value - minimum) / (maximum - minimum), height) in integer arithmetic, over the
// normalised range.
Rect ProgressFillRect(const ProgressRange& range, int barWidth, int barHeight);

}  // namespace Skin
