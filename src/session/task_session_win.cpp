#include "session/task_session_win.h"

#include <utility>

#include "common/win/error_box_win.h"

namespace quorvel {

TaskSessionWin::TaskSessionWin(HINSTANCE instance, FileSystem& files, std::u16string actionsPath,
                               const HotKeyText& hotKeyText)
    : registrar_(instance),
      // The registrar's window is there from start to end, also while no other is.
      system_([this] { return registrar_.Handle(); }, [this] { return LaunchOwner(); }),
      session_(files, std::move(actionsPath), hotKeyText, registrar_.Registrar(),
               system_.Services(),
               // In front of the window the user is in, as every box of a press.
               [this] { ShowCurrentException(LaunchOwner(), MB_SETFOREGROUND); }) {
    // A hotkey another program holds is tried again at the system's moments, and on a timer
    // only while one is missing.
    registrar_.OnRetryDue = [this] { session_.RetryMissingHotKeys(); };
    session_.OnMissingHotKeys = [this](bool missing) { registrar_.KeepRetrying(missing); };
    // The start-up's tries of a file another program holds, about three seconds in all.
    session_.PauseBeforeRetry = [] { ::Sleep(250); };
}

void TaskSessionWin::StartUp() {
    RunHandler(/*owner=*/nullptr, [this] { session_.StartUp(); });
}

}  // namespace quorvel
