#pragma once
#include <string>

// The interface languages of the installer, by index: the index is what the "-language" option
// and the language box carry, the code is what the language file and the setup package use.
//   0 en-US   1 zh-CN   2 zh-TW   3 id-ID   4 tr-TR   5 de-DE   6 fr-FR   7 es-ES
//   8 pt-PT   9 ja-JP  10 ko-KR  11 pl-PL  12 nl-NL  13 it-IT  14 ru-RU
constexpr int kLanguageCount = 15;

// The code of an index; null outside 0..kLanguageCount-1.
const char* LanguageCodeAt(int index);

// The index for a Windows language identifier (GetUserDefaultUILanguage): English (US),
// Chinese (Taiwan), Indonesian, Turkish, German, French, every Spanish variant, Portuguese
// (Brazil), Japanese, Korean, Polish, Dutch and Flemish, Italian and Russian have their own;
// every other identifier gives 0 (English), Chinese (PRC) and Portuguese (Portugal) included.
int LanguageIndexForUiLanguage(unsigned languageId);

// The index to use for a requested index and code. A code that is not empty picks the index
// whose code it equals exactly (case-sensitive); a code that equals none leaves the index as
// given, even out of range. Without a code: the index when it is in range, otherwise 0.
int ChooseLanguageIndex(int index, const std::string& code);
