#pragma once
#include <functional>
#include <string>

// How a downloaded file compares with the MD5 carried in the final download address.
enum class ChecksumVerdict {
    Match,     // equal, or the file could not be read (it is then accepted unchecked)
    Missing,   // the address carries no 32-character checksum
    Mismatch,  // the file's checksum differs (comparison is case-sensitive)
};
ChecksumVerdict CheckDownloadedFile(const std::string& expectedMd5, const std::wstring& target);

// Reports a finished download's verdict through send: a mismatch gives 1006 (mismatchText)
// and then 1005 the first time, setting retried, or 1004 afterwards (both with source as
// text); a missing checksum gives the 1006 notice (missingText). Returns whether the download
// is accepted.
bool ReportChecksumVerdict(ChecksumVerdict verdict, const wchar_t* mismatchText,
                           const wchar_t* missingText, const wchar_t* source, bool& retried,
                           const std::function<void(int, double, const wchar_t*)>& send);
