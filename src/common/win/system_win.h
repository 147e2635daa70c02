#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The full path of the running executable.
std::u16string ExecutablePath();

// The system folder (System32), without a trailing separator; where Quorvel's system programs
// and late-loaded libraries come from.
std::wstring SystemFolder();

// The system's description of an error code without its closing line break; empty when the
// system has none. The program's one reading of the system's message table.
std::u16string SystemErrorText(std::uint32_t code);

// A function of a system library that few runs of the program need (the file chooser, COM,
// power and media control). Its library is loaded from the system folder on the first call
// for it and stays, so that a start does not map the library and all it pulls in. Throws
// Error when the library or the function cannot be had.
void (*SystemLibraryFunction(const wchar_t* library, const char* name))();

// The same, as the function's own type: LateBound<decltype(::CoInitializeEx)>(...).
template <typename Function>
Function* LateBound(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function*>(SystemLibraryFunction(library, name));
}

}  // namespace quorvel
