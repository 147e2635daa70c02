#include "round_trip_check.h"

#include <gtest/gtest.h>

#include "common/text.h"

namespace quorvel::testing {

int CheckFormatThenParse(const HotKeyText& text, HotKeyValue modifierBits, bool useLayoutNames) {
    int roundTrips = 0;
    for (HotKeyValue vk = 8; vk <= 0xFF; ++vk) {
        const HotKeyValue value = modifierBits + vk;
        const std::u16string formatted = text.FormatHotKey(value, useLayoutNames);
        const HotKeyValue parsed = text.ParseHotKey(formatted, useLayoutNames);
        if (parsed == value) {
            ++roundTrips;
        } else if (parsed != 0) {
            EXPECT_EQ(parsed & ~HotKeyValue{0xFF}, modifierBits) << ToUtf8(formatted);
            EXPECT_EQ(text.FormatHotKey(parsed, useLayoutNames), formatted);
        }
    }
    return roundTrips;
}

bool IsModifierKey(std::uint32_t virtualKey) {
    return (virtualKey >= 0x10 && virtualKey <= 0x12) || (virtualKey >= 0xA0 && virtualKey <= 0xA5);
}

std::set<std::uint8_t> KeysOfPlainScanCodes(const KeyNameProvider& keyNames, bool isoKeyboard) {
    constexpr std::uint32_t kIsoKey = 0x56;
    std::set<std::uint8_t> keys;
    for (std::uint32_t scanCode = 1; scanCode <= 0x58; ++scanCode) {
        if (scanCode == kIsoKey && !isoKeyboard) continue;
        const std::uint32_t key =
            keyNames.MapVirtualKeyEx(scanCode, kMapVscToVk, keyNames.GetKeyboardLayout());
        if (key != 0 && !IsModifierKey(key)) keys.insert(static_cast<std::uint8_t>(key));
    }
    return keys;
}

void ExpectEveryKeyReadsBack(const HotKeyText& text, const std::set<std::uint8_t>& keys) {
    for (HotKeyValue modifiers = 0; modifiers <= 0xF; ++modifiers) {
        const HotKeyValue bits = modifiers * kShiftBit;  // Shift, Ctrl, Alt, Win in a row
        for (const std::uint8_t key : keys) {
            const std::u16string formatted = text.FormatHotKey(bits + key);
            EXPECT_EQ(text.ParseHotKey(formatted), bits + key) << ToUtf8(formatted);
        }
    }
}

}  // namespace quorvel::testing
