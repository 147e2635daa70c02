#pragma once

#include <cstdint>
#include <set>

#include "hotkeys/hotkey_text.h"

namespace quorvel::testing {

// Formats every virtual key with the given modifier bits and parses the text back. A text
// may only come back as nothing (no name, or a modifier's name) or as the key of the same
// name that the layout's keyboard sends; reports failures through GoogleTest and returns how
// many keys came back unchanged.
int CheckFormatThenParse(const HotKeyText& text, HotKeyValue modifierBits, bool useLayoutNames);

// Shift, Ctrl and Alt, left, right or either.
bool IsModifierKey(std::uint32_t virtualKey);

// The keys that the plain scan codes of a PC keyboard (1 to 0x58) send in the current
// layout, less Shift, Ctrl and Alt, which a hotkey field takes as modifiers. Only an ISO
// keyboard has the key 0x56 beside the left Shift key; US English names it "\" as it
// names the key above Enter, so no text tells the two apart there.
std::set<std::uint8_t> KeysOfPlainScanCodes(const KeyNameProvider& keyNames, bool isoKeyboard);

// Each key with each set of Ctrl, Shift, Alt and Win (none too) must read back as itself
// through FormatHotKey and ParseHotKey; reports every one that does not through GoogleTest.
void ExpectEveryKeyReadsBack(const HotKeyText& text, const std::set<std::uint8_t>& keys);

}  // namespace quorvel::testing
