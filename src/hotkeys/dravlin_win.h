#pragma once

#include <windows.h>

#include <memory>

#include "common/win/unique_handle_win.h"
#include "hotkeys/dravlin.h"

namespace quorvel {

// The registrar with its own hidden, message-only window, on the thread that
// constructs it. Destroying it releases every hotkey, then the window.
class RegistrarWindow {
  public:
    explicit RegistrarWindow(HINSTANCE instance = ::GetModuleHandleW(nullptr));
    ~RegistrarWindow();
    RegistrarWindow(const RegistrarWindow&) = delete;
    RegistrarWindow& operator=(const RegistrarWindow&) = delete;

    HotkeyRegistrar& Registrar() { return *dravlin_; }
    HWND Handle() const { return window_.get(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UniqueWindow window_;
    std::unique_ptr<HotKeyApi> api_;
    std::unique_ptr<HotkeyRegistrar> dravlin_;
};

}  // namespace quorvel
