#pragma once
#include <cstddef>
#include <memory>

#include "skin/SkinPackage.h"

struct ISzAlloc;  // the LZMA SDK's allocator interface (lzma/7zTypes.h)

// The Windows-free part of the skin package: a 7z archive held in memory decoded through the
// LZMA SDK into the table of its files. OpenPackageFromMemory is this with the process heap.
namespace Skin {

// Decodes a whole archive as OpenPackageFromMemory describes it, taking every block of the
// reader's memory (database, look-up tables, the solid block cache) from `alloc`.
std::unique_ptr<CSkinPackage> DecodeSkinArchive(const void* bytes, std::size_t size,
                                               const ISzAlloc* alloc);

}  // namespace Skin
