#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "common/win/unique_handle_win.h"

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
    // The picture and the tip say how the hotkeys are: the paused picture while they are
    // paused, and the tip as given (cut to what the shell takes). Kept for a new taskbar.
    void ShowHotKeys(bool paused, std::wstring_view tip);

  private:
    HICON PausedPicture();

    HICON icon_;
    UniqueIcon pausedIcon_;  // loaded at the first pause
    NOTIFYICONDATAW data_{};
    // Between Add and Delete, even when the shell refused the add (no taskbar yet at log-on):
    // a later TaskbarCreated then brings the icon.
    bool wanted_ = false;
};

}  // namespace quorvel
