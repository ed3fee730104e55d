#pragma once
#include <atomic>
#include <mutex>
#include <string>

#include "download/Downloader.h"

// Downloads with one GET through WinHttpClient into the target file and reports like the
// other downloaders: 1001, 1002 (fraction of the announced length, at most once a second),
// 1003 when the whole body arrived with a 2xx status, as long as announced and written whole,
// and its MD5 (computed while it is written) matches the final address; 1005 once and then
// 1004 on a mismatch, 1004 on any other failure (the target is then deleted). Destroying it
// aborts a running exchange; no event follows.
class WinHttpClient;

class WinHttpDownloader : public CDownloader {
public:
    WinHttpDownloader(EventCallback callback, const std::wstring& url, const std::wstring& target);
    ~WinHttpDownloader() override;

    int Start() override;

private:
    void Run();
    void Send(int code, double value, const wchar_t* text);

    EventCallback m_callback;
    std::wstring m_target;
    std::wstring m_url;
    bool m_retried = false;
    std::atomic<bool> m_stop{false};   // set by the destructor: the running exchange is aborted
    std::mutex m_clientLock;           // guards m_client
    WinHttpClient* m_client = nullptr;  // the exchange running on the worker, if any
};
