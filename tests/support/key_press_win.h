#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <vector>

namespace quorvel {

// Presses the keys in order at the system's keyboard input and releases them in reverse, as a
// user's fingers would.
inline void PressTogether(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD key, DWORD flags) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
    };
    for (const WORD key : keys) add(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
    ASSERT_EQ(::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
              inputs.size());
}

}  // namespace quorvel
