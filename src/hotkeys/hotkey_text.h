#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hotkeys/hotkey.h"
#include "hotkeys/key_names.h"

namespace quorvel {

// The modifier words of the text form, in the layout's own names where it has them.
struct ModifierWords {
    std::u16string shift = u"Shift";
    std::u16string ctrl = u"Ctrl";
    std::u16string alt = u"Alt";
    std::u16string win = u"Win";
};

// Conversions between hotkey values and their text form ("Ctrl+Alt+N"). One instance lives
// for the whole process: constructing it reads the layout's modifier names (keeping the
// English word for a modifier the layout leaves unnamed) and loads the US English layout,
// destroying it unloads that layout again if it was not installed. ParseHotKey finds a key by
// its name in a table of every key's name, made once per keyboard layout.
class HotKeyText {
  public:
    explicit HotKeyText(KeyNameProvider& keyNames);
    ~HotKeyText();
    HotKeyText(const HotKeyText&) = delete;
    HotKeyText& operator=(const HotKeyText&) = delete;

    // Modifier words in the order Ctrl, Shift, Alt, Win, each followed by "+", then the key's
    // name. With useLayoutNames false, the US English names and the English words.
    std::u16string FormatHotKey(HotKeyValue value, bool useLayoutNames = true) const;
    // The value of a text FormatHotKey would write (letter case and blanks aside); 0 when the
    // text is not a hotkey. A text that names modifiers never gives a value without them, and
    // a modifier's name is never read as the key. Where several keys share a name, the name
    // reads as the one the layout's keyboard sends (its scan code maps back to it).
    HotKeyValue ParseHotKey(std::u16string_view text, bool useLayoutNames = true) const;

    const ModifierWords& ModifierNames() const { return modifierNames_; }
    LayoutHandle EnglishLayout() const { return englishLayout_; }
    bool UnloadEnglishLayout() const { return unloadEnglishLayout_; }

  private:
    // What the name lookup needs to know of one virtual key.
    struct NamedKey {
        std::u16string name;
        std::uint32_t scanCode;
        bool sentByKeyboard;  // its scan code maps back to it
    };

    // The current layout for its own names, the English one for the English names.
    LayoutHandle NamesLayout(bool useLayoutNames) const;
    std::uint32_t ScanCode(std::uint8_t virtualKey, bool useLayoutNames) const;
    std::u16string KeyName(std::uint8_t virtualKey, bool useLayoutNames) const;
    std::u16string NameOfScanCode(std::uint8_t virtualKey, std::uint32_t scanCode,
                                  bool useLayoutNames) const;
    std::u16string NameFromRequest(std::int32_t request, bool useLayoutNames) const;
    std::uint16_t ParseModifiers(const std::vector<std::u16string_view>& parts) const;
    std::uint16_t ParseKey(std::u16string_view keyText, bool useLayoutNames) const;
    bool IsModifierWord(std::u16string_view text) const;
    std::uint16_t FindKeyByName(std::u16string_view name, bool useLayoutNames) const;
    std::uint16_t PickKey(const std::vector<NamedKey>& keys, std::u16string_view name) const;
    std::vector<NamedKey> NamedKeys(bool useLayoutNames) const;
    const std::vector<NamedKey>& NameTable(bool useLayoutNames) const;

    KeyNameProvider& keyNames_;
    ModifierWords modifierNames_;
    LayoutHandle englishLayout_ = 0;
    bool unloadEnglishLayout_ = false;
    // The virtual keys 8 to 255, per (current layout, useLayoutNames).
    mutable std::map<std::pair<LayoutHandle, bool>, std::vector<NamedKey>> nameTables_;
};

}  // namespace quorvel
