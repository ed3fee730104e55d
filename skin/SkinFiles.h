#pragma once
#include "skin/SkinPackage.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Where the toolkit's skin files come from. One CSkinResources serves the whole process
// (SkinResources()); every window registers and reads through it. The first skinned window
// copies the skin package out of the resources (type "ZIPRES", id 147) and registers it as
// "membuffer"; that package is opened once and kept until the process ends, and later windows
// reuse it.
namespace Skin {

// The resource type and id of the skin package in the executable.
constexpr const wchar_t* kSkinPackageResourceType = L"ZIPRES";
constexpr unsigned kSkinPackageResourceId = 147;

// The name under which an in-memory package is registered.
constexpr const wchar_t* kMemoryPackageName = L"membuffer";

// Markup documents above this size are refused.
constexpr std::uint64_t kMaxMarkupFileSize = 4194304;

// Error texts keep at most this many characters.
constexpr std::size_t kMaxSkinFileErrorLength = 99;

// A markup document read from the skin: its bytes, or the loader's error text.
struct SkinMarkupFile {
    bool ok = false;
    std::vector<unsigned char> bytes;  // the whole file when ok
    std::wstring error;                // empty when ok
};

class CSkinResources {
public:
    CSkinResources() = default;
    CSkinResources(const CSkinResources&) = delete;
    CSkinResources& operator=(const CSkinResources&) = delete;

    // The executable's instance, handed over at startup; the instance path becomes its
    // folder with a trailing "\".
    void SetInstance(HINSTANCE instance);
    HINSTANCE GetInstance() const { return instance_; }
    // A separate module to take resources from instead of the instance (none: the instance).
    void SetResourceInstance(HINSTANCE instance) { resourceInstance_ = instance; }
    HINSTANCE GetResourceModule() const;
    const std::wstring& GetInstancePath() const { return instancePath_; }

    // The folder of loose skin files (window creation sets the instance path followed by the
    // window's skin folder). A "\" is appended to a value that is not empty and ends in
    // neither "\" nor "/".
    void SetResourcePath(const std::wstring& path);
    const std::wstring& GetResourcePath() const { return resourcePath_; }

    // Packages are 7z archives. Set once at startup, before any window exists. Without it an
    // in-memory package is registered but not opened (no other format is read).
    void SetSevenZipPackages(bool sevenZip) { sevenZipPackages_ = sevenZip; }
    bool GetSevenZipPackages() const { return sevenZipPackages_; }

    // Registers an in-memory package and opens it, unless one is registered already: then the
    // call does nothing and the open package keeps serving. The bytes are copied.
    void SetResourcePackage(const void* bytes, std::size_t size);

    // Copies the package resource out of a module (type "ZIPRES") and registers it. False
    // when the resource is missing, cannot be loaded or is empty: the window that asked then
    // stays without content.
    bool LoadResourcePackage(HMODULE module, unsigned resourceId = kSkinPackageResourceId);
    // The same from the resource module.
    bool LoadResourcePackage() { return LoadResourcePackage(GetResourceModule()); }

    const std::wstring& GetPackageName() const { return packageName_; }
    bool IsPackageCached() const { return packageCached_; }
    const CSkinPackage* GetPackage() const { return package_.get(); }

    // An image file by relative name: from the registered package (or, with none registered,
    // from the resource path), otherwise from the name as a plain file path (relative names
    // resolve against the current directory). An empty file or entry counts as missing. No
    // size limit. False when nothing was read.
    bool ReadImageFile(const wchar_t* name, std::vector<unsigned char>* bytes) const;

    // A markup document by relative name: from the registered package without any fallback,
    // or, with none registered, from the resource path. Refused above 4 MiB.
    SkinMarkupFile ReadMarkupFile(const wchar_t* name) const;

private:
    HINSTANCE instance_ = nullptr;
    HINSTANCE resourceInstance_ = nullptr;
    std::wstring instancePath_;
    std::wstring resourcePath_;
    std::wstring packageName_;
    bool packageCached_ = false;
    std::unique_ptr<CSkinPackage> package_;
    bool sevenZipPackages_ = false;
};

// The process-wide resource state of the toolkit.
CSkinResources& SkinResources();

// The same operations on the process-wide state.
void SetSevenZipPackages(bool sevenZip);
void SetResourcePackage(const void* bytes, std::size_t size);
bool LoadResourcePackage(HMODULE module, unsigned resourceId = kSkinPackageResourceId);
bool ReadSkinImageFile(const wchar_t* name, std::vector<unsigned char>* bytes);
SkinMarkupFile ReadSkinMarkupFile(const wchar_t* name);

}  // namespace Skin
