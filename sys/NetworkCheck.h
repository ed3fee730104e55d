#pragma once
#include <cstdint>

#include "sys/NetworkStatus.h"

namespace Utils {

// Asks the system's network list manager whether the computer is connected to the internet
// (no traffic of its own). The calling thread has initialised COM. See NetworkStatus.h for
// the answer.
std::uint32_t CheckNetwork();

}  // namespace Utils
