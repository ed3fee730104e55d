#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/EventCallback.h"
#include "sys/UniqueHandle.h"

namespace Utils {
class Thread;
}

// Download event codes.
enum DownloadEvent {
    DL_CODE_START = 1001,
    DL_CODE_PROGRESS = 1002,
    DL_CODE_SUCCESS = 1003,
    DL_CODE_FAIL = 1004,
    DL_CODE_RETRY = 1005,
    DL_CODE_CHECK_FAIL = 1006,
};

// A downloader fetches the download address into the target file on threads of its own and
// reports through its event callback. The owner calls Start for the first download and again
// after each DL_CODE_RETRY, possibly from the thread that sent that event.
class CDownloader {
public:
    CDownloader();
    virtual ~CDownloader();
    virtual int Start() = 0;

    // The lock on the verified target (see VerifyFinishedDownload), handed over once with
    // DL_CODE_SUCCESS: whoever runs the package keeps it until the package has started.
    Utils::UniqueHandle TakePackageLock() { return std::move(m_packageLock); }

protected:
    // The common start: replaces the worker thread by a new one named "ABDEF" running body.
    // A restart requested from the worker thread itself does not wait for that thread; it is
    // joined by a later start or by WaitForWorkers.
    int StartWorker(void (*body)(void* self));
    // Waits for every worker thread this downloader started (destruction).
    void WaitForWorkers();

    Utils::UniqueHandle m_packageLock;

private:
    std::mutex m_workerLock;
    std::unique_ptr<Utils::Thread> m_worker;
    std::vector<std::unique_ptr<Utils::Thread>> m_retired;  // workers that asked for their own restart
};
