#pragma once

#include <cstdint>

namespace quorvel {

// The common hotkey control packs its value as the key code in the low byte and its own
// modifier flags in the high byte (HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT and HOTKEYF_EXT
// for an extended key).
inline constexpr std::uint8_t kHotKeyFieldShift = 0x01;
inline constexpr std::uint8_t kHotKeyFieldControl = 0x02;
inline constexpr std::uint8_t kHotKeyFieldAlt = 0x04;
inline constexpr std::uint8_t kHotKeyFieldExtended = 0x08;

// The rest of the program speaks the shortcut word (Shift 0x2000, Ctrl 0x4000, Alt 0x8000).
// These two are the only place where one becomes the other.
std::uint16_t ShortCutFromHotKeyField(std::uint16_t fieldValue);
std::uint16_t HotKeyFieldFromShortCut(std::uint16_t shortCut);

// A key typed without Shift, Ctrl or Alt, which the field refuses: as a system-wide hotkey it
// would take the key away from every program.
bool IsBareKey(std::uint16_t fieldValue);

// Modifiers without their key: what the control shows ("Shift + ") while they are held. Left
// there when the focus goes (Shift+Tab leaves "Shift + "), it is no hotkey, and the field takes
// back the last whole value it held.
bool IsModifiersOnly(std::uint16_t fieldValue);

}  // namespace quorvel
