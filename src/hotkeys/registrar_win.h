#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "common/win/window_win.h"
#include "hotkeys/registrar.h"

namespace quorvel {

// The registrar with its own hidden window, on the thread that constructs it. Destroying it
// releases every hotkey, then the window. The window is a top-level one, never shown, so that
// it hears what the system tells every program: the moments when a hotkey another program
// held may have come free.
class RegistrarWindow final : public Window {
  public:
    explicit RegistrarWindow(HINSTANCE instance = ::GetModuleHandleW(nullptr));
    ~RegistrarWindow();

    HotKeyRegistrar& Registrar() { return *registrar_; }

    // Called at resume from sleep or hibernation, at a new taskbar (Explorer started again)
    // and, while KeepRetrying is on, at session unlock and log-on and on a slow timer.
    std::function<void()> OnRetryDue;
    // Off, nothing wakes the program: no timer runs and the session's changes are not asked
    // for (nor is their library loaded).
    void KeepRetrying(bool on);

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool IsRetryMoment(UINT message, WPARAM wParam) const;
    void HearSessionChanges(bool on);

    std::unique_ptr<HotKeyApi> api_;
    std::unique_ptr<HotKeyRegistrar> registrar_;
    UINT taskbarCreated_ = 0;
    UINT retryPeriodMs_ = 0;
    bool retrying_ = false;
    bool hearingSessionChanges_ = false;
};

}  // namespace quorvel
