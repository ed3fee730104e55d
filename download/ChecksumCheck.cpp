#include "download/ChecksumCheck.h"

#include "download/FileChecksum.h"

ChecksumVerdict CheckDownloadedFile(const std::string& expectedMd5, const std::wstring& target) {
    if (expectedMd5.size() != 32) return ChecksumVerdict::Missing;
    const std::string actual = GetFileMd5(target);
    if (actual.size() == 32 && actual != expectedMd5) return ChecksumVerdict::Mismatch;
    return ChecksumVerdict::Match;
}
