#include "ui/ProgressMath.h"

#include <cmath>

#include "skin/FramePattern.h"

namespace {

const wchar_t kShortWait[] = L"正在安装中:%d%%，请稍候...";
const wchar_t kLongWait[] = L"正在安装中:%d%%，请耐心等待...";
const std::size_t kTextBuffer = 250;  // characters the text may take, its terminator included

}  // namespace

const wchar_t kProgressResetText[] = L"正在安装中:0%，请稍候...";

double EffectiveDownloadScale(double scale) {
    if (!std::isfinite(scale) || scale < 0.0 || scale > 1.0) return 0.7;
    return scale;
}

int ClampPercent(double percent) {
    if (!(percent > 0.0)) return 0;  // NaN too
    if (percent >= 100.0) return 100;
    return static_cast<int>(percent);
}

int DownloadPercent(double value, double scale) {
    return ClampPercent(value * EffectiveDownloadScale(scale) * 100.0);
}

int InstallProgress::Step(double packageValue, double scale) {
    const double s = EffectiveDownloadScale(scale);
    m_fraction += 0.15;
    if (m_fraction > 0.95) m_fraction = 0.95;
    if (packageValue > m_fraction && packageValue <= 1.0) m_fraction = packageValue;
    else if (packageValue > 1.0) m_fraction = 1.0;
    return ClampPercent(((1.0 - s) * m_fraction + s) * 100.0);
}

bool IsLongWait(bool clockRunning, std::uint32_t start, std::uint32_t now) {
    if (!clockRunning) return false;
    const double elapsed = static_cast<std::uint32_t>(now - start) / 1000.0;
    return elapsed > 60.0;
}

std::wstring FormatProgressText(const std::wstring& labelFormat, bool longWait, int percent) {
    const std::uint32_t value = percent < 0 ? 0u : static_cast<std::uint32_t>(percent);
    std::wstring text;
    if (!labelFormat.empty()) text = Skin::FormatFramePattern(labelFormat, value);
    if (text.empty()) text = Skin::FormatFramePattern(longWait ? kLongWait : kShortWait, value);
    if (text.size() > kTextBuffer - 1) text.resize(kTextBuffer - 1);
    return text;
}
