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

// True when another program's window can still register the combination.
inline bool HotKeyIsFree(UINT modifiers, UINT key) {
    const UniqueWindow probe(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                               nullptr, nullptr, nullptr));
    if (!::RegisterHotKey(probe.get(), 1, modifiers, key)) return false;
    ::UnregisterHotKey(probe.get(), 1);
    return true;
}

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
