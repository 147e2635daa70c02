#include "common/win/window_win.h"

#include "common/error.h"
#include "common/text.h"
#include "common/win/error_box_win.h"
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

void Window::Destroy() {
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
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
    RunHandler(self->messageOnly_ ? nullptr : hwnd,
               [&] { result = self->HandleMessage(message, wParam, lParam); });
    return result;
}

HWND Window::AddControl(const ControlLayout& layout, const Dpi& dpi, HFONT font) const {
    const HWND control = ::CreateWindowExW(
        layout.exStyle, layout.className, layout.text, WS_CHILD | WS_VISIBLE | layout.style,
        dpi.Scale(layout.left), dpi.Scale(layout.top), dpi.Scale(layout.width),
        dpi.Scale(layout.height), Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance_, nullptr);
    if (!control) throw CannotMake(layout.className);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), /*redraw=*/FALSE);
    return control;
}

void Window::RunModal(HWND focus) {
    DisableOtherWindows();
    modal_ = true;
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
    ::SetFocus(focus);
    // Hotkey presses reach the registrar's own window through this loop as well.
    MSG message;
    while (modal_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
            EndModal();
            break;
        }
        if (!::IsDialogMessageW(Handle(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
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

SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, client.cx, client.cy};
    ::AdjustWindowRectEx(&frame, style, /*bMenu=*/FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

POINT CentredInWorkArea(SIZE size) {
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return {workArea.left + (workArea.right - workArea.left - size.cx) / 2,
            workArea.top + (workArea.bottom - workArea.top - size.cy) / 2};
}

}  // namespace quorvel
