#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "download/Md5.h"

// An MD5 computed on a thread of its own while the bytes keep arriving: Update copies the
// bytes into a queue of blocks and returns; a second core hashes them meanwhile. At most a
// few blocks wait, so a slow hash slows the writer rather than filling memory.
class BackgroundMd5 {
public:
    BackgroundMd5();
    ~BackgroundMd5();
    BackgroundMd5(const BackgroundMd5&) = delete;
    BackgroundMd5& operator=(const BackgroundMd5&) = delete;

    // Starts over with the state of md5 (the bytes it has seen count as hashed).
    void Reset(const Md5& md5);
    void Update(const void* data, std::size_t length);
    // Waits until every byte given is hashed; the digest of all of them.
    std::string HexDigest();

private:
    void Run();
    void Flush(std::unique_lock<std::mutex>& lock);

    static const std::size_t kBlockSize = 1024 * 1024;
    static const std::size_t kMaxQueued = 4;

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<std::vector<unsigned char>> m_queue;  // full blocks waiting to be hashed
    std::vector<unsigned char> m_filling;           // the block being filled
    bool m_busy = false;                            // the thread is hashing a block
    bool m_quit = false;
    Md5 m_md5;  // used by the thread only while m_busy
    std::thread m_thread;
};
