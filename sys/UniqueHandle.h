#pragma once
#include <cstdio>
#include <memory>

namespace Utils {

// Owners of kernel handles (processes, threads, pipes, events) and of standard-library files.
// A null handle owns nothing; kernel handles that report failure as INVALID_HANDLE_VALUE are
// stored as null by their creators.
struct KernelHandleCloser {
    void operator()(void* handle) const;
};
using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Closes a file whose writes matter: false when buffered data could not be written out.
inline bool CloseChecked(UniqueFile& file) {
    if (!file) return true;
    const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    const bool closed = std::fclose(file.release()) == 0;
    return flushed && closed;
}

}  // namespace Utils
