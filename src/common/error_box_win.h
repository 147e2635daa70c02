#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// The full path of the running executable.
std::u16string ExecutablePath();

// The system's description of an error code without its closing line break; empty when the
// system has none.
std::u16string SystemErrorText(std::uint32_t code);

// The standard error box: the message (with the full-stop rule), the application title as
// caption, OK and a stop icon. The program goes on afterwards.
void ShowErrorBox(HWND owner, std::u16string_view message);

// Shows whatever exception is in flight in the standard error box; call inside a catch block.
void ShowCurrentException(HWND owner) noexcept;

// Runs one event handler so that no exception leaves it: the rest of the handler is skipped
// and the error shown, as every window procedure of the program requires.
template <typename Handler>
void RunHandler(HWND owner, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ShowCurrentException(owner);
    }
}

}  // namespace quorvel
