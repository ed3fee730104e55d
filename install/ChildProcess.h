#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "install/Pipe.h"

namespace Utils {

// A console program running hidden, its standard streams on pipes. Only standard output is
// read by the owner; standard error is drained and discarded so that a chatty child can never
// block on a full pipe. Throws Utils::Exception when a pipe or the process cannot be created.
class ChildProcess {
public:
    explicit ChildProcess(const std::wstring& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    static const unsigned long kStillActive = 259;

    // One blocking read of at most 1024 bytes of standard output, cut at the first zero byte.
    // False when the read gave nothing (the pipe is closed and empty).
    bool ReadChunk(std::string& bytes);
    // Like ReadChunk, but only what the pipe already holds: false at once when it is empty.
    bool ReadAvailableChunk(std::string& bytes);
    unsigned long ExitCode() const;
    // Waits, without a time limit, for the child to end; output it still writes is discarded.
    void WaitForExit();

private:
    void Start(const std::wstring& commandLine);
    void DrainErrors();

    Pipe m_error;
    Pipe m_output;
    Pipe m_input;
    void* m_process = nullptr;
    void* m_thread = nullptr;
    std::atomic<bool> m_stopDraining{false};
    std::thread m_errorDrain;
};

}  // namespace Utils
