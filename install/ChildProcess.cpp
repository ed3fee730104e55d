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

// The attribute-list calls exist from Windows Vista on; looked up at run time so that the
// program still starts on older systems, where every inheritable handle is inherited.
struct HandleListCalls {
    decltype(&InitializeProcThreadAttributeList) initialize = nullptr;
    decltype(&UpdateProcThreadAttribute) update = nullptr;
    decltype(&DeleteProcThreadAttributeList) remove = nullptr;

    HandleListCalls() {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        if (!kernel) return;
        initialize = reinterpret_cast<decltype(initialize)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "InitializeProcThreadAttributeList")));
        update = reinterpret_cast<decltype(update)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "UpdateProcThreadAttribute")));
        remove = reinterpret_cast<decltype(remove)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "DeleteProcThreadAttributeList")));
    }
    bool Available() const { return initialize && update && remove; }
};

// An attribute list naming the only handles a child may inherit.
class InheritList {
public:
    InheritList(HANDLE* handles, size_t count) {
        static const HandleListCalls calls;
        if (!calls.Available()) return;
        SIZE_T size = 0;
        calls.initialize(nullptr, 1, 0, &size);
        m_storage.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.data());
        if (!calls.initialize(list, 1, 0, &size)) return;
        if (!calls.update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles,
                          count * sizeof(HANDLE), nullptr, nullptr)) {
            calls.remove(list);
            return;
        }
        m_list = list;
        m_remove = calls.remove;
    }
    ~InheritList() {
        if (m_list) m_remove(m_list);
    }
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return m_list; }

private:
    std::vector<unsigned char> m_storage;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
    decltype(&DeleteProcThreadAttributeList) m_remove = nullptr;
};

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& commandLine) {
    Start(program, commandLine);
}

void ChildProcess::Start(const std::wstring& program, const std::wstring& commandLine) {
    // The creation call may modify the text; it gets a private copy sized to the text.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOEXW sx = {};
    STARTUPINFOW& si = sx.StartupInfo;
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    SetHandleInformation(m_output.ReadEnd(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_error.ReadEnd(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_input.WriteEnd(), HANDLE_FLAG_INHERIT, 0);
    si.hStdInput = m_input.ReadEnd();
    si.hStdOutput = m_output.WriteEnd();
    si.hStdError = m_error.WriteEnd();

    HANDLE inherited[] = {si.hStdInput, si.hStdOutput, si.hStdError};
    InheritList list(inherited, 3);
    // A console child gets no console window of its own either (it runs hidden).
    DWORD flags = CREATE_NO_WINDOW;
    if (list.Get()) {
        sx.lpAttributeList = list.Get();
        si.cb = sizeof(sx);
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    }

    PROCESS_INFORMATION pi = {};
    if (program.empty() ||
        !CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                        &si, &pi))
        throw Exception(L"");
    m_process.reset(pi.hProcess);
    m_thread.reset(pi.hThread);
    m_output.CloseWrite();
    m_error.CloseWrite();
    m_input.CloseRead();
    try {
        m_errorDrain = std::thread(&ChildProcess::DrainErrors, this);
    } catch (const std::exception&) {
        // Without the drain a chatty child could block for ever: it is not left running.
        TerminateProcess(m_process.get(), 1);
        WaitForSingleObject(m_process.get(), INFINITE);
        throw Exception(L"");
    }
}

ChildProcess::~ChildProcess() {
    m_stopDraining = true;
    if (m_errorDrain.joinable()) m_errorDrain.join();
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

bool ChildProcess::WaitForOutput(std::string& bytes) {
    for (;;) {
        const bool ended = HasEnded();
        DWORD available = 0;
        if (!PeekNamedPipe(m_output.ReadEnd(), nullptr, 0, nullptr, &available, nullptr))
            return false;  // every write end is closed and nothing is left
        if (available > 0) return ReadChunk(bytes);
        if (ended) return false;  // what it wrote before it ended has been read
        Sleep(10);
    }
}

bool ChildProcess::HasEnded() const {
    return !m_process || WaitForSingleObject(m_process.get(), 0) != WAIT_TIMEOUT;
}

void ChildProcess::WaitForExit() {
    while (WaitForSingleObject(m_process.get(), 50) == WAIT_TIMEOUT)
        DiscardAvailable(m_output.ReadEnd());
}

}  // namespace Utils
