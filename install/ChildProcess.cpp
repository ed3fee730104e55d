#include "install/ChildProcess.h"

#include <windows.h>

#include <vector>

#include "sys/Exception.h"

namespace Utils {
namespace {

// Reads and discards whatever the pipe holds now, without blocking. False once the pipe is
// broken (every write end closed) or unreadable.
bool DiscardAvailable(HANDLE pipe) {
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
        if (available == 0) return true;
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, sizeof buffer, &read, nullptr)) return false;
    }
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine) { Start(commandLine); }

void ChildProcess::Start(const std::wstring& commandLine) {
    // The creation call may modify the text; it gets a private copy sized to the text.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    SetHandleInformation(m_output.ReadEnd(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_error.ReadEnd(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_input.WriteEnd(), HANDLE_FLAG_INHERIT, 0);
    si.hStdInput = m_input.ReadEnd();
    si.hStdOutput = m_output.WriteEnd();
    si.hStdError = m_error.WriteEnd();

    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        throw Exception(L"");
    m_process = pi.hProcess;
    m_thread = pi.hThread;
    m_output.CloseWrite();
    m_error.CloseWrite();
    m_input.CloseRead();
    m_errorDrain = std::thread(&ChildProcess::DrainErrors, this);
}

ChildProcess::~ChildProcess() {
    m_stopDraining = true;
    if (m_errorDrain.joinable()) m_errorDrain.join();
    if (m_thread) CloseHandle(m_thread);
    if (m_process) CloseHandle(m_process);
}

void ChildProcess::DrainErrors() {
    // Polls rather than blocks: a grandchild that inherited the error pipe must not keep this
    // thread (and the destructor) waiting.
    while (!m_stopDraining && DiscardAvailable(m_error.ReadEnd())) Sleep(20);
}

bool ChildProcess::ReadChunk(std::string& bytes) {
    char buffer[1024] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(m_output.ReadEnd(), buffer, sizeof buffer, &read, nullptr);
    if (!ok && read == 0) return false;
    size_t length = 0;
    while (length < read && buffer[length] != '\0') ++length;
    bytes.assign(buffer, length);
    return true;
}

bool ChildProcess::ReadAvailableChunk(std::string& bytes) {
    DWORD available = 0;
    if (!PeekNamedPipe(m_output.ReadEnd(), nullptr, 0, nullptr, &available, nullptr) ||
        available == 0)
        return false;
    return ReadChunk(bytes);
}

unsigned long ChildProcess::ExitCode() const {
    DWORD code = kStillActive;
    if (!GetExitCodeProcess(m_process, &code)) return 0;
    return code;
}

void ChildProcess::WaitForExit() {
    while (WaitForSingleObject(m_process, 50) == WAIT_TIMEOUT) DiscardAvailable(m_output.ReadEnd());
}

}  // namespace Utils
