#include "download/BackgroundMd5.h"

#include <cstring>

BackgroundMd5::BackgroundMd5() : m_thread(&BackgroundMd5::Run, this) {}

BackgroundMd5::~BackgroundMd5() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundMd5::Run() {
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_quit || !m_queue.empty(); });
        if (m_queue.empty()) return;  // quitting
        std::vector<unsigned char> block = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        m_changed.notify_all();  // room in the queue
        m_md5.Update(block.data(), block.size());
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

void BackgroundMd5::Flush(std::unique_lock<std::mutex>& lock) {
    if (!m_filling.empty()) {
        m_changed.wait(lock, [this] { return m_queue.size() < kMaxQueued; });
        m_queue.push_back(std::move(m_filling));
        m_filling = std::vector<unsigned char>();
        m_changed.notify_all();
    }
}

void BackgroundMd5::Reset(const Md5& md5) {
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    m_filling.clear();
    m_md5 = md5;
}

void BackgroundMd5::Update(const void* data, std::size_t length) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::unique_lock<std::mutex> lock(m_lock);
    while (length > 0) {
        if (m_filling.capacity() < kBlockSize) m_filling.reserve(kBlockSize);
        const std::size_t take = std::min(length, kBlockSize - m_filling.size());
        m_filling.insert(m_filling.end(), bytes, bytes + take);
        bytes += take;
        length -= take;
        if (m_filling.size() == kBlockSize) Flush(lock);
    }
}

std::string BackgroundMd5::HexDigest() {
    std::unique_lock<std::mutex> lock(m_lock);
    Flush(lock);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    Md5 copy = m_md5;
    return copy.HexDigest();
}
