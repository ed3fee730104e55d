#include "download/CurlClient.h"

#include "download/CurlHandle.h"  // before windows.h: it brings winsock2.h
#include "download/ServerCertificate.h"
#include "download/UserProxy.h"

#include <windows.h>

#include <sys/stat.h>

#include <ctime>
#include <io.h>
#include <vector>

#include "sys/DebugLog.h"
#include "sys/Clock.h"
#include "sys/TextConversion.h"

std::wstring CurlErrorText(int code) {
    return Utils::ToWide(std::string(curl_easy_strerror(static_cast<CURLcode>(code))), 0);
}

std::string NarrowUrl(const std::wstring& url) {
    const std::string narrow =
        Utils::ToNarrow(url, url.compare(0, 8, L"file:///") == 0 ? 0 : CP_UTF8);
    // libcurl refuses an address with a space in it; a folder name on local media or a share
    // often has one.
    std::string escaped;
    for (char c : narrow) {
        if (c == ' ') escaped += "%20";
        else escaped += c;
    }
    return escaped;
}

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

int SetBodyTransferOptions(CURL* h, const std::string& url,
                           size_t (*write)(char*, size_t, size_t, void*), void* writeData,
                           size_t (*header)(char*, size_t, size_t, void*), void* headerData,
                           int (*progress)(void*, std::int64_t, std::int64_t, std::int64_t,
                                           std::int64_t),
                           void* progressData, long stallSeconds) {
    int options = 0;
    options |= curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    options |= SetCommonOptions(h, url);
    options |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, write);
    options |= curl_easy_setopt(h, CURLOPT_WRITEDATA, writeData);
    options |= curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, header);
    options |= curl_easy_setopt(h, CURLOPT_HEADERDATA, headerData);
    options |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    options |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, progress);
    options |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, progressData);
    options |= curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    options |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 60L);
    // A server that stops sending must not hold the download for ever.
    options |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    options |= curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    return options;
}

bool ResolutionStatusAccepted(long status, const std::string& effectiveUrl) {
    if (status == 0) return effectiveUrl.compare(0, 7, "file://") == 0;
    return status >= 200 && status <= 399;
}

int SetCommonOptions(CURL* handle, const std::string& url) {
    int result = 0;
    result |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_MAXREDIRS, CurlClient::kMaxRedirects);
    result |= curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https,file");
    result |= curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Certificates are checked against the system's store (Schannel), host name included:
    // an elevated installer must not run what a man in the middle hands it.
    result |= curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    // Revoked certificates are refused; an unreachable revocation server is not a refusal.
    result |= curl_easy_setopt(handle, CURLOPT_SSL_OPTIONS, (long)CURLSSLOPT_REVOKE_BEST_EFFORT);
    result |= SetServerCertificateCheck(handle);
    result |= SetUserProxy(handle, url);
    return result;
}

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
    result |= SetCommonOptions(handle, url);
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

    if (m_finalUrl.empty() || m_fileLength < kMinimumLength) {
        CurlEasy head(Head(url));
        m_finalUrl = GetRealUrl(head.get());
        m_fileLength = GetDownloadFileLength(head.get());
    }
    if (m_finalUrl.empty() || m_fileLength < kMinimumLength) {
        m_finalUrl = GetRealUrl_Str(url);
        if (!m_finalUrl.empty()) m_fileLength = GetDownloadFileLength_Str(m_finalUrl);
    }
    if (m_fileLength < kMinimumLength || !(m_fileLength < 9.2e18)) {
        result = kNotResolved;
    } else {
        m_part.reset(_wfopen(partPath.c_str(), L"ab+"));
        if (!m_part) result = kPartFileFailed;
        else result = Transfer(static_cast<std::int64_t>(m_fileLength));
    }
    DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    if (!Utils::CloseChecked(m_part) && result == 0) result = CURLE_WRITE_ERROR;
    if (result == 0) {
        // Only a part file of exactly the resolved length is a finished download.
        const std::int64_t size = FileSize(partPath);
        if (size < m_expected) {
            result = CURLE_PARTIAL_FILE;
        } else if (size > m_expected) {
            _wremove(partPath.c_str());
            result = CURLE_WRITE_ERROR;
        }
    }
    if (result == 0) {
        _wremove(m_target.c_str());
        if (_wrename(partPath.c_str(), m_target.c_str()) != 0) result = kFinishFailed;
    }
    DEBUG_LOG(L"end download\r\n");
    return result;
}

// Runs the main transfer into the open part file, resuming what it holds. A resume the server
// answered with the whole file or with another range (libcurl refuses it before any byte is
// written, or the first block shows it) empties the part file: the next attempt starts at 0.
int CurlClient::Transfer(std::int64_t length) {
    m_expected = length;
    m_partSize = FileSize(GetFilePath(true));
    if (m_partSize > length && !TruncatePart()) return kPartFileFailed;  // not this file's bytes
    m_resumeOffset = m_partSize;
    if (m_partSize == length) return 0;  // an earlier attempt got every byte

    CurlEasy transfer(NewHandle());
    if (!transfer) return kNoHandle;
    m_transfer = transfer.get();
    CURL* h = m_transfer;
    // Large buffers keep the number of socket reads and file writes low.
    setvbuf(m_part.get(), nullptr, _IOFBF, kFileBufferSize);
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    CurlList headers(curl_slist_append(nullptr, "Connection: keep-alive"));
    curl_slist_append(headers.get(), "Accept-Encoding: gzip, deflate");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(h, CURLOPT_TCP_KEEPIDLE, 10L);
    curl_easy_setopt(h, CURLOPT_TCP_KEEPINTVL, 10L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
    int options = SetBodyTransferOptions(h, m_finalUrl, &CurlClient::WriteToFile, this,
                                         &CurlClient::ReadHeader, this,
                                         &CurlClient::ProgressCallback, this, kStallSeconds);
    if (static_cast<double>(m_resumeOffset) > 1e-10)
        options |= curl_easy_setopt(h, CURLOPT_RESUME_FROM_LARGE,
                                    static_cast<curl_off_t>(m_resumeOffset));
    m_bodyChecked = false;
    m_head = ResponseHead();
    const int result = options == 0 ? PerformRequest(h) : options;
    m_transfer = nullptr;
    if (result == CURLE_RANGE_ERROR && !TruncatePart()) return kPartFileFailed;
    return result;
}

// Empties the part file: its bytes cannot be continued.
bool CurlClient::TruncatePart() {
    std::fflush(m_part.get());
    if (_chsize_s(_fileno(m_part.get()), 0) != 0) return false;
    m_partSize = 0;
    m_resumeOffset = 0;
    return true;
}

CURL* CurlClient::Head(const std::string& url) {
    CURL* handle = NewHandle();
    int result = 0;
    if (handle) {
        result = SetHeadOptions(handle, url);
        if (result == 0) {
            result = PerformRequest(handle);
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
    if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
        !ResolutionStatusAccepted(status, GetRealUrl(handle)))
        return -1.0;
    return length;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
    CurlEasy handle(NewHandle());
    if (!handle) return url;
    std::string effective;
    if (SetHeadOptions(handle.get(), url) == 0) {
        const int result = PerformRequest(handle.get());
        if (result != 0) DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
        else effective = GetRealUrl(handle.get());
    }
    return effective.empty() ? url : effective;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
    double length = -1.0;
    int result = 0;
    CurlEasy request(NewHandle());
    if (CURL* handle = request.get()) {
        result |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
        result |= SetCommonOptions(handle, url);
        result |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
        result |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
        result |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
        if (result == 0) {
            PerformRequest(handle);
            curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD, &length);
            long status = 0;
            result = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        }
    }
    DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    return length;
}

int CurlClient::ProgressCallback(void* client, std::int64_t total, std::int64_t now,
                                 std::int64_t, std::int64_t) {
    CurlClient* self = static_cast<CurlClient*>(client);
    if (self->m_stop) return 1;
    const std::int64_t seconds = Utils::NowSeconds();
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

size_t CurlClient::ReadHeader(char* data, size_t size, size_t count, void* client) {
    static_cast<CurlClient*>(client)->m_head.ReadHeaderLine(data, size * count);
    return size * count;
}

// Writes a block of the body into the part file and the running MD5. The first block decides
// whether the body continues the part file, replaces it (the server ignored the range) or is
// unusable; a body running past the resolved length is refused, and the part file with it.
size_t CurlClient::WriteToFile(char* data, size_t size, size_t count, void* client) {
    CurlClient* self = static_cast<CurlClient*>(client);
    const size_t n = size * count;
    if (!self->m_bodyChecked) {
        self->m_bodyChecked = true;
        switch (FitResumedBody(self->m_head, self->m_resumeOffset)) {
        case BodyFit::Expected:
            break;
        case BodyFit::WholeFile:
            DEBUG_LOG(L"range ignored by the server, restarting from byte 0\r\n");
            if (!self->TruncatePart()) return 0;
            break;
        case BodyFit::WrongRange:
            DEBUG_LOG(L"unexpected Content-Range, restarting from byte 0\r\n");
            self->TruncatePart();
            return 0;
        }
    }
    if (self->m_partSize + static_cast<std::int64_t>(n) > self->m_expected) {
        DEBUG_LOG(L"body longer than %lld bytes\r\n", static_cast<long long>(self->m_expected));
        self->TruncatePart();
        return 0;
    }
    const size_t written = fwrite(data, 1, n, self->m_part.get());
    self->m_partSize += static_cast<std::int64_t>(written);
    return written;
}
