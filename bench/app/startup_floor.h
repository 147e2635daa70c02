#pragma once

#include <windows.h>

// The floor of the start-up benchmark keeps one window of this class, hidden until its tray
// icon is clicked; WM_CLOSE to it ends the program.
inline constexpr wchar_t kFloorWindowClass[] = L"QuorvelStartupFloor";
// The message the shell sends the window for its tray icon, the mouse message in lParam: the
// same as Quorvel's, so that the benchmark clicks both alike.
inline constexpr UINT kTrayIconMessage = WM_USER + 1;
