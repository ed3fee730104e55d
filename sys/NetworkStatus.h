#pragma once
#include <cstdint>

namespace Utils {

// The answer of the connectivity check: the network list manager's flags in the low 16 bits,
// the status in the high 16 bits (0 connected, or the check could not be made; 1 no
// connectivity at all; 2 some connectivity, but not to the internet). Callers treat a value
// above 0xFFFF as "not connected".
enum NetworkStatus : std::uint32_t {
    kNetworkConnected = 0,
    kNetworkNone = 1,
    kNetworkNoInternet = 2,
};

// What the check answers for what the manager reported. Without a manager the answer is 0,
// so a system without one never blocks an installation.
std::uint32_t NetworkCheckResult(bool managerCreated, std::uint32_t connectivity,
                                 bool connectedToInternet);
inline bool IsNetworkConnected(std::uint32_t result) { return result <= 0xFFFF; }

}  // namespace Utils
