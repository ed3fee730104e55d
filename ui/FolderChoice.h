#pragma once
#include <string>

// The install folder for a folder picked in the browser: the picked path joined with
// "quillmoss" (a backslash inserted unless the path ends with one). False, with joined
// untouched, when nothing was picked or the result would exceed 259 characters.
bool JoinPickedFolder(const std::wstring& picked, std::wstring& joined);
