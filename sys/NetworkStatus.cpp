#include "sys/NetworkStatus.h"

namespace Utils {

std::uint32_t NetworkCheckResult(bool managerCreated, std::uint32_t connectivity,
                                 bool connectedToInternet) {
    if (!managerCreated) return 0;
    std::uint32_t status = kNetworkConnected;
    if (connectivity == 0) status = kNetworkNone;
    else if (!connectedToInternet) status = kNetworkNoInternet;
    return (connectivity & 0xFFFF) | status << 16;
}

}  // namespace Utils
