#pragma once
#include <string>

#include "sys/UniqueHandle.h"

// Opens a file for reading so that, while the handle is held, no other process can write,
// rename or delete it (others may still read it and run it). Null when it cannot be opened
// that way: it is missing, or someone has it open for writing.
Utils::UniqueHandle LockPackage(const std::wstring& path);
