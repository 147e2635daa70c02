#include "about/about_dialog_win.h"

#include <shellapi.h>

#include "about/res/about_resources.h"
#include "common/win/error_box_win.h"

namespace quorvel {

namespace {

enum ControlId : int { kImage1 = 1001, kLabel1, kLabel2, kLabel3 };

constexpr int kClientWidthAt96 = 418;
constexpr int kClientHeightAt96 = 185;
constexpr int kPictureSizeAt96 = 128;
constexpr int kLinkFontHeightAt96 = 13;
constexpr int kOkIconAt96 = 16;
constexpr COLORREF kLinkColour = 16744576;  // light blue

// An empty dialog; its controls are made in WM_INITDIALOG at the screen's scale.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD windowClass = 0;
    wchar_t title[9] = L"About...";
};

HBRUSH BackgroundBrush() { return ::GetSysColorBrush(COLOR_3DLIGHT); }

}  // namespace

AboutBox::AboutBox(HINSTANCE instance, const Dpi& dpi) : instance_(instance), dpi_(dpi) {}

void AboutBox::ShowModal(HWND owner) {
    // The tray menu's "About..." still works while the dialog is open: one dialog is enough.
    if (dialog_ != nullptr) {
        ::SetForegroundWindow(dialog_);
        return;
    }
    if (!font_) LoadFontsAndPictures();
    EmptyDialogTemplate dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    ::DialogBoxIndirectParamW(instance_, &dialog.header, owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
    // Kept until here: the owner's activation as the dialog ends still names it.
    dialog_ = nullptr;
}

INT_PTR CALLBACK AboutBox::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<AboutBox*>(lParam)->dialog_ = dialog;
    }
    auto* form = reinterpret_cast<AboutBox*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (form == nullptr) return FALSE;
    INT_PTR result = FALSE;
    RunHandler(dialog, [&] { result = form->HandleMessage(dialog, message, wParam, lParam); });
    return result;
}

INT_PTR AboutBox::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnCreate(dialog);
            return TRUE;
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(BackgroundBrush());
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, IsLink(reinterpret_cast<HWND>(lParam))
                                   ? kLinkColour
                                   : ::GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<INT_PTR>(BackgroundBrush());
        }
        case WM_SETCURSOR:
            if (IsLink(reinterpret_cast<HWND>(wParam)) ||
                reinterpret_cast<HWND>(wParam) == image1_) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_DRAWITEM:
            DrawImage1(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            // A double click's first click has opened the link already.
            if (HIWORD(wParam) == STN_DBLCLK) return TRUE;
            switch (LOWORD(wParam)) {
                case kImage1:
                    Image1Click(dialog);
                    break;
                case kLabel2:
                    Label2Click(dialog);
                    break;
                case kLabel3:
                    Label3Click(dialog);
                    break;
                case IDOK:  // the OK button
                case IDCANCEL:
                    ::EndDialog(dialog, LOWORD(wParam));
                    break;
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

// Kept from the first showing on.
void AboutBox::LoadFontsAndPictures() {
    font_ = CreateMessageFont();
    linkFont_ = CreateVariantFont(static_cast<HFONT>(font_.get()), dpi_, kLinkFontHeightAt96,
                                  /*underline=*/true);
    const int picture = dpi_.Scale(kPictureSizeAt96);
    product_.reset(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_PRODUCT), IMAGE_ICON, picture, picture, 0)));
    const int small = dpi_.Scale(kOkIconAt96);
    okIcon_.reset(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ABOUT_OK), IMAGE_ICON, small, small, 0)));
}

void AboutBox::OnCreate(HWND dialog) {
    RECT frame{0, 0, dpi_.Scale(kClientWidthAt96), dpi_.Scale(kClientHeightAt96)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)),
                         /*bMenu=*/FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    ::SetWindowPos(dialog, nullptr, workArea.left + (workArea.right - workArea.left - width) / 2,
                   workArea.top + (workArea.bottom - workArea.top - height) / 2, width, height,
                   SWP_NOZORDER);

    image1_ = AddControl(dialog, L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, kImage1,
                         {8, 8, 8 + kPictureSizeAt96, 8 + kPictureSizeAt96});
    AddControl(dialog, L"STATIC",
               L"Quorvel Tessaly\r\nVersion 1.5\r\nQuorvel \u2013 this is a free manager hotkeys "
               L"for Windows. ",
               SS_CENTER, kLabel1, {131, 20, 131 + 281, 20 + 81});
    label2_ = AddControl(dialog, L"STATIC", L"click here to visit our website",
                         SS_CENTER | SS_NOTIFY, kLabel2, {131, 102, 131 + 281, 102 + 16});
    label3_ = AddControl(dialog, L"STATIC", L"click here to send feedback", SS_CENTER | SS_NOTIFY,
                         kLabel3, {131, 126, 131 + 281, 126 + 16});
    const HWND bitBtn1 = AddControl(dialog, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                                    {3, 156, 3 + 75, 156 + 28});
    ::SendMessageW(bitBtn1, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(okIcon_.get()));
    ::SendMessageW(label2_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
    ::SendMessageW(label3_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
    ::SetFocus(bitBtn1);
}

HWND AboutBox::AddControl(HWND dialog, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                          int id, RECT boundsAt96) {
    const HWND control = ::CreateWindowExW(
        /*dwExStyle=*/0, windowClass, text, WS_CHILD | WS_VISIBLE | style,
        dpi_.Scale(boundsAt96.left), dpi_.Scale(boundsAt96.top),
        dpi_.Scale(boundsAt96.right - boundsAt96.left),
        dpi_.Scale(boundsAt96.bottom - boundsAt96.top), dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
}

bool AboutBox::IsLink(HWND control) const {
    return control != nullptr && (control == label2_ || control == label3_);
}

void AboutBox::DrawImage1(const DRAWITEMSTRUCT& item) const {
    ::FillRect(item.hDC, &item.rcItem, BackgroundBrush());
    const int size = dpi_.Scale(kPictureSizeAt96);
    ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, product_.get(), size, size,
                 /*istepIfAniCur=*/0, /*hbrFlickerFreeDraw=*/nullptr, DI_NORMAL);
}

void AboutBox::Label2Click(HWND dialog) {
    ::ShellExecuteW(dialog, L"open", kWebSite, L"", L"", SW_SHOWNORMAL);
}

void AboutBox::Label3Click(HWND dialog) {
    // No verb: the shell's default one for mailto:, the mail program's new message.
    ::ShellExecuteW(dialog, /*lpOperation=*/nullptr, kFeedbackAddress, L"", L"", SW_SHOWNORMAL);
}

}  // namespace quorvel
