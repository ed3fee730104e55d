#include "download/Downloader.h"

#include <windows.h>

#include "sys/Thread.h"

CDownloader::~CDownloader() { WaitForWorkers(); }

int CDownloader::StartWorker(void (*body)(void* self)) {
    std::lock_guard<std::mutex> guard(m_workerLock);
    const DWORD caller = GetCurrentThreadId();
    for (auto it = m_retired.begin(); it != m_retired.end();) {
        if ((*it)->Id() == caller) {
            ++it;
            continue;
        }
        delete *it;  // joins
        it = m_retired.erase(it);
    }
    if (m_worker) {
        if (m_worker->Handle() && m_worker->Id() == caller) {
            m_retired.push_back(m_worker);
        } else {
            if (m_worker->Handle()) m_worker->Join();
            delete m_worker;
        }
    }
    m_worker = new Utils::Thread(this, L"ABDEF", body);
    if (m_worker->Handle()) return static_cast<int>(ResumeThread(m_worker->Handle()));
    return 0;
}

void CDownloader::WaitForWorkers() {
    for (;;) {
        std::vector<Utils::Thread*> threads;
        {
            std::lock_guard<std::mutex> guard(m_workerLock);
            threads.swap(m_retired);
            if (m_worker) threads.push_back(m_worker);
            m_worker = nullptr;
        }
        if (threads.empty()) return;
        for (Utils::Thread* thread : threads) delete thread;  // joins
    }
}
