#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"

namespace quorvel {

// A child control as designed at 96 DPI; WS_CHILD and WS_VISIBLE come with every style.
struct ControlLayout {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    int id;
    int left, top, width, height;
};

// What a window is made with. Its class is registered with the first window of its kind: the
// arrow cursor, the background colour and the icons given.
struct WindowLayout {
    const wchar_t* className;
    const wchar_t* caption = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    POINT place{};
    SIZE size{};
    HWND parent = nullptr;  // the owner; HWND_MESSAGE for a message-only window
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    int background = COLOR_BTNFACE;
};

// The base of the program's windows. The object is attached to its window from WM_NCCREATE to
// WM_NCDESTROY and handles the messages in between in HandleMessage, the one place where no
// exception leaves a window procedure: the rest of the handler is skipped, the standard error
// box shows it (without an owner for a message-only window) and the message returns 0. The
// base passes WM_SYSCOLORCHANGE on to the window's controls before HandleMessage sees it, and
// handles WM_DPICHANGED itself (OnDpiChanged).
class Window {
  public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return window_.get(); }

  protected:
    Window() = default;
    ~Window() { Destroy(); }

    // Registers the class (a class registered already is used as it is) and makes the window,
    // attached to this object. Called by the most derived constructor, whose HandleMessage the
    // window's first messages reach. Throws Error when either fails.
    void Create(HINSTANCE instance, const WindowLayout& layout);
    // Detaches the object first: the messages of the window's end take the default handling.
    void Destroy();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window came onto a monitor of another scaling (WM_DPICHANGED): what depends on the DPI
    // (fonts, pictures, fixed places) is made anew here, and then the base moves the window to
    // the rectangle Windows suggests, which lays a resizable window out through WM_SIZE.
    virtual void OnDpiChanged(const Dpi& /*dpi*/) {}
    HINSTANCE Instance() const { return instance_; }

    // A control of this window at the screen's scale, in the font. Throws Error when it cannot
    // be made.
    HWND AddControl(const ControlLayout& layout, const Dpi& dpi, HFONT font);
    // Places the controls made so far again as laid out, at another DPI.
    void PlaceControls(const Dpi& dpi) const;
    // Centres the window over its owner, within the work area of the owner's monitor.
    void CentreOverOwner();

    // Shows the window modally, `focus` focused, until EndModal or the end of the message loop
    // (whose WM_QUIT is posted again). The owner and the thread's other visible windows take no
    // input meanwhile; Tab moves the focus, Enter and Esc send IDOK and IDCANCEL.
    void RunModal(HWND focus);
    // The other windows take input again before the window hides, so that the activation
    // returns to the window below it. Nothing while the window is not shown modally.
    void EndModal();
    bool ShownModally() const { return modal_; }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void DisableOtherWindows();

    UniqueWindow window_;
    HINSTANCE instance_ = nullptr;
    std::vector<std::pair<HWND, ControlLayout>> controls_;
    bool messageOnly_ = false;
    bool modal_ = false;
    std::vector<HWND> disabledWindows_;
};

// The size of a window whose client area has `client`'s, with the frame at that DPI.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, const Dpi& dpi, bool menu = false);
// Where a window of that size stands centred in the work area.
POINT CentredInWorkArea(SIZE size);
// Where a window of that size stands centred over `bounds`, moved into the work area of the
// monitor nearest to it.
POINT CentredInWorkArea(SIZE size, const RECT& bounds);

}  // namespace quorvel
