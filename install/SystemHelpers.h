#pragma once
#include <string>

// Identifier of the first running process whose program file name (without folder) is
// exactly name (case-sensitive); 0 when there is none or the list cannot be read.
unsigned long FindRunningProcess(const std::wstring& name);

// Creates path and every missing parent folder. Paths longer than 260 characters fail.
bool CreateFolderWithParents(const std::wstring& path);
