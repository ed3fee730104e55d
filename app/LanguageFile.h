#pragma once
#include <string>
#include <utility>
#include <vector>

// The language file of the skin package ("language.json") and the installer's language choice.
//
// The file is a JSON array, or an object, of entries; each entry is an object with an "id"
// (the number of a "%{n}" marker) and one text per language code:
//   [ {"id": 1, "en-US": "Language", "de-DE": "Sprache"}, ... ]

// The file name inside the skin package.
constexpr const wchar_t* kLanguageFileName = L"language.json";

// The entries of a language file, in order (an object's members come in the order of their
// names), as (id, text under `code`) pairs:
// - an entry that is not an object is skipped;
// - an "id" that is missing or no integral number in the int range counts as 0;
// - a text that is missing, not a string, or not well-formed UTF-8 is empty.
// The bytes are read as strict JSON (jsoncpp's strict mode: no single quotes, trailing commas,
// NaN or infinities, or anything after the root, which must be an array or an object; nesting is
// limited to 64 levels); a UTF-8 byte-order mark in front is skipped. *parsed (when given)
// tells whether they parsed; when they did not, the result is empty.
std::vector<std::pair<int, std::wstring>> ReadLanguageTexts(const std::string& jsonBytes,
                                                            const std::string& code,
                                                            bool* parsed);

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
