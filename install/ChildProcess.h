#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "install/Pipe.h"
#include "sys/UniqueHandle.h"

namespace Utils {

// A console program running hidden, its standard streams on pipes. Only standard output is
// read by the owner; standard error is drained and discarded so that a chatty child can never
// block on a full pipe. The child inherits its three pipe ends and no other handle of this
// process. Throws Utils::Exception when a pipe, the process or the drain cannot be started;
// a child already started is then ended and nothing of it is left open.
class ChildProcess {
public:
    // program is the file to run, named in full: the command line's first word is never
    // searched for, so "C:\\Users\\John Smith\\setup.exe" cannot become "C:\\Users\\John.exe".
    ChildProcess(const std::wstring& program, const std::wstring& commandLine);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // One blocking read of at most 1024 bytes of standard output, cut at the first zero byte.
    // False when the read gave nothing (the pipe is closed and empty).
    bool ReadChunk(std::string& bytes);
    // The next chunk of standard output, waiting for it while the child runs: false once the
    // child has ended (or closed its output) and everything it wrote has been read. A
    // grandchild that inherited the pipe cannot hold the reader after the child has ended.
    bool WaitForOutput(std::string& bytes);
    // Whether the process has ended (by its handle: an exit code of 259 is an exit code too).
    bool HasEnded() const;
    // Waits, without a time limit, for the child to end; output it still writes is discarded.
    void WaitForExit();

private:
    void Start(const std::wstring& program, const std::wstring& commandLine);
    void DrainErrors();

    Pipe m_error;
    Pipe m_output;
    Pipe m_input;
    UniqueHandle m_process;
    UniqueHandle m_thread;
    std::atomic<bool> m_stopDraining{false};
    std::thread m_errorDrain;
};

}  // namespace Utils
