#include "download/CurlClient.h"

#include <windows.h>

#include <curl/curl.h>
#include <sys/stat.h>

#include <ctime>

#include "app/DebugLog.h"
#include "sys/TextConversion.h"

std::wstring CurlErrorText(int code) {
    return Utils::ToWide(std::string(curl_easy_strerror(static_cast<CURLcode>(code))), 0);
}

std::string NarrowUrl(const std::wstring& url) {
    return Utils::ToNarrow(url, url.compare(0, 8, L"file:///") == 0 ? 0 : CP_UTF8);
}

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

namespace {

const long kReceiveBufferSize = 512 * 1024;
const size_t kFileBufferSize = 1024 * 1024;

// libcurl is initialised once per process, before the first handle.
struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_ALL); }
};

// The options of a header-only request that follows redirections; the OR of their results.
int SetHeadOptions(CURL* handle, const std::string& url) {
    int result = 0;
    result |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    result |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    result |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
    return result;
}

CURL* NewHandle() {
    static CurlGlobal global;
    return curl_easy_init();
}

// Size of a file, or -1 when it cannot be queried. Wide file names: a folder name outside the
// ANSI code page must not make the download fail.
std::int64_t FileSize(const std::wstring& path) {
    struct _stati64 st;
    if (_wstati64(path.c_str(), &st) != 0) return -1;
    return st.st_size;
}

}  // namespace

CurlClient::CurlClient(const std::wstring& url, const std::wstring& target, void* owner,
                       ProgressHook hook)
    : m_url(url), m_target(target), m_owner(owner), m_hook(hook) {}

CurlClient::~CurlClient() {
    m_stop = true;
    _wremove(GetFilePath(true).c_str());
}

std::wstring CurlClient::GetFilePath(bool part) const {
    return part ? m_target + L".part" : m_target;
}

int CurlClient::Start() {
    DEBUG_LOG(L"start download\r\n");
    const std::wstring partPath = GetFilePath(true);
    const std::string url = NarrowUrl(m_url);
    int result = 0;
    FILE* part = nullptr;
    curl_slist* headers = nullptr;

    if (m_finalUrl.empty() || m_fileLength < kMinimumLength) {
        CURL* head = Head(url);
        m_finalUrl = GetRealUrl(head);
        m_fileLength = GetDownloadFileLength(head);
        if (head) curl_easy_cleanup(head);
    }
    if (m_finalUrl.empty() || m_fileLength < kMinimumLength) {
        m_finalUrl = GetRealUrl_Str(url);
        if (!m_finalUrl.empty()) m_fileLength = GetDownloadFileLength_Str(m_finalUrl);
    }
    if (m_fileLength < kMinimumLength) {
        result = kNotResolved;
    } else if (!(m_transfer = NewHandle())) {
        result = kNoHandle;
    } else if (!(part = _wfopen(partPath.c_str(), L"ab+"))) {
        result = kPartFileFailed;
    } else {
        // Large buffers keep the number of socket reads and file writes low.
        setvbuf(part, nullptr, _IOFBF, kFileBufferSize);
        curl_easy_setopt(m_transfer, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
        headers = curl_slist_append(headers, "Connection: keep-alive");
        headers = curl_slist_append(headers, "Accept-Encoding: gzip, deflate");
        curl_easy_setopt(m_transfer, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(m_transfer, CURLOPT_TCP_KEEPALIVE, 1L);
        curl_easy_setopt(m_transfer, CURLOPT_TCP_KEEPIDLE, 10L);
        curl_easy_setopt(m_transfer, CURLOPT_TCP_KEEPINTVL, 10L);
        curl_easy_setopt(m_transfer, CURLOPT_TIMEOUT, 0L);
        int options = 0;
        options |= curl_easy_setopt(m_transfer, CURLOPT_URL, m_finalUrl.c_str());
        options |= curl_easy_setopt(m_transfer, CURLOPT_FOLLOWLOCATION, 1L);
        options |= curl_easy_setopt(m_transfer, CURLOPT_WRITEFUNCTION, &CurlClient::WriteToFile);
        options |= curl_easy_setopt(m_transfer, CURLOPT_WRITEDATA, part);
        options |= curl_easy_setopt(m_transfer, CURLOPT_NOPROGRESS, 0L);
        options |= curl_easy_setopt(m_transfer, CURLOPT_XFERINFOFUNCTION,
                                    &CurlClient::ProgressCallback);
        options |= curl_easy_setopt(m_transfer, CURLOPT_XFERINFODATA, this);
        options |= curl_easy_setopt(m_transfer, CURLOPT_FAILONERROR, 1L);
        options |= curl_easy_setopt(m_transfer, CURLOPT_CONNECTTIMEOUT, 60L);
        m_resumeOffset = FileSize(partPath);
        if (static_cast<double>(m_resumeOffset) > 1e-10)
            options |= curl_easy_setopt(m_transfer, CURLOPT_RESUME_FROM_LARGE,
                                        static_cast<curl_off_t>(m_resumeOffset));
        result = options == 0 ? curl_easy_perform(m_transfer) : options;
    }
    DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    if (m_transfer) curl_easy_cleanup(m_transfer);
    m_transfer = nullptr;
    if (headers) curl_slist_free_all(headers);
    if (part) fclose(part);
    if (result == 0) {
        _wremove(m_target.c_str());
        _wrename(partPath.c_str(), m_target.c_str());
    }
    DEBUG_LOG(L"end download\r\n");
    return result;
}

CURL* CurlClient::Head(const std::string& url) {
    CURL* handle = NewHandle();
    int result = 0;
    if (handle) {
        result = SetHeadOptions(handle, url);
        if (result == 0) {
            result = curl_easy_perform(handle);
            if (result != 0) DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
        }
    }
    DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    return handle;
}

std::string CurlClient::GetRealUrl(CURL* handle) {
    char* url = nullptr;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &url) != CURLE_OK || !url)
        return std::string();
    return url;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
    if (!handle) return -1.0;
    double length = -1.0;
    const int result = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD, &length);
    DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    long status = 0;
    if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status < 200 ||
        status > 399)
        return -1.0;
    return length;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
    CURL* handle = NewHandle();
    if (!handle) return url;
    std::string effective;
    if (SetHeadOptions(handle, url) == 0) {
        const int result = curl_easy_perform(handle);
        if (result != 0) DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
        else effective = GetRealUrl(handle);
    }
    curl_easy_cleanup(handle);
    return effective.empty() ? url : effective;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
    double length = -1.0;
    int result = 0;
    CURL* handle = NewHandle();
    if (handle) {
        result |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
        result |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
        result |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
        result |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
        if (result == 0) {
            curl_easy_perform(handle);
            curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD, &length);
            long status = 0;
            result = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        }
    }
    DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    if (handle) curl_easy_cleanup(handle);
    return length;
}

int CurlClient::ProgressCallback(void* client, std::int64_t total, std::int64_t now,
                                 std::int64_t, std::int64_t) {
    CurlClient* self = static_cast<CurlClient*>(client);
    if (self->m_stop) return 1;
    const std::int64_t seconds = static_cast<std::int64_t>(std::time(nullptr));
    if (!(seconds >= self->m_lastProgressTime + 1)) return 0;
    self->m_lastProgressTime = seconds;
    double speed = 0.0;
    curl_easy_getinfo(self->m_transfer, CURLINFO_SPEED_DOWNLOAD, &speed);
    double percent;
    if (self->m_fileLength > kMinimumLength) {
        const std::int64_t resumed = self->m_resumeOffset > 0 ? self->m_resumeOffset : 0;
        percent = static_cast<double>(now + resumed) / self->m_fileLength * 100;
    } else {
        if (now <= 0 || total <= 0) return 0;
        percent = static_cast<double>(now) * 100 / static_cast<double>(total);
    }
    if (percent == 0) return 0;
    if (self->m_hook) self->m_hook(self->m_owner, speed, percent);
    if (total != 0)
        DEBUG_LOG(L" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(now / 1048576),
                  static_cast<int>(total / 1048576),
                  static_cast<double>(static_cast<float>(percent)),
                  static_cast<double>(static_cast<float>(speed / 1024)));
    return 0;
}

size_t CurlClient::WriteToFile(char* data, size_t size, size_t count, void* file) {
    return fwrite(data, size, count, static_cast<FILE*>(file));
}
