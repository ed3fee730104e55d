#pragma once
#include <string>
#include <utility>
#include <vector>

// The texts of a language file ("language.json", see LanguageFile.h), read without Windows.

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
