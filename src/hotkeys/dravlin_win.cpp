#include "hotkeys/dravlin_win.h"

#include "common/error.h"
#include "common/text.h"
#include "common/win/error_box_win.h"
#include "common/win/window_class_win.h"
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
    RegisterWindowClass(instance, kWindowClass, &RegistrarWindow::WindowProc);
    window_.reset(::CreateWindowExW(/*dwExStyle=*/0, kWindowClass, L"", /*dwStyle=*/0, 0, 0, 0, 0,
                                    HWND_MESSAGE, /*hMenu=*/nullptr, instance, this));
    if (!window_) {
        throw Error(u"Cannot create the hotkey window (error " + ToText(::GetLastError()) + u")");
    }
    api_ = std::make_unique<WindowsHotKeyApi>();
    dravlin_ =
        std::make_unique<HotkeyRegistrar>(*api_, reinterpret_cast<std::uintptr_t>(window_.get()));
}

RegistrarWindow::~RegistrarWindow() {
    // Hotkeys go back before their window; the window then sees only default handling.
    dravlin_.reset();
    window_.reset();
}

LRESULT CALLBACK RegistrarWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RegistrarWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || !self->dravlin_) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    // A message-only window cannot own the error box, so it stands alone.
    RunHandler(nullptr,
               [&] { result = self->dravlin_->HandleWindowMessage(message, wParam, lParam); });
    return result;
}

}  // namespace quorvel
