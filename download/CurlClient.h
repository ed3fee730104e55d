#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

typedef void CURL;

// One resumable HTTP download over libcurl: resolves the final address and the length,
// transfers into "<target>.part" (resuming what is there) and renames it to the target.
class CurlClient {
public:
    using ProgressHook = void (*)(void* owner, double speed, double percent);

    static const int kPartFileFailed = -996;
    static const int kNoHandle = -997;
    static const int kNotResolved = -998;
    static const std::int64_t kMinimumLength = 1048576;

    CurlClient(const std::wstring& url, const std::wstring& target, void* owner,
               ProgressHook hook);
    ~CurlClient();

    // Blocks for the whole transfer: 0 when the file is complete at the target path, a
    // libcurl result, or one of the codes above.
    int Start();
    void Stop() { m_stop = true; }
    bool Stopping() const { return m_stop; }

    std::wstring GetFilePath(bool part) const;
    const std::string& FinalUrl() const { return m_finalUrl; }

    CURL* Head(const std::string& url);
    static std::string GetRealUrl(CURL* handle);
    static double GetDownloadFileLength(CURL* handle);
    static std::string GetRealUrl_Str(const std::string& url);
    static double GetDownloadFileLength_Str(const std::string& url);

private:
    static int ProgressCallback(void* client, std::int64_t total, std::int64_t now,
                                std::int64_t, std::int64_t);
    static size_t WriteToFile(char* data, size_t size, size_t count, void* file);

    std::wstring m_url;
    std::wstring m_target;
    void* m_owner;
    CURL* m_transfer = nullptr;
    ProgressHook m_hook;
    double m_fileLength = -1.0;
    std::int64_t m_resumeOffset = -1;
    std::int64_t m_lastProgressTime = 0;
    std::atomic<bool> m_stop{false};
    std::string m_finalUrl;
};

// Text of a libcurl result for the trace ("Unknown error" for the client's own codes).
std::wstring CurlErrorText(int code);
// The download address as libcurl gets it: UTF-8, or the ANSI code page for "file:///".
std::string NarrowUrl(const std::wstring& url);
// Discards a response body (size times count accepted).
size_t DiscardBody(char* data, size_t size, size_t count, void* user);
