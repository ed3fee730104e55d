#include "sys/Clock.h"

#include <windows.h>

#include <atomic>
#include <ctime>

namespace Utils {
namespace {
std::atomic<unsigned> g_divisor{1};
}  // namespace

void SleepFor(unsigned milliseconds) { ::Sleep(milliseconds / g_divisor.load()); }

std::int64_t NowSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

void SetSleepDivisor(unsigned divisor) { g_divisor = divisor == 0 ? 1 : divisor; }

}  // namespace Utils
