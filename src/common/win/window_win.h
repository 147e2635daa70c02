#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"

namespace quorvel {

// A child control as designed at 96 DPI; WS_CHILD and WS_VISIBLE come with every style. A
// control its window lays out itself is made with no size.
struct ControlLayout {
    const wchar_t* className;
    const wchar_t* text = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = -1;
    int left = 0, top = 0, width = 0, height = 0;
};

// Makes a child control of `parent` at the DPI's scale, in the font (none: the control's own).
// Throws Error when it cannot be made.
HWND MakeControl(HWND parent, const ControlLayout& layout, const Dpi& dpi, HFONT font);

// A message to a subclassed control, as its handler sees it. Default() runs the control's own
// handling, once: the handler may act before it, after it, or instead of it.
struct ControlMessage {
    LRESULT Default();

    HWND control;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::optional<LRESULT> defaultResult{};
};

// A control whose messages go through `handler` before the control's own handling, inside the
// program's exception boundary: a handler that throws shows the error box over the control's
// window, and the message takes the control's own handling. Undone as this object goes or the
// control is destroyed, whichever comes first.
class ControlSubclass {
  public:
    using Handler = std::function<LRESULT(ControlMessage& message)>;

    ControlSubclass(HWND control, Handler handler);
    ControlSubclass(ControlSubclass&&) noexcept = default;
    ~ControlSubclass();

  private:
    struct Hook {
        HWND control;
        Handler handler;
    };
    static LRESULT CALLBACK Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR hook);

    std::unique_ptr<Hook> hook_;
};

// WM_GETDLGCODE for a control that takes Enter itself, instead of the dialog navigation.
LRESULT TakeEnterKey(ControlMessage& message);

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

    // The program's message loop, until WM_QUIT (its exit code), or until `running`, when
    // given, turns false (nothing). Keys for this window or its controls go through its keyboard
    // navigation (TranslateKey) first; every other message, WM_HOTKEY among them, goes straight
    // on.
    std::optional<int> RunMessageLoop(const bool* running = nullptr);

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
    // A key for this window or its controls, before it is translated and dispatched: Tab and
    // the arrows, access keys, Enter and Esc as in a dialog box. True when the key was handled.
    virtual bool TranslateKey(MSG& message) { return ::IsDialogMessageW(Handle(), &message); }
    // The window came onto a monitor of another scaling (WM_DPICHANGED): what depends on the DPI
    // (fonts, pictures, fixed places) is made anew here, and then the base moves the window to
    // the rectangle Windows suggests, which lays a resizable window out through WM_SIZE.
    virtual void OnDpiChanged(const Dpi& /*dpi*/) {}
    HINSTANCE Instance() const { return instance_; }

    // A control of this window (MakeControl), kept with its layout for PlaceControls.
    HWND AddControl(const ControlLayout& layout, const Dpi& dpi, HFONT font);
    // A control of this window handled by `handler` first (ControlSubclass), until the window
    // is destroyed.
    void SubclassControl(HWND control, ControlSubclass::Handler handler);
    // Places the controls made so far again as laid out, at another DPI.
    void PlaceControls(const Dpi& dpi) const;
    // Centres the window over its owner, within the work area of the owner's monitor.
    void CentreOverOwner();

    // Shows the window modally, `focus` focused, until EndModal or the end of the message loop
    // (whose WM_QUIT is posted again), in the program's message loop with this window's
    // keyboard navigation. The owner and the thread's other visible windows take no input
    // meanwhile.
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
    std::vector<ControlSubclass> subclasses_;
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
