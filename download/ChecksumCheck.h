#pragma once
#include <functional>
#include <string>

#include "download/Checksum.h"
#include "sys/UniqueHandle.h"

// Reports a finished download's verdict through send: a mismatch deletes the target (it is
// known to be corrupt) and gives 1006 (mismatchText)
// and then 1005 the first time, setting retried, or 1004 afterwards (both with source as
// text); a missing checksum gives the 1006 notice (missingText). Returns whether the download
// is accepted.
bool ReportChecksumVerdict(ChecksumVerdict verdict, const std::wstring& target,
                           const wchar_t* mismatchText,
                           const wchar_t* missingText, const wchar_t* source, bool& retried,
                           const std::function<void(int, double, const wchar_t*)>& send);

// The final check of a finished download. The target is locked first (see LockPackage; lock
// receives the handle, which the caller keeps until the package has been started), so what is
// checked is what will run: its MD5 is computed through that handle and compared with
// expectedMd5, and, when the build requires a publisher, its signature is verified. A target
// that cannot be locked or read, or whose signature is refused, counts as a mismatch
// (signatureText is then the 1006 text). Reports through send like ReportChecksumVerdict; a
// rejected target is unlocked and deleted.
bool VerifyFinishedDownload(const std::wstring& target, const std::string& expectedMd5,
                            Utils::UniqueHandle& lock, const wchar_t* mismatchText,
                            const wchar_t* missingText, const wchar_t* source, bool& retried,
                            const std::function<void(int, double, const wchar_t*)>& send);
