#include "app/InstanceGuard.h"

#include <windows.h>

void InstanceGuard::Acquire() {
    if (m_handle) return;
    HANDLE mutex = CreateMutexW(nullptr, TRUE, FullName().c_str());
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        mutex = nullptr;
    }
    m_handle = mutex;
}

void InstanceGuard::Release() {
    if (!m_handle) return;
    ReleaseMutex(m_handle);
    CloseHandle(m_handle);
    m_handle = nullptr;
}
