#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The Windows-free half of a skin package lookup. The package stores its names with "/" as
// the separator and looks a relative path up by three rules: every "\" of the path becomes a
// "/" (nothing else is normalised: no trimming, no collapsing of repeated separators, no
// removal of "./" or of a leading "/"); a stored name can match only a path of exactly its
// length; and the two names compare equal ignoring case. The comparison itself is the
// platform's (lstrcmpiW on Windows), so it is handed in by the caller.
namespace Skin {

// The path in the form the package stores names: every "\" replaced by "/". A null path
// gives an empty text.
std::wstring ToPackagePath(const wchar_t* path);
std::wstring ToPackagePath(std::wstring path);

// The length rule: a stored name whose length counts its terminating zero (as the package
// keeps it) can only match a path of one character less.
constexpr bool PackageNameLengthMatches(std::uint32_t storedNameLength, std::size_t pathLength) {
    return storedNameLength != 0 && pathLength == static_cast<std::size_t>(storedNameLength) - 1;
}

// Compares two zero-terminated names ignoring case; true when they are equal.
using PackageNameEquals = bool (*)(const wchar_t* storedName, const wchar_t* packagePath);

// True when a stored name matches a path already in package form: the length rule first, the
// comparison only for names of the right length.
bool PackageNameMatches(const std::wstring& storedName, std::uint32_t storedNameLength,
                        const std::wstring& packagePath, PackageNameEquals equalIgnoringCase);

}  // namespace Skin
