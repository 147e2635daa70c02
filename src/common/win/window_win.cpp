#include "common/win/window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "common/error.h"
#include "common/text.h"
#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace {

Error CannotMake(const wchar_t* className) {
    return Error(u"Cannot make a window of the class " + FromWide(className) + u" (error " +
                 ToText(::GetLastError()) + u")");
}

}  // namespace

void Window::Create(HINSTANCE instance, const WindowLayout& layout) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = layout.icon;
    windowClass.hIconSm = layout.smallIcon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(layout.background + 1));
    windowClass.lpszClassName = layout.className;
    if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw CannotMake(layout.className);
    }
    instance_ = instance;
    messageOnly_ = layout.parent == HWND_MESSAGE;
    ::CreateWindowExW(layout.exStyle, layout.className, layout.caption, layout.style,
                      layout.place.x, layout.place.y, layout.size.cx, layout.size.cy, layout.parent,
                      /*hMenu=*/nullptr, instance, this);
    if (!window_) throw CannotMake(layout.className);
}

// The controls' handlers go first: the messages of the controls' end reach no half-destroyed
// object.
void Window::Destroy() {
    subclasses_.clear();
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
    controls_.clear();
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created =
            static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->window_.reset(hwnd);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->window_.release();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    RunHandler(self->messageOnly_ ? nullptr : hwnd, [&] {
        if (message == WM_SYSCOLORCHANGE) {
            // Common controls learn of new colours only from their parent.
            for (HWND child = ::GetWindow(hwnd, GW_CHILD); child != nullptr;
                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                ::SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
            }
        }
        if (message == WM_DPICHANGED) {
            self->OnDpiChanged(Dpi(LOWORD(wParam)));
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top,
                           suggested.right - suggested.left, suggested.bottom - suggested.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            result = self->HandleMessage(message, wParam, lParam);
        }
    });
    return result;
}

HWND MakeControl(HWND parent, const ControlLayout& layout, const Dpi& dpi, HFONT font) {
    const HWND control = ::CreateWindowExW(
        layout.exStyle, layout.className, layout.text, WS_CHILD | WS_VISIBLE | layout.style,
        dpi.Scale(layout.left), dpi.Scale(layout.top), dpi.Scale(layout.width),
        dpi.Scale(layout.height), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!control) throw CannotMake(layout.className);
    if (font != nullptr) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), /*redraw=*/FALSE);
    }
    return control;
}

HWND Window::AddControl(const ControlLayout& layout, const Dpi& dpi, HFONT font) {
    const HWND control = MakeControl(Handle(), layout, dpi, font);
    controls_.emplace_back(control, layout);
    return control;
}

void Window::SubclassControl(HWND control, ControlSubclass::Handler handler) {
    subclasses_.emplace_back(control, std::move(handler));
}

LRESULT ControlMessage::Default() {
    if (!defaultResult) defaultResult = ::DefSubclassProc(control, message, wParam, lParam);
    return *defaultResult;
}

namespace {
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

ControlSubclass::ControlSubclass(HWND control, Handler handler)
    : hook_(std::make_unique<Hook>(Hook{control, std::move(handler)})) {
    ::SetWindowSubclass(control, &ControlSubclass::Procedure, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(hook_.get()));
}

ControlSubclass::~ControlSubclass() {
    if (hook_ && hook_->control != nullptr) {
        ::RemoveWindowSubclass(hook_->control, &ControlSubclass::Procedure, kSubclassId);
    }
}

LRESULT CALLBACK ControlSubclass::Procedure(HWND control, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR hook) {
    auto& self = *reinterpret_cast<Hook*>(hook);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, &ControlSubclass::Procedure, kSubclassId);
        self.control = nullptr;
        return ::DefSubclassProc(control, message, wParam, lParam);
    }
    ControlMessage call{control, message, wParam, lParam};
    std::optional<LRESULT> result;
    RunHandler(::GetParent(control), [&] { result = self.handler(call); });
    return result ? *result : call.Default();
}

LRESULT TakeEnterKey(ControlMessage& message) {
    const auto* key = reinterpret_cast<const MSG*>(message.lParam);
    const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
    return message.Default() | (enter ? DLGC_WANTMESSAGE : 0);
}

void Window::PlaceControls(const Dpi& dpi) const {
    for (const auto& [control, layout] : controls_) {
        if (!::IsWindow(control)) continue;
        ::SetWindowPos(control, nullptr, dpi.Scale(layout.left), dpi.Scale(layout.top),
                       dpi.Scale(layout.width), dpi.Scale(layout.height),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Window::CentreOverOwner() {
    RECT own{};
    ::GetWindowRect(Handle(), &own);
    const SIZE size{own.right - own.left, own.bottom - own.top};
    // An owner hidden or minimised leaves the middle of the work area.
    const HWND owner = ::GetWindow(Handle(), GW_OWNER);
    RECT bounds{};
    const bool overOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner) &&
                           ::GetWindowRect(owner, &bounds);
    const POINT place = overOwner ? CentredInWorkArea(size, bounds) : CentredInWorkArea(size);
    ::SetWindowPos(Handle(), nullptr, place.x, place.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<int> Window::RunMessageLoop(const bool* running) {
    MSG message{};
    while (running == nullptr || *running) {
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) return static_cast<int>(message.wParam);
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            const bool ours = message.hwnd == Handle() || ::IsChild(Handle(), message.hwnd);
            if (ours && TranslateKey(message)) continue;
            ::TranslateMessage(&message);
        }
        ::DispatchMessageW(&message);
    }
    return std::nullopt;
}

void Window::RunModal(HWND focus) {
    DisableOtherWindows();
    modal_ = true;
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
    ::SetFocus(focus);
    if (const auto exitCode = RunMessageLoop(&modal_)) {
        ::PostQuitMessage(*exitCode);
        EndModal();
    }
}

// The owner even while hidden, as a dialog box's: shown again, it still takes no input.
void Window::DisableOtherWindows() {
    disabledWindows_.clear();
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM form) -> BOOL {
            auto& self = *reinterpret_cast<Window*>(form);
            const bool owner = window == ::GetWindow(self.Handle(), GW_OWNER);
            if (window != self.Handle() && (owner || ::IsWindowVisible(window)) &&
                ::IsWindowEnabled(window)) {
                self.disabledWindows_.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    for (const HWND window : disabledWindows_) ::EnableWindow(window, FALSE);
}

void Window::EndModal() {
    if (!modal_) return;
    modal_ = false;
    for (const HWND window : disabledWindows_) ::EnableWindow(window, TRUE);
    disabledWindows_.clear();
    ::ShowWindow(Handle(), SW_HIDE);
}

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, const Dpi& dpi, bool menu) {
    // Windows 10 1607 and later know the frame at every DPI; before, the system's is the one.
    using AdjustWindowRectExForDpi =
        BOOL WINAPI(RECT * frame, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);
    static const auto adjustForDpi = []() -> AdjustWindowRectExForDpi* {
        try {
            return LateBound<AdjustWindowRectExForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
        } catch (const Error&) {
            return nullptr;
        }
    }();
    RECT frame{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr ||
        !adjustForDpi(&frame, style, menu, exStyle, static_cast<UINT>(dpi.Value()))) {
        ::AdjustWindowRectEx(&frame, style, menu, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

POINT CentredInWorkArea(SIZE size) {
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return {workArea.left + (workArea.right - workArea.left - size.cx) / 2,
            workArea.top + (workArea.bottom - workArea.top - size.cy) / 2};
}

POINT CentredInWorkArea(SIZE size, const RECT& bounds) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    // Too large for the work area, the window keeps its top left corner inside it.
    const LONG left = (bounds.left + bounds.right - size.cx) / 2;
    const LONG top = (bounds.top + bounds.bottom - size.cy) / 2;
    return {std::clamp(left, area.left, std::max(area.left, area.right - size.cx)),
            std::clamp(top, area.top, std::max(area.top, area.bottom - size.cy))};
}

}  // namespace quorvel
