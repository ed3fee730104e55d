#include "download/ChecksumCheck.h"

#include <cstdio>

#include "download/Downloader.h"
#include "download/FileChecksum.h"
#include "download/PackageLock.h"
#include "download/PackageSignature.h"
#include "download/RequiredPublisher.h"

namespace {

const wchar_t kSignatureRefused[] =
    L"\x5b89\x88c5\x5305\x7b7e\x540d\x6821\x9a8c\x5931\x8d25";  // 安装包签名校验失败

}  // namespace

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

bool VerifyFinishedDownload(const std::wstring& target, const std::string& expectedMd5,
                            Utils::UniqueHandle& lock, const wchar_t* mismatchText,
                            const wchar_t* missingText, const wchar_t* source, bool& retried,
                            const std::function<void(int, double, const wchar_t*)>& send) {
    lock = LockPackage(target);
    ChecksumVerdict verdict = ChecksumVerdict::Mismatch;
    if (lock) {
        verdict = expectedMd5.size() == 32
                      ? CompareChecksum(expectedMd5, GetHandleMd5(lock.get()))
                      : ChecksumVerdict::Missing;
    }
    if (verdict != ChecksumVerdict::Mismatch && !RequiredPublisher().empty() &&
        VerifySignature(lock.get(), target, RequiredPublisher()) != SignatureVerdict::Accepted) {
        verdict = ChecksumVerdict::Mismatch;
        mismatchText = kSignatureRefused;
    }
    if (verdict == ChecksumVerdict::Mismatch) lock.reset();
    return ReportChecksumVerdict(verdict, target, mismatchText, missingText, source, retried, send);
}
