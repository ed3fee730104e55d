#pragma once
#include <functional>
#include <string>

#include "download/Checksum.h"

// The verdict for a file on disk (read once for its MD5).
ChecksumVerdict CheckDownloadedFile(const std::string& expectedMd5, const std::wstring& target);

// Reports a finished download's verdict through send: a mismatch deletes the target (it is
// known to be corrupt) and gives 1006 (mismatchText)
// and then 1005 the first time, setting retried, or 1004 afterwards (both with source as
// text); a missing checksum gives the 1006 notice (missingText). Returns whether the download
// is accepted.
bool ReportChecksumVerdict(ChecksumVerdict verdict, const std::wstring& target,
                           const wchar_t* mismatchText,
                           const wchar_t* missingText, const wchar_t* source, bool& retried,
                           const std::function<void(int, double, const wchar_t*)>& send);
