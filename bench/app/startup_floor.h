#pragma once

// The floor of the start-up benchmark keeps one hidden window of this class; WM_CLOSE to it
// ends the program.
inline constexpr wchar_t kFloorWindowClass[] = L"QuorvelStartupFloor";
