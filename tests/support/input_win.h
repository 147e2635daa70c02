#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "common/win/unique_handle_win.h"
#include "program_watch_win.h"

// The Windows tests' keyboard, hotkeys and message loop.
namespace quorvel {

inline void PressTogether(std::initializer_list<WORD> keys) { ASSERT_TRUE(SendKeysTogether(keys)); }

// Handles this thread's messages until done() holds; false when the time runs out first.
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return true;
}

}  // namespace quorvel
