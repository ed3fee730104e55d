#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "download/ResponseHead.h"
#include "sys/UniqueHandle.h"

typedef void CURL;

// One resumable HTTP download over libcurl: resolves the final address and the length,
// transfers into "<target>.part" (resuming what is there) and renames it to the target once
// the part file holds exactly the resolved length. The bytes are hashed as they are written,
// so the finished file's MD5 needs no second pass over it.
class CurlClient {
public:
    using ProgressHook = void (*)(void* owner, double speed, double percent);

    static const int kFinishFailed = -995;   // the finished part file could not be put in place
    static const int kPartFileFailed = -996;
    static const int kNoHandle = -997;
    static const int kNotResolved = -998;
    static const std::int64_t kMinimumLength = 1048576;
    static const long kMaxRedirects = 20;
    static const long kStallSeconds = 30;  // a transfer receiving nothing this long is abandoned

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
    int Transfer(std::int64_t length);
    bool TruncatePart();
    static int ProgressCallback(void* client, std::int64_t total, std::int64_t now,
                                std::int64_t, std::int64_t);
    static size_t WriteToFile(char* data, size_t size, size_t count, void* client);
    static size_t ReadHeader(char* data, size_t size, size_t count, void* client);

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

    // State of the running transfer.
    Utils::UniqueFile m_part;
    std::int64_t m_expected = 0;   // the resolved length
    std::int64_t m_partSize = 0;   // bytes in the part file
    bool m_bodyChecked = false;    // the response's status and range were looked at
    ResponseHead m_head;
};

// Text of a libcurl result for the trace ("Unknown error" for the client's own codes).
std::wstring CurlErrorText(int code);
// The download address as libcurl gets it: UTF-8, or the ANSI code page for "file:///";
// spaces are sent as "%20".
std::string NarrowUrl(const std::wstring& url);
// Discards a response body (size times count accepted).
size_t DiscardBody(char* data, size_t size, size_t count, void* user);
// The options every libcurl request shares: redirections followed (at most kMaxRedirects,
// never to anything but HTTP and HTTPS), the protocols allowed (HTTP, HTTPS, FILE), the
// certificate checks, and the user's proxy for url (UserProxy.h).
int SetCommonOptions(CURL* handle, const std::string& url);
// Whether a header-only request's answer gives the file's length: a status from 200 to 399,
// or none at all for a local file ("file://" answers without a status).
bool ResolutionStatusAccepted(long status, const std::string& effectiveUrl);
// The options of a transfer with a body (the single stream and each segment): the address and
// the common options, the body and header functions, the progress function, failure on an
// error status, a 60 s connection limit and the stall limit. Returns the OR of their results.
int SetBodyTransferOptions(CURL* handle, const std::string& url,
                           size_t (*write)(char*, size_t, size_t, void*), void* writeData,
                           size_t (*header)(char*, size_t, size_t, void*), void* headerData,
                           int (*progress)(void*, std::int64_t, std::int64_t, std::int64_t,
                                           std::int64_t),
                           void* progressData, long stallSeconds);
