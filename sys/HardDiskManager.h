#pragma once
#include <cstdint>
#include <string>

namespace Utils {

// The free and total space of a directory's volume, as the file system reports it to the
// calling user. The caller clears the three counts before a query.
class HardDiskManager {
public:
    virtual ~HardDiskManager() = default;

    // Fills the counts from the volume of the directory ("C:" or any folder on it). False when
    // the query failed: the counts keep their values and the failure is traced with its code.
    bool CheckFreeSpace(const std::wstring& directory);

    std::uint64_t freeBytesAvailable = 0;  // what the calling user may use (quotas counted)
    std::uint64_t totalBytes = 0;          // the volume's size available to the user
    std::uint64_t totalFreeBytes = 0;      // every free byte of the volume
};

}  // namespace Utils
