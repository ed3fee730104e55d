#pragma once
#include <string>

// How a downloaded file compares with the MD5 carried in the final download address.
enum class ChecksumVerdict {
    Match,     // equal, or the file could not be read (it is then accepted unchecked)
    Missing,   // the address carries no 32-character checksum
    Mismatch,  // the file's checksum differs (comparison is case-sensitive)
};
ChecksumVerdict CheckDownloadedFile(const std::string& expectedMd5, const std::wstring& target);
