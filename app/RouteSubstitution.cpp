#include "app/RouteSubstitution.h"

std::wstring SubstituteRoute(const std::wstring& text,
                             const std::function<std::wstring()>& osVersionName) {
    static const std::wstring kPlaceholder = L"${ROUTE}";
    if (text.find(kPlaceholder) == std::wstring::npos) return text;
    const std::wstring route = osVersionName().find(L"XP") != std::wstring::npos
                                   ? L"download_silent_xp"
                                   : L"download_silent";
    std::wstring result = text;
    for (size_t at = result.find(kPlaceholder); at != std::wstring::npos;
         at = result.find(kPlaceholder, at + route.size()))
        result.replace(at, kPlaceholder.size(), route);
    return result;
}
