#pragma once

#include <cstdint>
#include <string_view>

#include "hotkeys/key_names.h"

namespace quorvel {

// Reads a shortcut text the way the hotkey control's class library does: leading "Shift+",
// "Ctrl+" (or "^") and "Alt+" in any order and case, then a key text of its own table ("PgUp",
// "Ins", "BkSp", "F1", ...) or the layout's name for other keys. Gives the shortcut word (key
// in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt), 0 when the text is none.
std::uint16_t TextToShortCut(std::u16string_view text, const KeyNameProvider& keyNames);

}  // namespace quorvel
