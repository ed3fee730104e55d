#pragma once

namespace Utils {

// One anonymous pipe with inheritable ends; the owner removes inheritance from the end it
// keeps. Throws Utils::Exception when the pipe cannot be created.
class Pipe {
public:
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    void* WriteEnd() const { return m_write; }
    void* ReadEnd() const { return m_read; }
    void CloseWrite();
    void CloseRead();

private:
    void* m_write = nullptr;
    void* m_read = nullptr;
};

}  // namespace Utils
