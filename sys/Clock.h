#pragma once
#include <cstdint>

namespace Utils {

// The pauses of retry loops and the calendar clock of progress pacing. Everything that waits
// a fixed time between attempts goes through here, so a test can run a retry budget in
// milliseconds instead of seconds.
void SleepFor(unsigned milliseconds);
std::int64_t NowSeconds();  // calendar seconds, as time() gives them

// Divides every SleepFor by divisor (1 restores real time; 0 is taken as 1).
void SetSleepDivisor(unsigned divisor);

}  // namespace Utils
