#pragma once
#include <functional>

// Every stage reports through one of these, on its own thread: an event code, a progress
// value (a fraction of the current stage, or a code-specific number) and a message (never
// null, possibly empty).
using EventCallback = std::function<void(int code, double progress, const wchar_t* message)>;
