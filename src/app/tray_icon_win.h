#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string_view>

namespace quorvel {

// The main window's icon in the notification area. The shell sends the icon's mouse messages
// to the owner as kTrayIconMessage, the mouse message in lParam.
class TrayIcon {
  public:
    static constexpr UINT kTrayIconMessage = WM_USER + 1;

    TrayIcon(HWND owner, HICON icon);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool Add();
    void Delete();
    // A warning balloon from the icon; a click on it reaches the owner as NIN_BALLOONUSERCLICK.
    // The text is cut to what the shell takes.
    void ShowBalloon(std::wstring_view title, std::wstring_view text);
    // Explorer announces a restart with this message; its new taskbar has no icons, so the
    // owner adds the icon again when it arrives.
    static UINT TaskbarCreatedMessage();
    void OnTaskbarCreated();

  private:
    NOTIFYICONDATAW data_{};
    // Between Add and Delete, even when the shell refused the add (no taskbar yet at log-on):
    // a later TaskbarCreated then brings the icon.
    bool wanted_ = false;
};

}  // namespace quorvel
