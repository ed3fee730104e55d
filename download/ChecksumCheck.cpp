#include "download/ChecksumCheck.h"

#include <cstdio>

#include "download/Downloader.h"
#include "download/FileChecksum.h"

ChecksumVerdict CheckDownloadedFile(const std::string& expectedMd5, const std::wstring& target) {
    if (expectedMd5.size() != 32) return ChecksumVerdict::Missing;
    return CompareChecksum(expectedMd5, GetFileMd5(target));
}

bool ReportChecksumVerdict(ChecksumVerdict verdict, const std::wstring& target,
                           const wchar_t* mismatchText,
                           const wchar_t* missingText, const wchar_t* source, bool& retried,
                           const std::function<void(int, double, const wchar_t*)>& send) {
    switch (verdict) {
    case ChecksumVerdict::Mismatch:
        _wremove(target.c_str());
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
