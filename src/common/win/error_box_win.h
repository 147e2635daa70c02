#pragma once

#include <windows.h>

#include <string_view>

namespace quorvel {

// A box of the program's own: the message (with the full-stop rule), the application title as
// caption, and the buttons and icon of `style`. Gives the button pressed.
int ShowMessageBox(HWND owner, std::u16string_view message, UINT style);

// The standard error box: ShowMessageBox with OK and a stop icon, and `extraStyle`
// (MB_SETFOREGROUND, say). The program goes on afterwards.
void ShowErrorBox(HWND owner, std::u16string_view message, UINT extraStyle = 0);

// Shows whatever exception is in flight in the standard error box; call inside a catch block.
void ShowCurrentException(HWND owner, UINT extraStyle = 0) noexcept;

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
