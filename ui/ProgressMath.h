#pragma once
#include <cstdint>
#include <string>

// The arithmetic behind the main window's progress bar and text. The download fills the
// DownloadScale share of the bar, the installation the rest.

// The share a DownloadScale value stands for: NaN, infinite or outside 0..1 counts as 0.7.
double EffectiveDownloadScale(double scale);

// A percent for the bar and the text: truncated toward zero and kept in 0..100 (NaN gives 0).
int ClampPercent(double percent);

// Download progress (a fraction of the download) as a percent of the whole bar.
int DownloadPercent(double value, double scale);

// The installation's share, smoothed: each event advances it by at least 0.15 until 0.95;
// the package's own figure takes over when it is ahead. Not reset between attempts.
class InstallProgress {
public:
    // The percent of the whole bar after one installation progress event.
    int Step(double packageValue, double scale);
    double Fraction() const { return m_fraction; }

private:
    double m_fraction = 0.0;
};

// Since the download started (milliseconds of the tick counter, which wraps): more than
// 60 seconds have passed.
bool IsLongWait(bool clockRunning, std::uint32_t start, std::uint32_t now);

// The progress text: the format is the label's own (user data) when it has one that takes
// exactly one integer, else the wording for a short or a long wait.
std::wstring FormatProgressText(const std::wstring& labelFormat, bool longWait, int percent);

// The text shown after a late installation failure.
extern const wchar_t kProgressResetText[];
