#include "hotkeys/registrar_win.h"

#include <wtsapi32.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "common/error.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"

// This file defines members named like <windows.h>'s A/W macros and calls the W functions.
#undef GlobalAddAtom

namespace quorvel {

static_assert(kWmHotKey == WM_HOTKEY && kModNoRepeat == MOD_NOREPEAT);
static_assert(kErrorHotKeyAlreadyRegistered == ERROR_HOTKEY_ALREADY_REGISTERED);
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT &&
              kModWin == MOD_WIN);

namespace {

constexpr wchar_t kWindowClass[] = L"QuorvelDravlinWindow";
constexpr UINT_PTR kRetryTimer = 1;
// Slow enough to cost nothing while a hotkey is missing, quick enough that a user who closed
// the other program finds the hotkey working when trying it.
constexpr UINT kRetryPeriodMs = 5000;
// The session's changes come from Terminal Services, loaded only while a retry is due.
constexpr wchar_t kSessionLibrary[] = L"wtsapi32.dll";

// The tests lengthen the period through the environment, to tell the other moments from the
// timer's; nothing makes it shorter.
UINT RetryPeriodMs() {
    wchar_t text[16] = L"";
    const DWORD length =
        ::GetEnvironmentVariableW(L"QUORVEL_HOTKEY_RETRY_MS", text, std::size(text));
    if (length == 0 || length >= std::size(text)) return kRetryPeriodMs;
    const unsigned long period = std::wcstoul(text, nullptr, 10);
    return static_cast<UINT>(std::clamp<unsigned long>(period, kRetryPeriodMs, USER_TIMER_MAXIMUM));
}

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
};

}  // namespace

RegistrarWindow::RegistrarWindow(HINSTANCE instance)
    : taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      retryPeriodMs_(RetryPeriodMs()) {
    Create(instance, {.className = kWindowClass, .style = WS_POPUP, .exStyle = WS_EX_TOOLWINDOW});
    api_ = std::make_unique<WindowsHotKeyApi>();
    registrar_ =
        std::make_unique<HotKeyRegistrar>(*api_, reinterpret_cast<std::uintptr_t>(Handle()));
}

RegistrarWindow::~RegistrarWindow() {
    KeepRetrying(false);
    // Hotkeys go back before their window.
    registrar_.reset();
    Destroy();
}

void RegistrarWindow::KeepRetrying(bool on) {
    if (on == retrying_) return;
    retrying_ = on;
    if (on) {
        ::SetTimer(Handle(), kRetryTimer, retryPeriodMs_, /*lpTimerFunc=*/nullptr);
    } else {
        ::KillTimer(Handle(), kRetryTimer);
    }
    HearSessionChanges(on);
}

// Without Terminal Services the timer alone retries.
void RegistrarWindow::HearSessionChanges(bool on) {
    if (on == hearingSessionChanges_) return;
    try {
        if (on) {
            hearingSessionChanges_ = LateBound<decltype(::WTSRegisterSessionNotification)>(
                                         kSessionLibrary, "WTSRegisterSessionNotification")(
                                         Handle(), NOTIFY_FOR_THIS_SESSION) != FALSE;
        } else {
            LateBound<decltype(::WTSUnRegisterSessionNotification)>(
                kSessionLibrary, "WTSUnRegisterSessionNotification")(Handle());
            hearingSessionChanges_ = false;
        }
    } catch (const Error&) {
        hearingSessionChanges_ = false;
    }
}

bool RegistrarWindow::IsRetryMoment(UINT message, WPARAM wParam) const {
    switch (message) {
        case WM_TIMER:
            return wParam == kRetryTimer;
        case WM_POWERBROADCAST:
            return wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND;
        case WM_WTSSESSION_CHANGE:
            return wParam == WTS_SESSION_UNLOCK || wParam == WTS_SESSION_LOGON;
        default:
            return message == taskbarCreated_ && taskbarCreated_ != 0;
    }
}

LRESULT RegistrarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY && registrar_) {
        registrar_->ReportPress(static_cast<std::uintptr_t>(lParam));
    } else if (OnRetryDue && IsRetryMoment(message, wParam)) {
        OnRetryDue();
    }
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace quorvel
