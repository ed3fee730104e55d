#include "ui/FolderChoice.h"

bool JoinPickedFolder(const std::wstring& picked, std::wstring& joined) {
    if (picked.empty()) return false;
    std::wstring result = picked;
    if (result.back() != L'\\') result += L'\\';
    result += L"quillmoss";
    if (result.size() > 259) return false;
    joined = result;
    return true;
}
