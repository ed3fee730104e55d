#include "download/FileChecksum.h"

#include <cstdio>

#include "download/Checksum.h"

std::string GetFileMd5(const std::wstring& path) {
    if (path.empty()) return std::string();
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return std::string();
    const std::string digest = GetStreamMd5(file);
    std::fclose(file);
    return digest;
}
