#include "skin/ProgressFill.h"

#include <algorithm>
#include <limits>

namespace Skin {

ProgressRange NormalisedProgress(const ProgressRange& range) {
    ProgressRange r = range;
    if (r.maximum <= r.minimum) {
        // minimum + 1 cannot be represented for the largest minimum: keep the range one wide
        // below it instead.
        if (r.minimum == std::numeric_limits<int>::max()) {
            r.minimum -= 1;
        }
        r.maximum = r.minimum + 1;
    }
    r.value = std::clamp(r.value, r.minimum, r.maximum);
    return r;
}

int ClampedProgressValue(const ProgressRange& range, int value) {
    if (range.maximum < range.minimum) return range.minimum;
    return std::clamp(value, range.minimum, range.maximum);
}

Rect ProgressFillRect(const ProgressRange& range, int barWidth, int barHeight) {
    const ProgressRange r = NormalisedProgress(range);
    const long long span = static_cast<long long>(r.maximum) - r.minimum;
    const long long done = static_cast<long long>(r.value) - r.minimum;
    const long long width = static_cast<long long>(barWidth) * done / span;
    return Rect{0, 0, static_cast<int>(width), barHeight};
}

}  // namespace Skin
