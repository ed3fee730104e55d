#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Utils {

// One callable on one named operating-system thread. The thread is created suspended: the
// owner stores the object, then resumes Handle() itself when it is not null. Join and the
// destructor wait for the thread without a time limit; never call them from the thread itself.
class Thread {
public:
    using Callable = std::function<void(void*)>;

    Thread(void* argument, const std::wstring& name, Callable callable);
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void* Handle() const { return m_handle; }
    std::uint32_t Id() const { return m_id; }
    void Join();

private:
    static unsigned long __stdcall CallBack(void* self);
    void PublishName() const;

    std::uint32_t m_id = 0;
    void* m_handle = nullptr;
    Callable m_callable;
    void* m_argument;
    std::wstring m_name;
};

// The owner sequence: joins and deletes the thread held in slot, creates a new one named name
// that runs callable with owner as its argument, stores it in slot and resumes it.
void StartOwnedThread(std::unique_ptr<Thread>& slot, void* owner, const std::wstring& name,
                      Thread::Callable callable);

}  // namespace Utils
