#pragma once

#include <windows.h>

namespace quorvel {

// Registers one of the program's window classes: the arrow cursor, the button face as
// background and the given icons (none by default). A class registered already, by an earlier
// window of its kind, is used as it is; any other refusal throws Error.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HICON icon = nullptr, HICON smallIcon = nullptr);

}  // namespace quorvel
