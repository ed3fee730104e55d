#include "install/Pipe.h"

#include <windows.h>

#include "sys/Exception.h"

namespace Utils {

Pipe::Pipe() {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &sa, 0)) {
        if (read) CloseHandle(read);
        if (write) CloseHandle(write);
        throw Exception(L"");
    }
    m_read = read;
    m_write = write;
}

Pipe::~Pipe() {
    CloseWrite();
    CloseRead();
}

void Pipe::CloseWrite() {
    if (m_write) CloseHandle(m_write);
    m_write = nullptr;
}

void Pipe::CloseRead() {
    if (m_read) CloseHandle(m_read);
    m_read = nullptr;
}

}  // namespace Utils
