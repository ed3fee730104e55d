#include "download/Checksum.h"

#include "download/Md5.h"

std::string GetUrlMd5(const std::string& finalUrl) {
    const size_t last = finalUrl.rfind('/');
    if (finalUrl.empty() || last == std::string::npos) return std::string();
    const std::string head = finalUrl.substr(0, last);
    const size_t previous = head.rfind('/');
    if (previous == std::string::npos) return std::string();
    return head.substr(previous + 1);
}

std::string GetStreamMd5(std::FILE* file) {
    if (!file) return std::string();
    // The stream reads ahead in large blocks; the 1024-byte reads below copy from its buffer.
    std::setvbuf(file, nullptr, _IOFBF, 256 * 1024);
    Md5 md5;
    unsigned char block[1024];
    size_t read;
    while ((read = std::fread(block, 1, sizeof block, file)) > 0) md5.Update(block, read);
    if (std::ferror(file)) return std::string();
    return md5.HexDigest();
}

std::string GetFileMd5(const std::string& path) {
    if (path.empty()) return std::string();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::string();
    const std::string digest = GetStreamMd5(file);
    std::fclose(file);
    return digest;
}

ChecksumVerdict CompareChecksum(const std::string& expectedMd5, const std::string& actualMd5) {
    if (expectedMd5.size() != 32) return ChecksumVerdict::Missing;
    // A file that could not be read is no match: the check fails closed.
    if (actualMd5.size() != 32 || actualMd5 != expectedMd5) return ChecksumVerdict::Mismatch;
    return ChecksumVerdict::Match;
}
