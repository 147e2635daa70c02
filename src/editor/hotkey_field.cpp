#include "editor/hotkey_field.h"

#include <array>

#include "hotkeys/hotkey.h"

namespace quorvel {

namespace {

struct ModifierPair {
    std::uint16_t fieldFlag;  // in the control's high byte
    std::uint16_t shortCutBit;
};

constexpr std::array<ModifierPair, 3> kModifierPairs{{
    {kHotKeyFieldShift, kShiftBit},
    {kHotKeyFieldControl, kCtrlBit},
    {kHotKeyFieldAlt, kAltBit},
}};

std::uint16_t FieldModifiers(std::uint16_t fieldValue) {
    std::uint16_t modifiers = 0;
    for (const auto& pair : kModifierPairs) modifiers |= pair.fieldFlag;
    return (fieldValue >> 8) & modifiers;
}

}  // namespace

bool IsBareKey(std::uint16_t fieldValue) {
    return (fieldValue & 0xFF) != 0 && FieldModifiers(fieldValue) == 0;
}

bool IsModifiersOnly(std::uint16_t fieldValue) {
    return (fieldValue & 0xFF) == 0 && FieldModifiers(fieldValue) != 0;
}

std::uint16_t ShortCutFromHotKeyField(std::uint16_t fieldValue) {
    const std::uint16_t key = fieldValue & 0xFF;
    // Modifiers alone (the control shows "Ctrl + " while the user is still typing) are no hotkey.
    if (key == 0) return 0;
    const std::uint16_t flags = fieldValue >> 8;
    std::uint16_t shortCut = key;
    for (const auto& pair : kModifierPairs) {
        if (flags & pair.fieldFlag) shortCut |= pair.shortCutBit;
    }
    return shortCut;
}

std::uint16_t HotKeyFieldFromShortCut(std::uint16_t shortCut) {
    const std::uint16_t key = shortCut & 0xFF;
    if (key == 0) return 0;
    std::uint16_t flags = 0;
    for (const auto& pair : kModifierPairs) {
        if (shortCut & pair.shortCutBit) flags |= pair.fieldFlag;
    }
    return static_cast<std::uint16_t>(flags << 8 | key);
}

}  // namespace quorvel
