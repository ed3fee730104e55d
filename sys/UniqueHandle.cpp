#include "sys/UniqueHandle.h"

#include <windows.h>

namespace Utils {

void KernelHandleCloser::operator()(void* handle) const {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

}  // namespace Utils
