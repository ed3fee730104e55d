#pragma once
#include <string>

// MD5 of a file named by a wide path (any characters, not only the ANSI code page's); empty
// when it cannot be read.
std::string GetFileMd5(const std::wstring& path);

// MD5 of everything an open file holds, read from its start; empty when a read fails.
std::string GetHandleMd5(void* file);
