#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "download/CurlHandle.h"
#include "download/Downloader.h"
#include "download/ResponseHead.h"
#include "download/Segments.h"
#include "sys/UniqueHandle.h"

// One byte range of the segmented download, fetched into its own part file.
struct DownloadPartNode {
    Utils::UniqueFile file;
    std::int64_t firstOffset = 0;  // absolute position of the range's first byte
    std::int64_t nextOffset = 0;   // absolute position of the next byte to fetch
    std::int64_t endOffset = 0;    // absolute position of the last byte, inclusive
    CurlEasy handle;
    std::string url;
    std::wstring partPath;
    int state = -1;  // -1 to fetch, 0 complete, -2 part file not opened, else libcurl result
    std::atomic<std::int64_t> received{0};
    bool wholeFile = false;        // fetched without a range (the server ignores ranges)
    std::atomic<bool>* rangesIgnored = nullptr;  // set when a range is answered with the file
    // State of the running request.
    ResponseHead head;
    bool bodyChecked = false;
    std::int64_t requestFirst = 0;

    std::int64_t Length() const { return endOffset - firstOffset + 1; }
};

// Up to two byte ranges in parallel, joined into the target and checked against the MD5 in
// the final address; one retry per downloader.
class CMTCurlDownloader : public CDownloader {
public:
    CMTCurlDownloader(EventCallback callback, const std::wstring& url, const std::wstring& target);
    ~CMTCurlDownloader() override;

    int Start() override;

    static const std::int64_t kMinimumLength = 256;

private:
    void Start_Down();
    bool getRealDownloadUrl(const std::string& url);
    int downloadExe(DownloadPartNode* part);
    int FetchWithRetries(DownloadPartNode* part);
    static void downloadThreadFun(CMTCurlDownloader* self, DownloadPartNode* part);
    void FetchWholeFile();
    std::unique_ptr<DownloadPartNode> NewPart(const std::wstring& path, const SegmentRange& range,
                                              std::int64_t present, bool wholeFile);
    bool JoinParts();
    static void waitForFinishThreadFun(CMTCurlDownloader* self);
    static size_t WriteSegment(char* data, size_t size, size_t count, void* part);
    static size_t ReadSegmentHeader(char* data, size_t size, size_t count, void* part);
    static int OnProgress(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t);
    void DeletePartFiles();
    void ReleaseParts();
    std::wstring PartPath(int index) const;
    void Send(int code, double value, const wchar_t* text);
    // Runs body on a thread of this downloader's (the segments and the waiting thread).
    template <typename F> void Spawn(F body);
    // Waits for every such thread but the calling one, which is let go.
    void JoinThreads();

    std::list<std::unique_ptr<DownloadPartNode>> m_parts;
    EventCallback m_callback;
    std::wstring m_target;
    std::wstring m_url;
    std::string m_finalUrl;
    std::int64_t m_fileLength = -1;
    std::string m_expectedMd5;
    std::mutex m_progressLock;  // guards the two progress fields below
    double m_lastPercent = 0.0;
    std::int64_t m_lastProgressTime = 0;
    std::atomic<int> m_running{0};
    bool m_retried = false;
    std::mutex m_threadLock;          // guards m_threads
    std::vector<std::thread> m_threads;  // joined at the next run and on destruction
    std::atomic<bool> m_stop{false};  // set when the downloader is destroyed
    std::atomic<bool> m_rangesIgnored{false};  // a ranged request was answered with the whole file
};
