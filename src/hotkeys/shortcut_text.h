#pragma once

#include <cstdint>
#include <string_view>

#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names.h"

namespace quorvel {

// Reads a shortcut text the way the hotkey control's class library does: leading "Shift+",
// "Ctrl+" (or "^") and "Alt+" in any order and case, then a key text of its own table ("PgUp",
// "Ins", "BkSp", "F1", ...) or the layout's name for other keys. Gives the shortcut word (key
// in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt), 0 when the text is none.
std::uint16_t TextToShortCut(std::u16string_view text, const KeyNameProvider& keyNames);

// A task's hotkey text as the editor shows it: the shortcut word for its hotkey field, with the
// Win bit for its Win box. The text is read in the form the editor writes it (the layout's key
// names, "Control+Alt+J" or "Strg+Alt+J") and only then as a class-library shortcut text, so
// that editing a task never loses its hotkey.
HotKeyValue ShortCutOfHotKeyText(std::u16string_view text, const HotKeyText& hotKeyText,
                                 const KeyNameProvider& keyNames);

}  // namespace quorvel
