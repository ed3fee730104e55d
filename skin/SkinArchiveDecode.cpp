#include "skin/SkinArchiveDecode.h"

#include <lzma/7z.h>
#include <lzma/7zCrc.h>
#include <lzma/7zTypes.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

namespace Skin {
namespace {

std::atomic<unsigned> g_archiveDecodes{0};
std::atomic<unsigned> g_blockDecodes{0};

// Look-ahead buffer of the reader over the stream.
constexpr std::size_t kLookAheadSize = std::size_t(1) << 18;

// A seekable input stream over a private copy of the archive bytes. A read copies from the
// current position and returns at most the bytes that remain; a seek goes to an absolute
// position, relative to the current one or to the end, and reports the new position.
struct MemoryInStream {
    ISeekInStream vt;  // first member: the reader hands back a pointer to it
    std::vector<Byte> data;
    UInt64 position = 0;

    explicit MemoryInStream(const void* bytes, std::size_t size)
        : data(static_cast<const Byte*>(bytes), static_cast<const Byte*>(bytes) + size) {
        vt.Read = &MemoryInStream::Read;
        vt.Seek = &MemoryInStream::Seek;
    }

    static MemoryInStream* From(ISeekInStreamPtr p) {
        return const_cast<MemoryInStream*>(reinterpret_cast<const MemoryInStream*>(p));
    }

    static SRes Read(ISeekInStreamPtr p, void* buffer, size_t* size) {
        MemoryInStream* self = From(p);
        const UInt64 total = self->data.size();
        const UInt64 remaining = self->position < total ? total - self->position : 0;
        const std::size_t count =
            static_cast<std::size_t>(remaining < *size ? remaining : UInt64(*size));
        if (count) {
            std::memcpy(buffer, self->data.data() + self->position, count);
            self->position += count;
        }
        *size = count;
        return SZ_OK;
    }

    static SRes Seek(ISeekInStreamPtr p, Int64* pos, ESzSeek origin) {
        MemoryInStream* self = From(p);
        Int64 base = 0;
        switch (origin) {
            case SZ_SEEK_SET: base = 0; break;
            case SZ_SEEK_CUR: base = static_cast<Int64>(self->position); break;
            case SZ_SEEK_END: base = static_cast<Int64>(self->data.size()); break;
            default: return SZ_ERROR_PARAM;
        }
        const Int64 target = base + *pos;
        if (target < 0) return SZ_ERROR_PARAM;
        self->position = static_cast<UInt64>(target);
        *pos = target;
        return SZ_OK;
    }
};
static_assert(std::is_standard_layout<MemoryInStream>::value &&
                  offsetof(MemoryInStream, vt) == 0,
              "the stream's interface must sit at its start");

// The 7z reader over one archive in memory: the stream, its look-ahead reader, the database and
// the block cache, all released together.
class ArchiveReader {
public:
    ArchiveReader(const void* bytes, std::size_t size, const ISzAlloc* alloc)
        : alloc_(alloc), stream_(bytes, size), lookAheadSize_(LookAheadFor(size)),
          lookAhead_(new Byte[lookAheadSize_]) {
        LookToRead2_CreateVTable(&look_, False);
        look_.realStream = &stream_.vt;
        look_.buf = lookAhead_.get();
        look_.bufSize = lookAheadSize_;
        LookToRead2_INIT(&look_)
        SzArEx_Init(&db_);
    }
    ~ArchiveReader() {
        ISzAlloc_Free(alloc_, blockCache_);
        SzArEx_Free(&db_, alloc_);
    }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    bool Open() { return SzArEx_Open(&db_, &look_.vt, alloc_, alloc_) == SZ_OK; }

    const CSzArEx& Database() const { return db_; }

    // Extracts file i through the block cache: its solid block is decoded when the cache does
    // not hold it yet, later files of the block come straight from the cache.
    bool Extract(UInt32 fileIndex, const Byte** bytes, std::size_t* size) {
        const UInt32 block = db_.FileToFolder ? db_.FileToFolder[fileIndex] : UInt32(-1);
        if (block != UInt32(-1) && (!blockCache_ || blockIndex_ != block)) ++g_blockDecodes;
        std::size_t offset = 0;
        std::size_t processed = 0;
        const SRes res = SzArEx_Extract(&db_, &look_.vt, fileIndex, &blockIndex_, &blockCache_,
                                        &blockCacheSize_, &offset, &processed, alloc_,
                                        alloc_);
        if (res != SZ_OK) return false;
        *bytes = blockCache_ ? blockCache_ + offset : nullptr;
        *size = processed;
        return true;
    }

private:
    const ISzAlloc* alloc_;
    // No larger than the archive: a small one needs no quarter-megabyte buffer.
    static std::size_t LookAheadFor(std::size_t size) {
        return size < kLookAheadSize ? (size < 64 ? 64 : size) : kLookAheadSize;
    }

    MemoryInStream stream_;
    std::size_t lookAheadSize_;
    std::unique_ptr<Byte[]> lookAhead_;
    CLookToRead2 look_{};
    CSzArEx db_{};
    UInt32 blockIndex_ = UInt32(-1);
    Byte* blockCache_ = nullptr;
    std::size_t blockCacheSize_ = 0;
};

void PrepareCrcTable() {
    static const bool ready = (CrcGenerateTable(), true);
    (void)ready;
}

}  // namespace

std::unique_ptr<CSkinPackage> DecodeSkinArchive(const void* bytes, std::size_t size,
                                               const ISzAlloc* alloc) {
    if (!bytes && size) return nullptr;
    PrepareCrcTable();
    ArchiveReader reader(bytes, size, alloc);
    if (!reader.Open()) return nullptr;
    ++g_archiveDecodes;

    auto package = std::make_unique<CSkinPackage>();
    const CSzArEx& db = reader.Database();
    std::vector<UInt16> name;
    for (UInt32 i = 0; i < db.NumFiles; ++i) {
        if (db.IsDirs && SzArEx_IsDir(&db, i)) continue;

        SkinPackageEntry entry;
        const std::size_t nameLength = SzArEx_GetFileNameUtf16(&db, i, nullptr);
        name.assign(nameLength ? nameLength : 1, 0);
        if (nameLength) SzArEx_GetFileNameUtf16(&db, i, name.data());
        entry.name.assign(name.begin(), name.begin() + (nameLength ? nameLength - 1 : 0));
        entry.nameLength = static_cast<std::uint32_t>(nameLength);
        entry.index = i;
        entry.size = SzArEx_GetFileSize(&db, i);

        const Byte* content = nullptr;
        std::size_t contentSize = 0;
        if (!reader.Extract(i, &content, &contentSize)) break;
        if (contentSize != entry.size || (contentSize && !content)) break;
        if (contentSize) {
            entry.bytes.reset(new unsigned char[contentSize]);
            std::memcpy(entry.bytes.get(), content, contentSize);
        }
        package->Append(std::move(entry));
    }
    return package;
}

unsigned SkinPackageDecodeCount() { return g_archiveDecodes.load(); }
unsigned SkinPackageBlockDecodeCount() { return g_blockDecodes.load(); }

}  // namespace Skin
