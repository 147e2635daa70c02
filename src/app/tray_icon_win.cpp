#include "app/tray_icon_win.h"

#include <cwchar>
#include <iterator>

namespace quorvel {

TrayIcon::TrayIcon(HWND owner, HICON icon) {
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

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void TrayIcon::OnTaskbarCreated() {
    if (wanted_) Add();
}

}  // namespace quorvel
