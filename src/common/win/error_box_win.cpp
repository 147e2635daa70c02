#include "common/win/error_box_win.h"

#include <exception>
#include <new>
#include <string>

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

int ShowMessageBox(HWND owner, std::u16string_view message, UINT style) {
    const std::wstring text = ToWide(ErrorBoxText(message));
    const std::wstring caption = ToWide(ApplicationTitle(ExecutablePath()));
    // Closing a box that has an owner activates the owner again. Without one, the system
    // activates whichever window comes next: the window the user was in gets the keyboard back
    // instead (and with it the control that had the focus).
    const HWND before = owner == nullptr ? ::GetForegroundWindow() : nullptr;
    const int answer = ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
    if (before != nullptr && ::IsWindowVisible(before)) ::SetForegroundWindow(before);
    return answer;
}

void ShowErrorBox(HWND owner, std::u16string_view message, UINT extraStyle) {
    ShowMessageBox(owner, message, MB_OK | MB_ICONSTOP | extraStyle);
}

void ShowCurrentException(HWND owner, UINT extraStyle) noexcept {
    try {
        try {
            throw;
        } catch (const Error& e) {
            ShowErrorBox(owner, e.Message(), extraStyle);
        } catch (const std::bad_alloc&) {
            ShowErrorBox(owner, u"Out of memory", extraStyle);
        } catch (const std::exception& e) {
            ShowErrorBox(owner, FromUtf8(e.what()), extraStyle);
        } catch (...) {
            ShowErrorBox(owner, u"Unknown error", extraStyle);
        }
    } catch (...) {
        // Showing the box itself failed (out of memory); nothing more can be done here.
    }
}

}  // namespace quorvel
