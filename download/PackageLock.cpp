#include "download/PackageLock.h"

#include <windows.h>

Utils::UniqueHandle LockPackage(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return Utils::UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}
