#include "hotkeys/shortcut_text.h"

#include <array>
#include <string>

#include "hotkeys/hotkey.h"

namespace quorvel {

namespace {

struct Prefix {
    std::u16string_view text;
    std::uint16_t bit;
};

constexpr std::array<Prefix, 4> kPrefixes = {{
    {u"Shift+", kShiftBit},
    {u"^", kCtrlBit},
    {u"Ctrl+", kCtrlBit},
    {u"Alt+", kAltBit},
}};

constexpr std::array<std::u16string_view, 9> kSpaceToDown = {
    u"Space", u"PgUp", u"PgDn", u"End", u"Home", u"Left", u"Up", u"Right", u"Down"};

std::u16string LayoutKeyText(std::uint16_t code, const KeyNameProvider& keyNames) {
    const std::uint32_t scanCode =
        keyNames.MapVirtualKeyEx(code, kMapVkToVsc, keyNames.GetKeyboardLayout());
    if (scanCode == 0) return {};
    return keyNames.GetKeyNameText(static_cast<std::int32_t>(scanCode << 16));
}

// The class library's own text for a key code; the layout's name where it has none.
std::u16string KeyText(std::uint16_t code, const KeyNameProvider& keyNames) {
    switch (code) {
        case 8:
            return u"BkSp";
        case 9:
            return u"Tab";
        case 13:
            return u"Enter";
        case 27:
            return u"Esc";
        case 45:
            return u"Ins";
        case 46:
            return u"Del";
        default:
            break;
    }
    if (code >= 32 && code <= 40) return std::u16string(kSpaceToDown[code - 32]);
    if ((code >= u'0' && code <= u'9') || (code >= u'A' && code <= u'Z'))
        return std::u16string(1, static_cast<char16_t>(code));
    // The numeric pad's digits read like the ordinary digits, which come first.
    if (code >= 96 && code <= 105)
        return std::u16string(1, static_cast<char16_t>(u'0' + code - 96));
    if (code >= 112 && code <= 135) {
        const std::string number = std::to_string(code - 111);
        return u"F" + std::u16string(number.begin(), number.end());
    }
    return LayoutKeyText(code, keyNames);
}

}  // namespace

std::uint16_t TextToShortCut(std::u16string_view text, const KeyNameProvider& keyNames) {
    std::uint16_t modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Prefix& prefix : kPrefixes) {
            if (text.size() >= prefix.text.size() &&
                keyNames.EqualsIgnoreCase(text.substr(0, prefix.text.size()), prefix.text)) {
                modifiers |= prefix.bit;
                text.remove_prefix(prefix.text.size());
                found = true;
            }
        }
    }
    if (text.empty()) return 0;
    for (std::uint16_t code = 8; code <= 0xFF; ++code) {
        if (keyNames.EqualsIgnoreCase(KeyText(code, keyNames), text))
            return static_cast<std::uint16_t>(modifiers | code);
    }
    return 0;
}

HotKeyValue ShortCutOfHotKeyText(std::u16string_view text, const HotKeyText& hotKeyText,
                                 const KeyNameProvider& keyNames) {
    const HotKeyValue value = hotKeyText.ParseHotKey(text, true);
    return value != 0 ? value : TextToShortCut(text, keyNames);
}

}  // namespace quorvel
