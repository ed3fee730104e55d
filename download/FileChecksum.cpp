#include "download/FileChecksum.h"

#include <windows.h>

#include <vector>

#include "download/Md5.h"
#include "sys/UniqueHandle.h"

std::string GetFileMd5(const std::wstring& path) {
    if (path.empty()) return std::string();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    const Utils::UniqueHandle owner(file);
    return GetHandleMd5(file);
}

std::string GetHandleMd5(void* file) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return std::string();
    std::vector<char> buffer(1024 * 1024);
    Md5 md5;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return std::string();
        if (read == 0) break;
        md5.Update(buffer.data(), read);
    }
    return md5.HexDigest();
}
