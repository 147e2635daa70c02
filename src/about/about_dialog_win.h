#pragma once

#include <windows.h>

#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/window_win.h"

namespace quorvel {

// The About box: the product, its version and two links, shown modally. Its window and
// controls are made at each showing, its fonts and pictures at the first.
class AboutBox final : public Window {
  public:
    static constexpr wchar_t kWindowClass[] = L"QuorvelTessalyAboutBox";
    static constexpr wchar_t kWebSite[] = L"https://quorvel.example.org/";
    static constexpr wchar_t kFeedbackAddress[] =
        L"mailto:support@quorvel.example.org?subject=Feedback - Dravlin";

    AboutBox(HINSTANCE instance, const Dpi& dpi);

    // Returns when the box is closed; while it is open, brings it forward instead. Handle()
    // is the box while it is shown, else null.
    void ShowModal(HWND owner);

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LoadFontsAndPictures();
    // Gives the OK button, which takes the focus.
    HWND CreateControls();
    bool IsLink(HWND control) const;
    static LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR subclassId, DWORD_PTR data);
    void DrawProductPicture(const DRAWITEMSTRUCT& item) const;

    void OpenWebSite();
    void WriteFeedback();

    HINSTANCE instance_;
    Dpi dpi_;
    UniqueGdiObject font_;
    UniqueGdiObject linkFont_;
    UniqueIcon product_;
    UniqueIcon okIcon_;
    RememberedFocus focus_;
};

}  // namespace quorvel
