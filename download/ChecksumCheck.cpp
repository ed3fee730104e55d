#include "download/ChecksumCheck.h"

#include "download/Downloader.h"
#include "download/FileChecksum.h"

ChecksumVerdict CheckDownloadedFile(const std::string& expectedMd5, const std::wstring& target) {
    if (expectedMd5.size() != 32) return ChecksumVerdict::Missing;
    const std::string actual = GetFileMd5(target);
    if (actual.size() == 32 && actual != expectedMd5) return ChecksumVerdict::Mismatch;
    return ChecksumVerdict::Match;
}

bool ReportChecksumVerdict(ChecksumVerdict verdict, const wchar_t* mismatchText,
                           const wchar_t* missingText, const wchar_t* source, bool& retried,
                           const std::function<void(int, double, const wchar_t*)>& send) {
    switch (verdict) {
    case ChecksumVerdict::Mismatch:
        send(DL_CODE_CHECK_FAIL, 0.0, mismatchText);
        if (retried) {
            send(DL_CODE_FAIL, 0.0, source);
        } else {
            retried = true;
            send(DL_CODE_RETRY, 0.0, source);
        }
        return false;
    case ChecksumVerdict::Missing:
        send(DL_CODE_CHECK_FAIL, 0.0, missingText);
        return true;
    case ChecksumVerdict::Match:
        return true;
    }
    return true;
}
