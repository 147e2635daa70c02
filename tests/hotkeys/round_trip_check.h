#pragma once

#include "hotkeys/hotkey_text.h"

namespace quorvel::testing {

// Formats every virtual key with the given modifier bits and parses the text back. A text
// may only come back as nothing (no name, or a modifier's name) or as a lower key of the same
// name; reports failures through GoogleTest and returns how many keys came back unchanged.
int CheckFormatThenParse(const HotKeyText& text, HotKeyValue modifierBits, bool useLayoutNames);

}  // namespace quorvel::testing
