#include "app/LanguageFile.h"

#include <windows.h>

#include "app/LanguageTable.h"
#include "skin/SkinFiles.h"
#include "skin/UIManager.h"
#include "sys/TextConversion.h"

int ApplyLanguage(int index, const std::wstring& code) {
    // Read through the toolkit like a window document: from the registered package only
    // (or the loose skin folder without one), refused when empty or above 4 MiB.
    const Skin::SkinMarkupFile file = Skin::ReadSkinMarkupFile(kLanguageFileName);
    if (!file.ok || file.bytes.empty() || file.bytes.size() > Skin::kMaxMarkupFileSize) return 0;
    index = ChooseLanguageIndex(index, Utils::ToNarrow(code));
    const char* const language = LanguageCodeAt(index);
    bool parsed = false;
    const auto texts = ReadLanguageTexts(std::string(file.bytes.begin(), file.bytes.end()),
                                         language ? language : "", &parsed);
    if (!parsed) return index;
    for (const auto& text : texts) Skin::CUIManager::SetLanguageText(text.first, text.second);
    return index;
}

std::wstring PreviousInstallLanguage(const std::wstring& previousInstallDir) {
    if (previousInstallDir.empty()) return std::wstring();
    std::wstring path = previousInstallDir;
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += L"config.ini";
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::wstring();
    wchar_t language[260] = {};
    GetPrivateProfileStringW(L"Install", L"Language", L"en-US", language, 260, path.c_str());
    return language;
}
