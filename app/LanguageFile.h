#pragma once
#include <string>
#include <utility>
#include <vector>

#include "app/LanguageTexts.h"

// The language file of the skin package ("language.json") and the installer's language choice.
//
// The file is a JSON array, or an object, of entries; each entry is an object with an "id"
// (the number of a "%{n}" marker) and one text per language code:
//   [ {"id": 1, "en-US": "Language", "de-DE": "Sprache"}, ... ]

// The file name inside the skin package.
constexpr const wchar_t* kLanguageFileName = L"language.json";

// Puts the texts of a language into the toolkit's table of "%{n}" markers and returns the
// language's index:
// - without a readable language file in the skin package (missing, empty, above 4 MiB), 0,
//   and the table stays as it is;
// - otherwise the index becomes ChooseLanguageIndex(index, code in the ANSI code page); a
//   file that does not parse changes nothing more; a file that does sets every entry's text
//   in the language of that index (an index without a language gives empty texts), later
//   entries of the same id replacing earlier ones.
int ApplyLanguage(int index, const std::wstring& code);

// The language a previous installation was made in: the "Language" value of section
// "[Install]" in "config.ini" of its folder, "en-US" when the file lacks it; empty when the
// folder has no such file (or no folder is given).
std::wstring PreviousInstallLanguage(const std::wstring& previousInstallDir);
