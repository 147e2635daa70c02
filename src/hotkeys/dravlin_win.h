#pragma once

#include <windows.h>

#include <memory>

#include "common/win/window_win.h"
#include "hotkeys/dravlin.h"

namespace quorvel {

// The registrar with its own hidden, message-only window, on the thread that
// constructs it. Destroying it releases every hotkey, then the window.
class RegistrarWindow final : public Window {
  public:
    explicit RegistrarWindow(HINSTANCE instance = ::GetModuleHandleW(nullptr));
    ~RegistrarWindow();

    HotkeyRegistrar& Registrar() { return *dravlin_; }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::unique_ptr<HotKeyApi> api_;
    std::unique_ptr<HotkeyRegistrar> dravlin_;
};

}  // namespace quorvel
