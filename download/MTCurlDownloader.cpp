#include "download/MTCurlDownloader.h"

#include <windows.h>

#include <sys/stat.h>

#include <ctime>
#include <io.h>
#include <vector>
#include <thread>

#include "sys/DebugLog.h"
#include "download/Checksum.h"
#include "download/CurlClient.h"
#include "download/ChecksumCheck.h"
#include "download/ServerCertificate.h"
#include "download/Segments.h"
#include "sys/Clock.h"
#include "sys/TextConversion.h"

namespace {

const wchar_t kFileMd5Failed[] = L"mtcurl\x6587\x4ef6md5\x6821\x9a8c\x5931\x8d25";  // mtcurl文件md5校验失败
const wchar_t kUrlMd5Missing[] = L"mtcurl\x83b7\x53d6url-md5\x5931\x8d25";         // mtcurl获取url-md5失败
const int kPartFileFailed = -2;

std::int64_t ExistingSize(const std::wstring& path) {
    struct _stati64 st;
    if (_waccess(path.c_str(), 0) != 0 || _wstati64(path.c_str(), &st) != 0) return -1;
    return st.st_size;
}

}  // namespace

template <typename F>
void CMTCurlDownloader::Spawn(F body) {
    std::lock_guard<std::mutex> guard(m_threadLock);
    m_threads.emplace_back(body);
}

void CMTCurlDownloader::JoinThreads() {
    // A thread still running at process exit (a detached one) can bring the process down
    // as it goes; every thread is joined instead.
    for (;;) {
        std::vector<std::thread> threads;
        {
            std::lock_guard<std::mutex> guard(m_threadLock);
            threads.swap(m_threads);
        }
        if (threads.empty()) return;
        for (std::thread& thread : threads) {
            if (thread.get_id() == std::this_thread::get_id()) thread.detach();
            else if (thread.joinable()) thread.join();
        }
    }
}

CMTCurlDownloader::CMTCurlDownloader(EventCallback callback, const std::wstring& url,
                                     const std::wstring& target)
    : m_callback(std::move(callback)), m_target(target), m_url(url) {
    DeleteFileW(m_target.c_str());
    DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
    m_stop = true;  // running transfers abort; no more events
    WaitForWorkers();
    JoinThreads();
    ReleaseParts();
    DeletePartFiles();
}

int CMTCurlDownloader::Start() {
    return StartWorker([](void* self) { static_cast<CMTCurlDownloader*>(self)->Start_Down(); });
}

std::wstring CMTCurlDownloader::PartPath(int index) const {
    return m_target + L"_" + std::to_wstring(index);
}

void CMTCurlDownloader::Send(int code, double value, const wchar_t* text) {
    if (m_stop) return;
    if (m_callback) m_callback(code, value, text);
}

void CMTCurlDownloader::DeletePartFiles() {
    DeleteFileW(PartPath(0).c_str());
    DeleteFileW(PartPath(1).c_str());
}

void CMTCurlDownloader::ReleaseParts() {
    m_parts.clear();  // each node releases its handle and closes its file
}

void CMTCurlDownloader::Start_Down() {
    JoinThreads();  // the previous run's threads, ending now if not already gone
    Send(DL_CODE_START, 1.0, L"");
    DEBUG_LOG(L"start download\r\n");
    const std::string url = NarrowUrl(m_url);
    DeleteFileW(m_target.c_str());
    double lastPercent;
    {
        std::lock_guard<std::mutex> guard(m_progressLock);
        lastPercent = m_lastPercent;
    }
    if (lastPercent == 0.0) DeletePartFiles();
    if (m_finalUrl.empty() || m_fileLength < kMinimumLength) {
        if (!getRealDownloadUrl(url)) {
            Send(DL_CODE_FAIL, 0.0, L"LibCurl");
            return;
        }
    }
    m_rangesIgnored = false;
    int index = 0;
    for (const SegmentRange& range : SplitSegments(m_fileLength)) {
        const std::wstring path = PartPath(index++);
        std::int64_t present = ExistingSize(path);
        if (present < 0) present = 0;
        if (present > range.last - range.first + 1) {
            // More than the range holds: not bytes of this file's range.
            DeleteFileW(path.c_str());
            present = 0;
        }
        m_parts.push_back(NewPart(path, range, present, false));
    }
    for (const auto& part : m_parts) {
        if (part->state != -1) continue;
        ++m_running;
        DownloadPartNode* node = part.get();
        Spawn([this, node] { downloadThreadFun(this, node); });
        Sleep(100);
    }
    Spawn([this] { waitForFinishThreadFun(this); });
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& url) {
    m_finalUrl.clear();
    m_expectedMd5.clear();
    m_fileLength = 0;
    CurlEasy request(curl_easy_init());
    if (!request) return false;
    CURL* handle = request.get();
    CurlList headers(curl_slist_append(nullptr, "Connection: keep-alive"));
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    int options = 0;
    options |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    options |= SetCommonOptions(handle, url);
    options |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 60L);
    if (options != 0 || PerformRequest(handle) != CURLE_OK) return false;
    char* effective = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective &&
        *effective) {
        m_finalUrl = effective;
        DEBUG_LOG(L"Download File real url %s\r\n", Utils::ToWide(m_finalUrl, 0).c_str());
        m_expectedMd5 = GetUrlMd5(m_finalUrl);
    }
    double length = -1.0;
    long status = 0;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD, &length) == CURLE_OK &&
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
        ResolutionStatusAccepted(status, m_finalUrl)) {
        // Lengths from 2^31 bytes on are refused, like an unknown length.
        m_fileLength = length < 2147483648.0 ? static_cast<std::int64_t>(length) : 0;
        DEBUG_LOG(L"Download File Length %lld\r\n", static_cast<long long>(m_fileLength));
    }
    return !m_finalUrl.empty() && m_fileLength > kMinimumLength - 1;
}

int CMTCurlDownloader::downloadExe(DownloadPartNode* part) {
    // A range that is already complete is never asked for again: an empty or inverted
    // range would be sent otherwise.
    if (part->nextOffset > part->endOffset) {
        part->state = 0;
        return 0;
    }
    char range[64];
    snprintf(range, sizeof range, "%lld-%lld", static_cast<long long>(part->nextOffset),
             static_cast<long long>(part->endOffset));
    CURL* h = part->handle.get();
    if (!h) return part->state = CURLE_FAILED_INIT;
    int options = 0;
    options |= curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    options |= curl_easy_setopt(h, CURLOPT_TIMEOUT, 0L);
    options |= SetBodyTransferOptions(h, part->url, &CMTCurlDownloader::WriteSegment, part,
                                      &CMTCurlDownloader::ReadSegmentHeader, part,
                                      &CMTCurlDownloader::OnProgress, this, 5L);
    if (!part->wholeFile || part->nextOffset > 0)
        options |= curl_easy_setopt(h, CURLOPT_RANGE, range);
    if (options != 0) return part->state = options;
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 512L * 1024);  // fewer socket reads
    part->head = ResponseHead();
    part->bodyChecked = false;
    part->requestFirst = part->nextOffset;
    int result = PerformRequest(h);
    if (result != 0) DEBUG_LOG(L"error:%d:%s\r\n", result, CurlErrorText(result).c_str());
    else DEBUG_LOG(L"curl_easy_cleanup\r\n");
    curl_easy_reset(h);
    if (part->file && std::fflush(part->file.get()) != 0 && result == 0)
        result = CURLE_WRITE_ERROR;
    if (result == 0) {
        // Only a part file holding exactly the range's bytes is a complete segment.
        const std::int64_t size =
            part->file ? _filelengthi64(_fileno(part->file.get())) : ExistingSize(part->partPath);
        if (size != part->Length()) {
            DEBUG_LOG(L"segment holds %lld of %lld bytes\r\n", static_cast<long long>(size),
                      static_cast<long long>(part->Length()));
            result = CURLE_PARTIAL_FILE;
        }
    }
    if (result == 0 && part->file && !Utils::CloseChecked(part->file)) result = CURLE_WRITE_ERROR;
    part->state = result;
    return result;
}

// Fetches a segment, repeating failed transfers within its budget.
int CMTCurlDownloader::FetchWithRetries(DownloadPartNode* part) {
    int budget = 12;
    int result = downloadExe(part);
    while (result != 0 && budget > 0 && !m_stop && !m_rangesIgnored) {
        budget -= result == 18 ? 1 : 2;
        DEBUG_LOG(L"CurlDownLoader Code=%d\r\n", result);
        Utils::SleepFor(400);
        result = downloadExe(part);
    }
    if (part->file) part->file.reset();
    return result;
}

void CMTCurlDownloader::downloadThreadFun(CMTCurlDownloader* self, DownloadPartNode* part) {
    self->FetchWithRetries(part);
    --self->m_running;
}

// The server answered a range with the whole file: this run fetches it in one stream instead.
// A segment of the range whose part file already holds `present` bytes, its part file open
// for appending (state -1), complete (0) or not opened (-2).
std::unique_ptr<DownloadPartNode> CMTCurlDownloader::NewPart(const std::wstring& path,
                                                             const SegmentRange& range,
                                                             std::int64_t present, bool wholeFile) {
    std::unique_ptr<DownloadPartNode> part(new DownloadPartNode);
    part->partPath = path;
    part->received = present;
    part->firstOffset = range.first;
    part->nextOffset = range.first + present;
    part->endOffset = range.last;
    part->wholeFile = wholeFile;
    part->handle.reset(curl_easy_init());
    part->url = m_finalUrl;
    part->rangesIgnored = &m_rangesIgnored;
    if (part->nextOffset > part->endOffset) {
        part->state = 0;
        return part;
    }
    part->state = -1;
    part->file.reset(_wfopen(part->partPath.c_str(), L"ab+"));
    if (!part->file) part->state = kPartFileFailed;
    else setvbuf(part->file.get(), nullptr, _IOFBF, 1024 * 1024);
    return part;
}

// The server answered a range with the whole file: this run fetches it in one stream instead.
void CMTCurlDownloader::FetchWholeFile() {
    DEBUG_LOG(L"ranges ignored by the server, fetching the file in one stream\r\n");
    ReleaseParts();
    DeletePartFiles();
    m_rangesIgnored = false;
    m_parts.push_back(NewPart(PartPath(0), SegmentRange{0, m_fileLength - 1}, 0, true));
    if (m_parts.back()->state == -1) FetchWithRetries(m_parts.back().get());
}

size_t CMTCurlDownloader::ReadSegmentHeader(char* data, size_t size, size_t count, void* node) {
    static_cast<DownloadPartNode*>(node)->head.ReadHeaderLine(data, size * count);
    return size * count;
}

// Writes a block of a segment's body. The first block decides whether the answer is the
// asked-for range; a body running past the range's end spoils the segment, which then starts
// again from its first byte.
size_t CMTCurlDownloader::WriteSegment(char* data, size_t size, size_t count, void* node) {
    DownloadPartNode* part = static_cast<DownloadPartNode*>(node);
    if (!part || !part->file || part->nextOffset > part->endOffset) return 0;
    if (!part->bodyChecked) {
        part->bodyChecked = true;
        const BodyFit fit = part->wholeFile
                                ? FitResumedBody(part->head, part->requestFirst)
                                : FitSegmentBody(part->head, part->requestFirst, part->endOffset);
        if (fit == BodyFit::WholeFile && !part->wholeFile) {
            // Not this segment's bytes: the whole run falls back to one stream.
            if (part->rangesIgnored) *part->rangesIgnored = true;
            return 0;
        }
        if (fit != BodyFit::Expected && part->wholeFile) {
            // A resumed whole-file stream answered from byte 0 (or unusably): start afresh.
            std::fflush(part->file.get());
            _chsize_s(_fileno(part->file.get()), 0);
            part->nextOffset = part->firstOffset;
            part->received = 0;
            if (fit != BodyFit::WholeFile) return 0;
        } else if (fit != BodyFit::Expected) {
            return 0;
        }
    }
    const std::int64_t n = static_cast<std::int64_t>(size * count);
    if (part->nextOffset + n - 1 > part->endOffset) {
        DEBUG_LOG(L"segment body runs past byte %lld\r\n", static_cast<long long>(part->endOffset));
        std::fflush(part->file.get());
        _chsize_s(_fileno(part->file.get()), 0);
        part->nextOffset = part->firstOffset;
        part->received = 0;
        return 0;
    }
    const size_t written = fwrite(data, 1, size * count, part->file.get());
    part->nextOffset += static_cast<std::int64_t>(written);
    part->received += static_cast<std::int64_t>(written);
    return written;
}

int CMTCurlDownloader::OnProgress(void* owner, std::int64_t, std::int64_t, std::int64_t,
                                  std::int64_t) {
    CMTCurlDownloader* self = static_cast<CMTCurlDownloader*>(owner);
    if (self->m_stop) return 1;  // the downloader is being destroyed
    double percent = 0.0;
    {
        std::lock_guard<std::mutex> guard(self->m_progressLock);
        const std::int64_t seconds = Utils::NowSeconds();
        if (!(seconds >= self->m_lastProgressTime + 1)) return 0;
        self->m_lastProgressTime = seconds;
        if (self->m_fileLength >= kMinimumLength) {
            for (const auto& part : self->m_parts) {
                const std::int64_t received = part->received;
                if (received > 0)
                    percent += static_cast<double>(received) * 100 /
                               static_cast<double>(self->m_fileLength);
            }
        }
        if (percent > 100) return 0;
        if (percent - self->m_lastPercent < 1.0) return 0;
        self->m_lastPercent = percent;
    }
    self->Send(DL_CODE_PROGRESS, percent / 100, L"");
    return 0;
}

// Appends parts 1.. to part 0 and puts the result at the target path; false when a write,
// the close or the rename failed (the target is then not there).
bool CMTCurlDownloader::JoinParts() {
    Utils::UniqueFile first(_wfopen(PartPath(0).c_str(), L"ab+"));
    if (!first) return false;
    bool ok = true;
    std::vector<char> block(1024 * 1024);
    for (int i = 1; i < static_cast<int>(m_parts.size()) && ok; ++i) {
        const std::wstring path = PartPath(i);
        Utils::UniqueFile next(_wfopen(path.c_str(), L"rb"));
        if (!next) {
            ok = false;
            break;
        }
        size_t read;
        while (ok && (read = fread(block.data(), 1, block.size(), next.get())) > 0)
            ok = fwrite(block.data(), 1, read, first.get()) == read;
        if (ferror(next.get())) ok = false;
        DEBUG_LOG(L"partPath::%s\r\n", path.c_str());
    }
    if (!Utils::CloseChecked(first)) ok = false;
    if (ok && ExistingSize(PartPath(0)) != m_fileLength) ok = false;
    if (ok && _wrename(PartPath(0).c_str(), m_target.c_str()) != 0) ok = false;
    if (!ok) DeleteFileW(PartPath(0).c_str());
    return ok;
}

void CMTCurlDownloader::waitForFinishThreadFun(CMTCurlDownloader* self) {
    while (self->m_running > 0) Sleep(200);
    if (self->m_stop) return;
    if (self->m_rangesIgnored) self->FetchWholeFile();
    if (self->m_stop) return;
    int failure = 0;
    for (const auto& part : self->m_parts) {
        if (part->state != 0) {
            failure = part->state;
            break;
        }
    }
    if (failure == 0) {
        {
            std::lock_guard<std::mutex> guard(self->m_progressLock);
            self->m_lastPercent = 0.0;
        }
        if (self->JoinParts()) {
            self->DeletePartFiles();
            self->ReleaseParts();
            if (!VerifyFinishedDownload(
                    self->m_target, self->m_expectedMd5, self->m_packageLock, kFileMd5Failed,
                    kUrlMd5Missing, L"LibCurl", self->m_retried,
                    [self](int c, double v, const wchar_t* t) { self->Send(c, v, t); }))
                return;
            DEBUG_LOG(L"finish recv\r\n");
            self->Send(DL_CODE_SUCCESS, 0.0, L"LibCurl");
            return;
        }
        // The parts could not be joined into the target: the run fails like a failed segment.
        failure = kPartFileFailed;
    }
    self->ReleaseParts();
    double lastPercent;
    {
        std::lock_guard<std::mutex> guard(self->m_progressLock);
        lastPercent = self->m_lastPercent;
    }
    if (lastPercent == 0.0) self->DeletePartFiles();
    if (self->m_retried) {
        std::lock_guard<std::mutex> guard(self->m_progressLock);
        self->m_lastPercent = 0.0;
    }
    if (self->m_retried) {
        self->Send(DL_CODE_FAIL, failure, L"LibCurl");
    } else {
        self->m_retried = true;
        self->Send(DL_CODE_RETRY, failure, L"LibCurl");
    }
}
