#pragma once
#include <string>

namespace Utils {

// The qualified function name of a compiler signature as given by __PRETTY_FUNCTION__:
// "static DWORD Utils::Thread::CallBack(void*)" -> "Utils::Thread::CallBack".
// A lambda body ("A::Start()::<lambda(int)>") becomes "A::Start::<lambda>::operator ()".
std::string FunctionTagFromSignature(const char* signature);

}  // namespace Utils
