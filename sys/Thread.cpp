#include "sys/Thread.h"

#include <windows.h>

#include <mutex>

#include "sys/DebugLog.h"
#include "sys/TextConversion.h"

namespace Utils {
namespace {

const DWORD kSetThreadNameException = 0x406D1388;

// Without a debugger nobody handles the naming exception; this handler lets it pass. A
// debugger sees it first (first-chance) and takes the name from it.
LONG CALLBACK ContinueAfterThreadName(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == kSetThreadNameException)
        return EXCEPTION_CONTINUE_EXECUTION;
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

Thread::Thread(void* argument, const std::wstring& name, Callable callable)
    : m_callable(std::move(callable)), m_argument(argument), m_name(name) {
    DWORD id = 0;
    m_handle = CreateThread(nullptr, 0, &Thread::CallBack, this, CREATE_SUSPENDED, &id);
    m_id = id;
    if (m_handle) PublishName();
}

Thread::~Thread() { Join(); }

void Thread::Join() {
    if (!m_handle) return;
    WaitForSingleObject(m_handle, INFINITE);
    CloseHandle(m_handle);
    m_handle = nullptr;
    m_id = 0xFFFFFFFFu;
}

void Thread::PublishName() const {
    static std::once_flag installed;
    std::call_once(installed, [] { AddVectoredExceptionHandler(0, ContinueAfterThreadName); });
    const std::string name =
        m_name.empty() ? "t" + std::to_string(m_id) : ToNarrow(m_name);
    const ULONG_PTR info[4] = {0x1000, reinterpret_cast<ULONG_PTR>(name.c_str()), m_id, 0};
    RaiseException(kSetThreadNameException, 0, 4, info);
}

void StartOwnedThread(std::unique_ptr<Thread>& slot, void* owner, const std::wstring& name,
                      Thread::Callable callable) {
    if (slot) {
        if (slot->Handle()) slot->Join();
        slot.reset();
    }
    slot.reset(new Thread(owner, name, std::move(callable)));
    if (slot->Handle()) ResumeThread(slot->Handle());
}

unsigned long __stdcall Thread::CallBack(void* self) {
    Thread* thread = static_cast<Thread*>(self);
    DEBUG_LOG(L"THREAD BEGIN\r\n");
    thread->m_callable(thread->m_argument);
    DEBUG_LOG(L"THREAD END\r\n");
    return 0;
}

}  // namespace Utils
