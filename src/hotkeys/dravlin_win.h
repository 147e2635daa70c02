#pragma once

#include <windows.h>

#include <memory>

#include "common/win/unique_handle_win.h"
#include "hotkeys/dravlin.h"

namespace quorvel {

// Dravlin1: the registrar with its own hidden, message-only window, on the thread that
// constructs it. Destroying it releases every hotkey, then the window.
class DravlinWindow {
  public:
    explicit DravlinWindow(HINSTANCE instance = ::GetModuleHandleW(nullptr));
    ~DravlinWindow();
    DravlinWindow(const DravlinWindow&) = delete;
    DravlinWindow& operator=(const DravlinWindow&) = delete;

    TDravlin& Dravlin1() { return *dravlin_; }
    HWND Handle() const { return window_.get(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UniqueWindow window_;
    std::unique_ptr<HotKeyApi> api_;
    std::unique_ptr<TDravlin> dravlin_;
};

}  // namespace quorvel
