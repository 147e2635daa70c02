#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// Virtual key in bits 0 to 7 plus modifier bits; the low 16 bits are the hotkey control's
// shortcut word, so the editor's value is used unchanged.
using HotKeyValue = std::uint32_t;

// The modifier set RegisterHotKey takes (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr std::uint16_t kModAlt = 1;
inline constexpr std::uint16_t kModControl = 2;
inline constexpr std::uint16_t kModShift = 4;
inline constexpr std::uint16_t kModWin = 8;

// The modifier bits of a hotkey value.
inline constexpr HotKeyValue kShiftBit = 0x2000;
inline constexpr HotKeyValue kCtrlBit = 0x4000;
inline constexpr HotKeyValue kAltBit = 0x8000;
inline constexpr HotKeyValue kWinBit = 0x10000;

// Virtual keys the text form treats apart: the three modifier keys, and the media keys from
// VK_BROWSER_BACK to VK_LAUNCH_APP2.
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;
inline constexpr std::uint16_t kFirstMediaKey = 0xA6;
inline constexpr std::uint16_t kLastMediaKey = 0xB7;

struct SplitKey {
    std::uint16_t modifiers;
    std::uint16_t key;
};

// Flags of the modifier set other than the four are ignored; the key is added whole. Inline:
// every press makes one.
constexpr HotKeyValue MakeHotKey(std::uint16_t modifiers, std::uint16_t key) {
    HotKeyValue value = 0;
    if (modifiers & kModAlt) value += kAltBit;
    if (modifiers & kModControl) value += kCtrlBit;
    if (modifiers & kModShift) value += kShiftBit;
    if (modifiers & kModWin) value += kWinBit;
    return value + key;
}
// Keeps only the low 8 bits of the key.
SplitKey SplitHotKey(HotKeyValue value);

// Browser, volume, media and launch keys (0xA6 to 0xB7), which layouts rarely name usefully.
bool IsMediaKey(std::uint16_t virtualKey);
// The fixed English name of a media key; empty for any other key.
std::u16string MediaKeyName(std::uint16_t virtualKey);

}  // namespace quorvel
