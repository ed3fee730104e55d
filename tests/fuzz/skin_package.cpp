// 7z archives through the skin package reader, as the installer opens its skin: the whole
// archive decoded by the LZMA SDK into the file table. What the table holds must be what the
// archive's database says: files only, in archive order, each with exactly its bytes.
#include <cstdint>
#include <cstdlib>

#include <lzma/7zTypes.h>

#include "skin/PackagePath.h"
#include "skin/SkinArchiveDecode.h"
#include "skin/SkinPackage.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void* Allocate(ISzAllocPtr, size_t size) { return size == 0 ? nullptr : std::malloc(size); }
void Release(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kAlloc = {Allocate, Release};

bool EqualIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    for (; *a && *b; ++a, ++b)
        if (lower(*a) != lower(*b)) return false;
    return *a == *b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const unsigned before = Skin::SkinPackageDecodeCount();
    const auto package = Skin::DecodeSkinArchive(data, size, &kAlloc);
    FUZZ_CHECK(Skin::SkinPackageDecodeCount() == before + (package ? 1 : 0));
    if (!package) return 0;
    bool first = true;
    std::uint32_t previous = 0;
    for (const Skin::SkinPackageEntry& entry : package->Entries()) {
        FUZZ_CHECK(first || entry.index > previous);
        first = false;
        previous = entry.index;
        FUZZ_CHECK(entry.nameLength == 0 ? entry.name.empty()
                                         : entry.name.size() + 1 == entry.nameLength);
        FUZZ_CHECK((entry.size == 0) == (entry.bytes == nullptr));
        // The entry is found by its own name written with "\" separators.
        if (entry.nameLength != 0 && entry.name.find(L'\\') == std::wstring::npos) {
            std::wstring path = entry.name;
            for (wchar_t& c : path)
                if (c == L'/') c = L'\\';
            FUZZ_CHECK(Skin::PackageNameMatches(entry.name, entry.nameLength,
                                                Skin::ToPackagePath(path), EqualIgnoringAsciiCase));
        }
        // Every byte can be read (a short buffer shows here).
        unsigned sum = 0;
        for (std::uint64_t i = 0; i < entry.size; ++i) sum += entry.bytes[i];
        (void)sum;
    }
    return 0;
}
