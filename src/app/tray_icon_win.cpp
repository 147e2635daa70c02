#include "app/tray_icon_win.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "app/res/app_resources.h"

namespace quorvel {

namespace {

template <std::size_t N>
void CopyCut(std::wstring_view text, wchar_t (&field)[N]) {
    const std::size_t length = std::min(text.size(), N - 1);
    text.copy(field, length);
    field[length] = L'\0';
}

}  // namespace

TrayIcon::TrayIcon(HWND owner, HICON icon) : icon_(icon) {
    data_.cbSize = sizeof(data_);
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayIconMessage;
    data_.hIcon = icon;
    std::wcsncpy(data_.szTip, L"Quorvel", std::size(data_.szTip) - 1);
}

TrayIcon::~TrayIcon() { Delete(); }

bool TrayIcon::Add() {
    wanted_ = true;
    return ::Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::Delete() {
    if (wanted_) ::Shell_NotifyIconW(NIM_DELETE, &data_);
    wanted_ = false;
}

void TrayIcon::ShowBalloon(std::wstring_view title, std::wstring_view text) {
    if (!wanted_) return;
    NOTIFYICONDATAW balloon = data_;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_WARNING;
    CopyCut(title, balloon.szInfoTitle);
    CopyCut(text, balloon.szInfo);
    ::Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void TrayIcon::OnTaskbarCreated() {
    if (wanted_) Add();
}

void TrayIcon::ShowHotKeys(bool paused, std::wstring_view tip) {
    const HICON picture = paused ? PausedPicture() : icon_;
    decltype(data_.szTip) cutTip;
    CopyCut(tip, cutTip);
    if (picture == data_.hIcon && std::wcscmp(cutTip, data_.szTip) == 0) return;
    data_.hIcon = picture;
    std::wcscpy(data_.szTip, cutTip);
    if (wanted_) ::Shell_NotifyIconW(NIM_MODIFY, &data_);
}

HICON TrayIcon::PausedPicture() {
    if (!pausedIcon_) {
        pausedIcon_.reset(static_cast<HICON>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUORVEL_PAUSED), IMAGE_ICON,
            ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    }
    return pausedIcon_ ? pausedIcon_.get() : icon_;
}

}  // namespace quorvel
