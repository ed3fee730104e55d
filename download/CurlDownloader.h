#pragma once
#include <string>

#include "download/CurlClient.h"
#include "download/Downloader.h"

// One stream with resume: repeats failed transfers within a retry budget, then checks the
// file against the MD5 in the final address.
class CCurlDownloader : public CDownloader {
public:
    CCurlDownloader(EventCallback callback, const std::wstring& url, const std::wstring& target);
    ~CCurlDownloader() override;

    int Start() override;

private:
    static void OnProgress(void* owner, double speed, double percent);
    void dlThreadFun();
    void Send(int code, double value, const wchar_t* text);

    EventCallback m_callback;
    std::wstring m_target;
    std::wstring m_url;
    CurlClient m_client;
    bool m_retried = false;
};
