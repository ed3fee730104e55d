#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The skin package: a 7z archive (held in memory) decoded once into a table of its files.
// Names keep the archive's "/" separators and their case; lookups go by relative path.
namespace Skin {

// One file of the package.
struct SkinPackageEntry {
    std::wstring name;                       // the path as stored, "/" separated
    std::uint32_t nameLength = 0;            // characters of the name with the terminating zero
    std::uint32_t index = 0;                 // the file's index in the archive, folders counted
    std::unique_ptr<unsigned char[]> bytes;  // the decoded content; null when size is 0
    std::uint64_t size = 0;                  // byte count of the content
};

// The files of an archive in archive order, folders left out. The package owns the entries and
// their bytes; it is only read once it has been opened.
class CSkinPackage {
public:
    const std::vector<SkinPackageEntry>& Entries() const { return entries_; }
    void Append(SkinPackageEntry entry) { entries_.push_back(std::move(entry)); }

private:
    std::vector<SkinPackageEntry> entries_;
};

// Result codes of FindPackageEntry and ReadPackageEntry.
constexpr unsigned long kPackageOk = 0;
constexpr unsigned long kPackageNotFound = 0x10000;  // also for no package or no path

// Decodes a whole 7z archive held in memory (the bytes are copied first, so the caller may
// release them afterwards). None when the archive cannot be opened. A file that cannot be
// extracted ends the table: it and every file after it are missing, earlier ones stay.
std::unique_ptr<CSkinPackage> OpenPackageFromMemory(const void* bytes, std::size_t size);

// Looks a relative path up: "\" counts as "/", case is ignored (lstrcmpiW), nothing else is
// normalised and lengths must be equal. The first match gives its archive index and size.
unsigned long FindPackageEntry(const CSkinPackage* package, const wchar_t* path,
                               std::uint32_t* index, std::uint64_t* size);

// Copies the content of the first entry with this archive index into a buffer of exactly the
// entry's size.
unsigned long ReadPackageEntry(const CSkinPackage* package, std::uint32_t index, void* buffer);

// How often this process has decoded an archive (OpenPackageFromMemory calls that opened the
// archive), and how often a solid block was decoded into the reader's block cache.
unsigned SkinPackageDecodeCount();
unsigned SkinPackageBlockDecodeCount();

}  // namespace Skin
