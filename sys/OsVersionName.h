#pragma once
#include <cstdint>
#include <string>

namespace Utils {

// Short Windows version name from the NT version numbers ("XP", "7", "10", "11.0.22631"...).
// isServerR2 is the SM_SERVERR2 system metric, only looked at for version 5.2.
std::wstring OsVersionNameFrom(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                               bool isServerR2);

}  // namespace Utils
