#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "actions/actions_win.h"
#include "app/task_session.h"
#include "common/win/unique_handle_win.h"
#include "editor/task_icons_win.h"
#include "hotkeys/dravlin_win.h"

namespace quorvel {

// The task session on Windows: the registrar Dravlin1 with its hidden window, where WM_HOTKEY
// arrives, the actions on the real system, and the rows' pictures in ImageList1. Made before the
// main window, which shows its table and pictures; destroyed after it.
class TaskSessionWin {
  public:
    TaskSessionWin(HINSTANCE instance, FileSystem& files, std::u16string actionsPath,
                   const HotKeyText& hotKeyText);

    TaskSession& Tasks() { return session_; }
    TDravlin& Dravlin1() { return dravlin1_.Dravlin1(); }
    const ImageListPictures& Pictures() const { return pictures_; }

    // The session's start-up; a failure of the registration goes to the standard error box.
    void StartUp();
    // The window that owns what a launch shows and the clipboard while it is emptied, asked
    // for at each launch; none until given.
    void SetLaunchOwner(std::function<HWND()> owner) { launchOwner_ = std::move(owner); }

  private:
    std::function<HWND()> launchOwner_;
    UniqueImageList imageList1_;
    ImageListPictures pictures_;
    DravlinWindow dravlin1_;
    WindowsActions actions_;
    TaskSession session_;
};

}  // namespace quorvel
