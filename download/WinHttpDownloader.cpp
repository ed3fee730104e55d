#include "download/WinHttpDownloader.h"

#include <windows.h>


#include "download/Checksum.h"
#include "download/ChecksumCheck.h"
#include "download/WinHttpClient.h"
#include "sys/Clock.h"
#include "sys/TextConversion.h"

namespace {
const wchar_t kFileMd5Failed[] = L"winhttp\x6587\x4ef6md5\x6821\x9a8c\x5931\x8d25";  // winhttp文件md5校验失败
const wchar_t kUrlMd5Missing[] = L"winhttp\x83b7\x53d6url-md5\x5931\x8d25";         // winhttp获取url-md5失败
}  // namespace

WinHttpDownloader::WinHttpDownloader(EventCallback callback, const std::wstring& url,
                                     const std::wstring& target)
    : m_callback(std::move(callback)), m_target(target), m_url(url) {}

WinHttpDownloader::~WinHttpDownloader() {
    m_stop = true;  // no event from now on
    {
        std::lock_guard<std::mutex> guard(m_clientLock);
        if (m_client) m_client->Abort();
    }
    WaitForWorkers();
}

int WinHttpDownloader::Start() {
    return StartWorker([](void* self) { static_cast<WinHttpDownloader*>(self)->Run(); });
}

void WinHttpDownloader::Send(int code, double value, const wchar_t* text) {
    if (m_stop) return;
    if (m_callback) m_callback(code, value, text);
}

void WinHttpDownloader::Run() {
    Send(DL_CODE_START, 1.0, L"");
    // A body appended to an earlier download would corrupt the package: start empty.
    if (FILE* file = _wfopen(m_target.c_str(), L"wb")) {
        fclose(file);
    } else {
        Send(DL_CODE_FAIL, ::GetLastError(), L"WinHttp");
        return;
    }
    WinHttpClient client(m_url);
    {
        std::lock_guard<std::mutex> guard(m_clientLock);
        if (m_stop) return;
        m_client = &client;
    }
    client.SetResponseFilePath(m_target);
    std::int64_t lastReport = 0;
    client.SetBodyProgress([&](std::int64_t received) {
        const std::int64_t length = client.GetContentLength64();
        const int status = _wtoi(client.GetStatusCode().c_str());
        if (length <= 0 || received <= 0 || status < 200 || status >= 300) return;
        const std::int64_t now = Utils::NowSeconds();
        if (now < lastReport + 1) return;
        lastReport = now;
        const double fraction = received >= length ? 1.0 : double(received) / double(length);
        Send(DL_CODE_PROGRESS, fraction, L"");
    });
    const bool ok = client.SendHttpRequest(L"GET");
    {
        std::lock_guard<std::mutex> guard(m_clientLock);
        m_client = nullptr;
    }
    const int status = _wtoi(client.GetStatusCode().c_str());
    const std::int64_t length = client.GetContentLength64();
    // Only a body read to its end, written whole, and as long as announced is a download.
    const bool whole = ok && status >= 200 && status < 300 && !client.BodyIncomplete() &&
                       (length < 0 || client.GetRawResponseReceivedSize() == length);
    if (!whole || m_stop) {
        DeleteFileW(m_target.c_str());
        DWORD error = client.GetLastError();
        if (ok && (status < 200 || status >= 300)) error = status;
        Send(DL_CODE_FAIL, error, L"WinHttp");
        return;
    }
    const std::string expected = GetUrlMd5(Utils::ToNarrow(client.GetFinalUrl(), CP_UTF8));
    if (!VerifyFinishedDownload(m_target, expected, m_packageLock, kFileMd5Failed,
                                kUrlMd5Missing, L"WinHttp", m_retried,
                                [this](int c, double v, const wchar_t* t) { Send(c, v, t); }))
        return;
    Send(DL_CODE_SUCCESS, 0.0, L"WinHttp");
}
