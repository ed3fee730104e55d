#include "download/Downloader.h"

#include <windows.h>

#include "sys/Thread.h"

CDownloader::CDownloader() = default;

CDownloader::~CDownloader() { WaitForWorkers(); }

int CDownloader::StartWorker(void (*body)(void* self)) {
    std::lock_guard<std::mutex> guard(m_workerLock);
    const DWORD caller = GetCurrentThreadId();
    for (auto it = m_retired.begin(); it != m_retired.end();) {
        if ((*it)->Id() == caller) {
            ++it;
            continue;
        }
        it = m_retired.erase(it);  // joins
    }
    if (m_worker) {
        if (m_worker->Handle() && m_worker->Id() == caller) {
            m_retired.push_back(std::move(m_worker));
        } else {
            if (m_worker->Handle()) m_worker->Join();
            m_worker.reset();
        }
    }
    m_worker.reset(new Utils::Thread(this, L"ABDEF", body));
    if (m_worker->Handle()) return static_cast<int>(ResumeThread(m_worker->Handle()));
    return 0;
}

void CDownloader::WaitForWorkers() {
    for (;;) {
        std::vector<std::unique_ptr<Utils::Thread>> threads;
        {
            std::lock_guard<std::mutex> guard(m_workerLock);
            threads.swap(m_retired);
            if (m_worker) threads.push_back(std::move(m_worker));
        }
        if (threads.empty()) return;
        threads.clear();  // joins
    }
}
