#include "skin/SkinPackage.h"

#include "skin/PackagePath.h"
#include "skin/SkinArchiveDecode.h"

#include <windows.h>

#include <lzma/7zTypes.h>

#include <cstddef>
#include <cstring>

namespace Skin {
namespace {

// The reader's allocators: the process heap.
void* HeapBlockAlloc(ISzAllocPtr, size_t size) {
    return size == 0 ? nullptr : HeapAlloc(GetProcessHeap(), 0, size);
}
void HeapBlockFree(ISzAllocPtr, void* address) {
    if (address) HeapFree(GetProcessHeap(), 0, address);
}
const ISzAlloc kHeapAlloc = {HeapBlockAlloc, HeapBlockFree};

bool EqualIgnoringCase(const wchar_t* storedName, const wchar_t* packagePath) {
    return lstrcmpiW(storedName, packagePath) == 0;
}

}  // namespace

std::unique_ptr<CSkinPackage> OpenPackageFromMemory(const void* bytes, std::size_t size) {
    return DecodeSkinArchive(bytes, size, &kHeapAlloc);
}

unsigned long FindPackageEntry(const CSkinPackage* package, const wchar_t* path,
                               std::uint32_t* index, std::uint64_t* size) {
    if (!package || !path) return kPackageNotFound;
    const std::wstring packagePath = ToPackagePath(path);
    for (const SkinPackageEntry& entry : package->Entries()) {
        if (!PackageNameMatches(entry.name, entry.nameLength, packagePath, EqualIgnoringCase))
            continue;
        if (index) *index = entry.index;
        if (size) *size = entry.size;
        return kPackageOk;
    }
    return kPackageNotFound;
}

unsigned long ReadPackageEntry(const CSkinPackage* package, std::uint32_t index, void* buffer) {
    if (!package) return kPackageNotFound;
    for (const SkinPackageEntry& entry : package->Entries()) {
        if (entry.index != index) continue;
        if (entry.size) {
            if (!buffer) return kPackageNotFound;
            std::memcpy(buffer, entry.bytes.get(), static_cast<std::size_t>(entry.size));
        }
        return kPackageOk;
    }
    return kPackageNotFound;
}

}  // namespace Skin
