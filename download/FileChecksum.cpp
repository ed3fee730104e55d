#include "download/FileChecksum.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "download/Checksum.h"
#include "download/Md5.h"

std::string GetFileMd5(const std::wstring& path) {
    if (path.empty()) return std::string();
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return std::string();
    const std::string digest = GetStreamMd5(file);
    std::fclose(file);
    return digest;
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
