#pragma once

#include <windows.h>

#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/window_win.h"

namespace quorvel {

// The About box: the product, its version and two links, shown modally. Its window and
// controls are made at each showing, its fonts and pictures at the first at each DPI. Its own
// colours give way to the system's in high contrast.
class AboutBox final : public Window {
  public:
    static constexpr wchar_t kWindowClass[] = L"QuorvelTessalyAboutBox";
    static constexpr wchar_t kWebSite[] = L"https://quorvel.example.org/";
    static constexpr wchar_t kFeedbackAddress[] =
        L"mailto:support@quorvel.example.org?subject=Feedback - Dravlin";

    explicit AboutBox(HINSTANCE instance) : instance_(instance) {}

    // Returns when the box is closed; while it is open, brings it forward instead. Handle()
    // is the box while it is shown, else null.
    void ShowModal(HWND owner);

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const Dpi& dpi) override;
    // For the box's DPI; kept while it stays the same.
    void LoadFontsAndPictures();
    // Gives the OK button, which takes the focus.
    HWND CreateControls();
    bool IsLink(HWND control) const;
    // A link is a Tab stop: Enter opens it as a click does, and its text is framed while it has
    // the focus.
    static LRESULT HandleLinkMessage(ControlMessage& message);
    void DrawProductPicture(const DRAWITEMSTRUCT& item) const;

    void OpenWebSite();
    void WriteFeedback();

    HINSTANCE instance_;
    Dpi dpi_{96};
    int fontsDpi_ = 0;
    UniqueGdiObject font_;
    UniqueGdiObject linkFont_;
    UniqueIcon product_;
    UniqueIcon okIcon_;
    RememberedFocus focus_;
};

}  // namespace quorvel
