#include "skin/SkinFiles.h"

#include "sys/UniqueHandle.h"

#include <cstring>
#include <limits>

namespace Skin {
namespace {

enum class PlainFileRead { Ok, OpenFailed, Empty, TooLarge, ShortRead };

// Reads a whole file. A limit of 0 means no limit.
PlainFileRead ReadPlainFile(const std::wstring& path, std::uint64_t limit,
                            std::vector<unsigned char>* bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return PlainFileRead::OpenFailed;
    const Utils::UniqueHandle owner(file);

    LARGE_INTEGER fileSize{};
    if (!GetFileSizeEx(file, &fileSize)) return PlainFileRead::ShortRead;
    const auto size = static_cast<std::uint64_t>(fileSize.QuadPart);
    if (size == 0) return PlainFileRead::Empty;
    if (limit && size > limit) return PlainFileRead::TooLarge;
    if (size > std::numeric_limits<std::size_t>::max()) return PlainFileRead::ShortRead;

    std::vector<unsigned char> content(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < content.size()) {
        const std::size_t left = content.size() - done;
        const DWORD want = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file, content.data() + done, want, &got, nullptr) || got == 0)
            return PlainFileRead::ShortRead;
        done += got;
    }
    *bytes = std::move(content);
    return PlainFileRead::Ok;
}

// Copies a package entry out; false when it is missing, empty or cannot be copied.
bool ReadNonEmptyEntry(const CSkinPackage* package, const wchar_t* name,
                       std::vector<unsigned char>* bytes) {
    std::uint32_t index = 0;
    std::uint64_t size = 0;
    if (FindPackageEntry(package, name, &index, &size) != kPackageOk || size == 0) return false;
    if (size > std::numeric_limits<std::size_t>::max()) return false;
    std::vector<unsigned char> content(static_cast<std::size_t>(size));
    if (ReadPackageEntry(package, index, content.data()) != kPackageOk) return false;
    *bytes = std::move(content);
    return true;
}

SkinMarkupFile MarkupError(const wchar_t* text) {
    SkinMarkupFile result;
    result.error = std::wstring(text).substr(0, kMaxSkinFileErrorLength);
    return result;
}

SkinMarkupFile MarkupBytes(std::vector<unsigned char> bytes) {
    SkinMarkupFile result;
    result.ok = true;
    result.bytes = std::move(bytes);
    return result;
}

}  // namespace

void CSkinResources::SetInstance(HINSTANCE instance) {
    instance_ = instance;
    instancePath_.clear();
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    instancePath_.assign(path, length);
    const std::size_t slash = instancePath_.find_last_of(L'\\');
    instancePath_.erase(slash == std::wstring::npos ? 0 : slash + 1);
}

HINSTANCE CSkinResources::GetResourceModule() const {
    return resourceInstance_ ? resourceInstance_ : instance_;
}

void CSkinResources::SetResourcePath(const std::wstring& path) {
    resourcePath_ = path;
    if (!resourcePath_.empty() && resourcePath_.back() != L'\\' && resourcePath_.back() != L'/')
        resourcePath_ += L'\\';
}

void CSkinResources::SetResourcePackage(const void* bytes, std::size_t size) {
    // The package opened for the first window serves every later one.
    if (packageName_ == kMemoryPackageName) return;
    packageName_ = kMemoryPackageName;
    packageCached_ = true;
    if (sevenZipPackages_) package_ = OpenPackageFromMemory(bytes, size);
}

bool CSkinResources::LoadResourcePackage(HMODULE module, unsigned resourceId) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), kSkinPackageResourceType);
    if (!info) return false;
    HGLOBAL resource = LoadResource(module, info);
    if (!resource) return false;
    const DWORD size = SizeofResource(module, info);
    const void* data = size ? LockResource(resource) : nullptr;
    if (!data) {
        FreeResource(resource);
        return false;
    }
    // The copy only feeds the package, which keeps its own decoded files.
    std::unique_ptr<unsigned char[]> block(new unsigned char[size]);
    std::memcpy(block.get(), data, size);
    FreeResource(resource);
    SetResourcePackage(block.get(), size);
    return true;
}

bool CSkinResources::ReadImageFile(const wchar_t* name, std::vector<unsigned char>* bytes) const {
    if (!name || !bytes) return false;
    std::vector<unsigned char> content;
    bool found = false;
    if (packageName_.empty())
        found = ReadPlainFile(resourcePath_ + name, 0, &content) == PlainFileRead::Ok;
    else
        found = ReadNonEmptyEntry(package_.get(), name, &content);
    // Not there: the name itself as a file path, relative to the current directory.
    if (!found) found = ReadPlainFile(name, 0, &content) == PlainFileRead::Ok;
    if (!found) return false;
    *bytes = std::move(content);
    return true;
}

SkinMarkupFile CSkinResources::ReadMarkupFile(const wchar_t* name) const {
    if (!packageName_.empty()) {
        if (!package_) return MarkupError(L"Error opening zip file");
        std::uint32_t index = 0;
        std::uint64_t size = 0;
        if (FindPackageEntry(package_.get(), name, &index, &size) != kPackageOk)
            return MarkupError(L"Could not find ziped file");
        if (size == 0) return MarkupError(L"File is empty");
        if (size > kMaxMarkupFileSize) return MarkupError(L"File too large");
        std::vector<unsigned char> content(static_cast<std::size_t>(size));
        if (ReadPackageEntry(package_.get(), index, content.data()) != kPackageOk)
            return MarkupError(L"Could not unzip file");
        return MarkupBytes(std::move(content));
    }

    std::vector<unsigned char> content;
    switch (ReadPlainFile(resourcePath_ + (name ? name : L""), kMaxMarkupFileSize, &content)) {
        case PlainFileRead::Ok: return MarkupBytes(std::move(content));
        case PlainFileRead::OpenFailed: return MarkupError(L"Error opening file");
        case PlainFileRead::Empty: return MarkupError(L"File is empty");
        case PlainFileRead::TooLarge: return MarkupError(L"File too large");
        case PlainFileRead::ShortRead: break;
    }
    return MarkupError(L"Could not read file");
}

CSkinResources& SkinResources() {
    // Never destroyed: the package stays open until the process ends.
    static CSkinResources* const resources = new CSkinResources;
    return *resources;
}

void SetSevenZipPackages(bool sevenZip) { SkinResources().SetSevenZipPackages(sevenZip); }

void SetResourcePackage(const void* bytes, std::size_t size) {
    SkinResources().SetResourcePackage(bytes, size);
}

bool LoadResourcePackage(HMODULE module, unsigned resourceId) {
    return SkinResources().LoadResourcePackage(module, resourceId);
}

bool ReadSkinImageFile(const wchar_t* name, std::vector<unsigned char>* bytes) {
    return SkinResources().ReadImageFile(name, bytes);
}

SkinMarkupFile ReadSkinMarkupFile(const wchar_t* name) {
    return SkinResources().ReadMarkupFile(name);
}

}  // namespace Skin
