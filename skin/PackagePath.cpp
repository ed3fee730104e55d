#include "skin/PackagePath.h"

#include <algorithm>
#include <utility>

namespace Skin {

std::wstring ToPackagePath(const wchar_t* path) {
    if (!path) return std::wstring();
    return ToPackagePath(std::wstring(path));
}

std::wstring ToPackagePath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

bool PackageNameMatches(const std::wstring& storedName, std::uint32_t storedNameLength,
                        const std::wstring& packagePath, PackageNameEquals equalIgnoringCase) {
    if (!equalIgnoringCase) return false;
    if (!PackageNameLengthMatches(storedNameLength, packagePath.size())) return false;
    return equalIgnoringCase(storedName.c_str(), packagePath.c_str());
}

}  // namespace Skin
