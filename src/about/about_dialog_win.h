#pragma once

#include <windows.h>

#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"

namespace quorvel {

// The About box: the product, its version and two links, shown modally. Its controls
// are made at each showing, its fonts and pictures at the first.
class AboutBox {
  public:
    static constexpr wchar_t kWebSite[] = L"https://quorvel.example.org/";
    static constexpr wchar_t kFeedbackAddress[] =
        L"mailto:support@quorvel.example.org?subject=Feedback - Dravlin";

    AboutBox(HINSTANCE instance, const Dpi& dpi);
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Returns when the dialog is closed; while it is open, brings it forward instead.
    void ShowModal(HWND owner);
    // The dialog while it is shown, else null.
    HWND Handle() const { return dialog_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void LoadFontsAndPictures();
    void OnCreate(HWND dialog);
    HWND AddControl(HWND dialog, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                    int id, RECT boundsAt96);
    bool IsLink(HWND control) const;
    void DrawImage1(const DRAWITEMSTRUCT& item) const;

    void Image1Click(HWND dialog) { Label2Click(dialog); }
    void Label2Click(HWND dialog);
    void Label3Click(HWND dialog);

    HINSTANCE instance_;
    Dpi dpi_;
    UniqueGdiObject font_;
    UniqueGdiObject linkFont_;
    UniqueIcon product_;
    UniqueIcon okIcon_;
    HWND dialog_ = nullptr;
    HWND image1_ = nullptr;
    HWND label2_ = nullptr;
    HWND label3_ = nullptr;
};

}  // namespace quorvel
