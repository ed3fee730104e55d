#include "download/CurlDownloader.h"

#include <windows.h>

#include "sys/DebugLog.h"
#include "download/Checksum.h"
#include "download/ChecksumCheck.h"
#include "sys/Clock.h"

namespace {
const wchar_t kFileMd5Failed[] = L"curl\x6587\x4ef6md5\x6821\x9a8c\x5931\x8d25";   // curl文件md5校验失败
const wchar_t kUrlMd5Missing[] = L"curl\x83b7\x53d6url-md5\x5931\x8d25";          // curl获取url-md5失败
}  // namespace

CCurlDownloader::CCurlDownloader(EventCallback callback, const std::wstring& url,
                                 const std::wstring& target)
    : m_callback(std::move(callback)),
      m_target(target),
      m_url(url),
      m_client(url, target, this, &CCurlDownloader::OnProgress) {
    DeleteFileW(m_client.GetFilePath(true).c_str());
}

CCurlDownloader::~CCurlDownloader() {
    m_client.Stop();  // a running transfer aborts at its next progress call
    WaitForWorkers();
}

int CCurlDownloader::Start() {
    return StartWorker([](void* self) { static_cast<CCurlDownloader*>(self)->dlThreadFun(); });
}

void CCurlDownloader::Send(int code, double value, const wchar_t* text) {
    if (m_client.Stopping()) return;  // the owner is going away
    if (m_callback) m_callback(code, value, text);
}

void CCurlDownloader::OnProgress(void* owner, double speed, double percent) {
    if (speed > 0 && percent <= 100)
        static_cast<CCurlDownloader*>(owner)->Send(DL_CODE_PROGRESS, percent / 100, L"");
}

void CCurlDownloader::dlThreadFun() {
    Send(DL_CODE_START, 1.0, L"");
    if (m_target.empty()) {
        // Nothing could be written anywhere: end here rather than download to ".part".
        Send(DL_CODE_FAIL, 1.0, L"");
        return;
    }
    int result = m_client.Start();
    int budget = 12;
    while (result != 0) {
        // A transfer cut short costs half of any other failure: it resumes where it stopped.
        budget -= result == 18 ? 1 : 2;
        if (budget <= 0 || m_client.Stopping()) {
            Send(DL_CODE_FAIL, result, L"LibCurl");
            return;
        }
        DEBUG_LOG(L"CurlDownLoader Code=%d\r\n", result);
        Utils::SleepFor(500);
        result = m_client.Start();
    }
    if (!VerifyFinishedDownload(m_target, GetUrlMd5(m_client.FinalUrl()), m_packageLock,
                                kFileMd5Failed, kUrlMd5Missing, L"LibCurl", m_retried,
                                [this](int c, double v, const wchar_t* t) { Send(c, v, t); }))
        return;
    Send(DL_CODE_SUCCESS, 0.0, L"LibCurl");
}
