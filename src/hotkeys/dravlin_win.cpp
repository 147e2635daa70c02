#include "hotkeys/dravlin_win.h"

#include "common/win/wide_text_win.h"

// This file defines members named like <windows.h>'s A/W macros and calls the W functions.
#undef GlobalAddAtom
#undef DefWindowProc

namespace quorvel {

static_assert(kWmHotKey == WM_HOTKEY && kModNoRepeat == MOD_NOREPEAT);
static_assert(kErrorHotKeyAlreadyRegistered == ERROR_HOTKEY_ALREADY_REGISTERED);
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);

namespace {

constexpr wchar_t kWindowClass[] = L"QuorvelDravlinWindow";

HWND ToHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

class WindowsHotKeyApi final : public HotKeyApi {
  public:
    std::uint16_t GlobalAddAtom(std::u16string_view name) override {
        return ::GlobalAddAtomW(ToWide(name).c_str());
    }
    void GlobalDeleteAtom(std::uint16_t atom) override { ::GlobalDeleteAtom(atom); }
    bool RegisterHotKey(std::uintptr_t window, int id, std::uint32_t modifiers,
                        std::uint32_t virtualKey) override {
        return ::RegisterHotKey(ToHwnd(window), id, modifiers, virtualKey) != FALSE;
    }
    bool UnregisterHotKey(std::uintptr_t window, int id) override {
        return ::UnregisterHotKey(ToHwnd(window), id) != FALSE;
    }
    std::uint32_t GetLastError() override { return ::GetLastError(); }
    std::intptr_t DefWindowProc(std::uintptr_t window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override {
        return ::DefWindowProcW(ToHwnd(window), message, wParam, lParam);
    }
};

}  // namespace

RegistrarWindow::RegistrarWindow(HINSTANCE instance) {
    Create(instance, {.className = kWindowClass, .parent = HWND_MESSAGE});
    api_ = std::make_unique<WindowsHotKeyApi>();
    dravlin_ = std::make_unique<HotkeyRegistrar>(*api_, reinterpret_cast<std::uintptr_t>(Handle()));
}

RegistrarWindow::~RegistrarWindow() {
    // Hotkeys go back before their window.
    dravlin_.reset();
    Destroy();
}

LRESULT RegistrarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return dravlin_ ? dravlin_->HandleWindowMessage(message, wParam, lParam)
                    : ::DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace quorvel
