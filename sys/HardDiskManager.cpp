#include "sys/HardDiskManager.h"

#include <windows.h>

#include "sys/DebugLog.h"

namespace Utils {

bool HardDiskManager::CheckFreeSpace(const std::wstring& directory) {
    ULARGE_INTEGER available, total, totalFree;
    if (!GetDiskFreeSpaceExW(directory.c_str(), &available, &total, &totalFree)) {
        DEBUG_LOG(L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n",
                  static_cast<long>(GetLastError()));
        return false;
    }
    freeBytesAvailable = available.QuadPart;
    totalBytes = total.QuadPart;
    totalFreeBytes = totalFree.QuadPart;
    return true;
}

}  // namespace Utils
