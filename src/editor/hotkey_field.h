#pragma once

#include <cstdint>

namespace quorvel {

// The common hotkey control packs its value as the key code in the low byte and its own
// modifier flags (HOTKEYF_SHIFT 0x01, HOTKEYF_CONTROL 0x02, HOTKEYF_ALT 0x04, HOTKEYF_EXT 0x08)
// in the high byte. The rest of the program speaks the shortcut word (Shift 0x2000,
// Ctrl 0x4000, Alt 0x8000). These two are the only place where one becomes the other.
std::uint16_t ShortCutFromHotKeyField(std::uint16_t fieldValue);
std::uint16_t HotKeyFieldFromShortCut(std::uint16_t shortCut);

// A key typed without Shift, Ctrl or Alt, which the field refuses: as a system-wide hotkey it
// would take the key away from every program.
bool IsBareKey(std::uint16_t fieldValue);

}  // namespace quorvel
