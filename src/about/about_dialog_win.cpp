#include "about/about_dialog_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>

#include "about/res/about_resources.h"

namespace quorvel {

namespace {

enum ControlId : int { kProductPicture = 1001, kProductText, kWebSiteLink, kFeedbackLink };

constexpr int kClientWidthAt96 = 418;
constexpr int kClientHeightAt96 = 185;
constexpr int kPictureSizeAt96 = 128;
constexpr int kLinkFontHeightAt96 = 13;
constexpr int kOkIconAt96 = 16;
constexpr COLORREF kLinkColour = 16744576;  // light blue
constexpr int kBackground = COLOR_3DLIGHT;
// A dialog box's frame, without an icon in the caption.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

constexpr std::array<ControlLayout, 5> kControlLayouts{{
    // Drawn by the box; its text is the name a screen reader gives it.
    {L"STATIC", L"Quorvel Tessaly", SS_OWNERDRAW | SS_NOTIFY, 0, kProductPicture, 8, 8,
     kPictureSizeAt96, kPictureSizeAt96},
    {L"STATIC",
     L"Quorvel Tessaly\r\nVersion 1.5\r\nQuorvel \u2013 this is a free manager hotkeys for "
     L"Windows. ",
     SS_CENTER, 0, kProductText, 131, 20, 281, 81},
    {L"STATIC", L"click here to visit our website", SS_CENTER | SS_NOTIFY | WS_TABSTOP, 0,
     kWebSiteLink, 131, 102, 281, 16},
    {L"STATIC", L"click here to send feedback", SS_CENTER | SS_NOTIFY | WS_TABSTOP, 0,
     kFeedbackLink, 131, 126, 281, 16},
    {L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK, 3, 156, 75, 28},
}};

// In high contrast the links take the scheme's colour for links, on its window colour.
int Background() { return HighContrast() ? COLOR_WINDOW : kBackground; }
HBRUSH BackgroundBrush() { return ::GetSysColorBrush(Background()); }
COLORREF TextColour(bool link) {
    if (HighContrast()) return ::GetSysColor(link ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT);
    return link ? kLinkColour : ::GetSysColor(COLOR_BTNTEXT);
}

// The rectangle of a link's text, as the static control centres it.
RECT LinkTextRect(HWND link, HDC dc) {
    wchar_t text[64] = L"";
    const int length = ::GetWindowTextW(link, text, 64);
    RECT client{};
    ::GetClientRect(link, &client);
    RECT extent = client;
    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(::SendMessageW(link, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, text, length, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const LONG width = extent.right - extent.left;
    extent.left = client.left + (client.right - client.left - width) / 2;
    extent.right = extent.left + width;
    return extent;
}

}  // namespace

void AboutBox::ShowModal(HWND owner) {
    // The tray menu's "About..." still works while the box is open: one box is enough.
    if (Handle() != nullptr) {
        ::SetForegroundWindow(Handle());
        return;
    }
    dpi_ = Dpi::OfWindow(owner);
    LoadFontsAndPictures();
    const SIZE size = FrameSize({dpi_.Scale(kClientWidthAt96), dpi_.Scale(kClientHeightAt96)},
                                kStyle, kExStyle, dpi_);
    Create(instance_, {.className = kWindowClass,
                       .caption = L"About...",
                       .style = kStyle,
                       .exStyle = kExStyle,
                       .place = CentredInWorkArea(size),
                       .size = size,
                       .parent = owner,
                       .background = kBackground});
    RunModal(CreateControls());
    // Kept until here: the owner's activation as the box ends still names it.
    Destroy();
}

LRESULT AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, TextColour(IsLink(reinterpret_cast<HWND>(lParam))));
            return reinterpret_cast<LRESULT>(BackgroundBrush());
        }
        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(Handle(), &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
            return TRUE;
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
        case WM_THEMECHANGED:
            // The colours are the system's at every painting.
            ::RedrawWindow(Handle(), nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case WM_SETCURSOR:
            if (IsLink(reinterpret_cast<HWND>(wParam)) ||
                reinterpret_cast<HWND>(wParam) == ::GetDlgItem(Handle(), kProductPicture)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            DrawProductPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_ACTIVATE:
            focus_.OnActivate(Handle(), wParam);
            return 0;
        case WM_COMMAND:
            // A double click's first click has opened the link already.
            if (HIWORD(wParam) == STN_DBLCLK) return 0;
            if (LOWORD(wParam) == kProductPicture || LOWORD(wParam) == kWebSiteLink) OpenWebSite();
            if (LOWORD(wParam) == kFeedbackLink) WriteFeedback();
            // The OK button, Enter and Esc.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndModal();
            return 0;
        case WM_CLOSE:
            EndModal();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

void AboutBox::LoadFontsAndPictures() {
    if (fontsDpi_ == dpi_.Value()) return;
    fontsDpi_ = dpi_.Value();
    font_ = CreateMessageFont(dpi_);
    linkFont_ = CreateVariantFont(static_cast<HFONT>(font_.get()), dpi_, kLinkFontHeightAt96,
                                  /*underline=*/true);
    const int picture = dpi_.Scale(kPictureSizeAt96);
    product_ = LoadIconAtSize(instance_, IDI_PRODUCT, picture);
    const int small = dpi_.Scale(kOkIconAt96);
    okIcon_ = LoadIconAtSize(instance_, IDI_ABOUT_OK, small);
}

HWND AboutBox::CreateControls() {
    for (const auto& layout : kControlLayouts) {
        const bool link = layout.id == kWebSiteLink || layout.id == kFeedbackLink;
        const HWND control =
            AddControl(layout, dpi_, static_cast<HFONT>(link ? linkFont_.get() : font_.get()));
        if (link) SubclassControl(control, &AboutBox::HandleLinkMessage);
    }
    const HWND okButton = ::GetDlgItem(Handle(), IDOK);
    ::SendMessageW(okButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(okIcon_.get()));
    return okButton;
}

// The window base moves the box to its new size afterwards.
void AboutBox::OnDpiChanged(const Dpi& dpi) {
    const auto font = static_cast<HFONT>(font_.release());
    const auto linkFont = static_cast<HFONT>(linkFont_.release());
    dpi_ = dpi;
    LoadFontsAndPictures();
    ReplaceChildrenFont(Handle(), font, static_cast<HFONT>(font_.get()));
    ReplaceChildrenFont(Handle(), linkFont, static_cast<HFONT>(linkFont_.get()));
    ::DeleteObject(font);
    ::DeleteObject(linkFont);
    PlaceControls(dpi_);
    ::SendMessageW(::GetDlgItem(Handle(), IDOK), BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(okIcon_.get()));
}

bool AboutBox::IsLink(HWND control) const {
    return ::GetParent(control) == Handle() &&
           (::GetDlgCtrlID(control) == kWebSiteLink || ::GetDlgCtrlID(control) == kFeedbackLink);
}

void AboutBox::DrawProductPicture(const DRAWITEMSTRUCT& item) const {
    ::FillRect(item.hDC, &item.rcItem, BackgroundBrush());
    const int size = dpi_.Scale(kPictureSizeAt96);
    ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, product_.get(), size, size,
                 /*istepIfAniCur=*/0, /*hbrFlickerFreeDraw=*/nullptr, DI_NORMAL);
}

LRESULT AboutBox::HandleLinkMessage(ControlMessage& message) {
    const HWND link = message.control;
    switch (message.message) {
        case WM_GETDLGCODE:
            return TakeEnterKey(message);
        case WM_KEYDOWN:
            if (message.wParam != VK_RETURN) break;
            ::SendMessageW(::GetParent(link), WM_COMMAND,
                           MAKEWPARAM(::GetDlgCtrlID(link), STN_CLICKED),
                           reinterpret_cast<LPARAM>(link));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            ::InvalidateRect(link, nullptr, TRUE);
            break;
        case WM_PAINT: {
            const LRESULT result = message.Default();
            if (::GetFocus() == link) {
                const HDC dc = ::GetDC(link);
                const RECT text = LinkTextRect(link, dc);
                ::DrawFocusRect(dc, &text);
                ::ReleaseDC(link, dc);
            }
            return result;
        }
        default:
            break;
    }
    return message.Default();
}

void AboutBox::OpenWebSite() {
    ::ShellExecuteW(Handle(), L"open", kWebSite, L"", L"", SW_SHOWNORMAL);
}

void AboutBox::WriteFeedback() {
    // No verb: the shell's default one for mailto:, the mail program's new message.
    ::ShellExecuteW(Handle(), /*lpOperation=*/nullptr, kFeedbackAddress, L"", L"", SW_SHOWNORMAL);
}

}  // namespace quorvel
