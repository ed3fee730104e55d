#include "app/LanguageTable.h"

namespace {

const char* const kLanguageCodes[kLanguageCount] = {
    "en-US", "zh-CN", "zh-TW", "id-ID", "tr-TR", "de-DE", "fr-FR", "es-ES",
    "pt-PT", "ja-JP", "ko-KR", "pl-PL", "nl-NL", "it-IT", "ru-RU",
};

bool InRange(int index) { return index >= 0 && index < kLanguageCount; }

}  // namespace

const char* LanguageCodeAt(int index) { return InRange(index) ? kLanguageCodes[index] : nullptr; }

int LanguageIndexForUiLanguage(unsigned languageId) {
    switch (languageId) {
    case 1033: return 0;   // English (United States)
    case 1028: return 2;   // Chinese (Taiwan)
    case 1057: return 3;   // Indonesian
    case 1055: return 4;   // Turkish
    case 1031: return 5;   // German
    case 1036: return 6;   // French
    case 1034: case 2058: case 3082: case 4106: case 5130: case 6154: case 7178:
    case 8202: case 9226: case 10250: case 11274: case 12298: case 13322: case 14346:
    case 15370: case 16394: case 17418: case 18442: case 19466: case 20490:
        return 7;          // Spanish, every country
    case 1046: return 8;   // Portuguese (Brazil)
    case 1041: return 9;   // Japanese
    case 1042: return 10;  // Korean
    case 1045: return 11;  // Polish
    case 1043: case 2067: return 12;  // Dutch, Flemish
    case 1040: return 13;  // Italian
    case 1049: return 14;  // Russian
    default: return 0;     // Chinese (PRC) and Portuguese (Portugal) among them
    }
}

int ChooseLanguageIndex(int index, const std::string& code) {
    if (code.empty()) return InRange(index) ? index : 0;
    for (int i = 0; i < kLanguageCount; ++i)
        if (code == kLanguageCodes[i]) return i;
    return index;
}
