#include "hotkeys/hotkey_text.h"

#include <algorithm>

#include "common/text.h"

namespace quorvel {

namespace {

constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;
// The name lookup tries the virtual keys from VK_BACK up.
constexpr int kFirstNamedKey = 0x08;
constexpr int kLastNamedKey = 0xFF;
constexpr int kLayoutListSize = 100;
constexpr std::int32_t kExtendedKeyFlag = 1 << 24;

// A function, so that a HotKeyText made during static initialisation finds the words made.
const ModifierWords& EnglishWords() {
    static const ModifierWords words;
    return words;
}

// Page Up to Down and Insert, Delete share their scan codes with the keypad; only the
// extended flag names the navigation key.
bool IsExtendedKey(std::uint8_t virtualKey) {
    return (virtualKey >= 0x21 && virtualKey <= 0x28) || virtualKey == 0x2D || virtualKey == 0x2E;
}

bool IsAsciiCapitalsOnly(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
    return text;
}

bool IsPartSeparator(char16_t c) { return c == u'+' || c == u'\r' || c == u'\n'; }

bool IsLeadingBlank(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }

// Parts between "+", CR and LF, where quotes (kept in the part) protect separators; leading
// blanks skipped, empty parts dropped.
std::vector<std::u16string_view> SplitParts(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsLeadingBlank(text[i])) ++i;
        const std::size_t start = i;
        char16_t quote = 0;
        for (; i < text.size() && (quote != 0 || !IsPartSeparator(text[i])); ++i) {
            if (quote == 0 && (text[i] == u'\'' || text[i] == u'"')) {
                quote = text[i];
            } else if (text[i] == quote) {
                quote = 0;
            }
        }
        if (i > start) parts.push_back(text.substr(start, i - start));
        ++i;
    }
    return parts;
}

// Makes the English layout current for one name request when it is not already.
class EnglishLayoutScope {
  public:
    EnglishLayoutScope(KeyNameProvider& keyNames, LayoutHandle english)
        : keyNames_(keyNames),
          previous_(keyNames.GetKeyboardLayout()),
          switched_(previous_ != english) {
        if (switched_) keyNames_.ActivateKeyboardLayout(english, 0);
    }
    ~EnglishLayoutScope() {
        if (switched_) keyNames_.ActivateKeyboardLayout(previous_, 0);
    }
    EnglishLayoutScope(const EnglishLayoutScope&) = delete;
    EnglishLayoutScope& operator=(const EnglishLayoutScope&) = delete;

  private:
    KeyNameProvider& keyNames_;
    LayoutHandle previous_;
    bool switched_;
};

}  // namespace

HotKeyText::HotKeyText(KeyNameProvider& keyNames, KeyNameLookup lookup)
    : keyNames_(keyNames), lookup_(lookup) {
    modifierNames_.shift = FormatHotKey(kVkShift, true);
    modifierNames_.ctrl = FormatHotKey(kVkControl, true);
    modifierNames_.alt = FormatHotKey(kVkMenu, true);
    // A layout that writes "ALT" gets a matching "WIN".
    if (IsAsciiCapitalsOnly(modifierNames_.alt)) modifierNames_.win = u"WIN";

    const std::vector<LayoutHandle> installed = keyNames_.GetKeyboardLayoutList(kLayoutListSize);
    englishLayout_ = keyNames_.LoadKeyboardLayout(u"00000409", kLoadNoTellShell);
    unloadEnglishLayout_ =
        std::find(installed.begin(), installed.end(), englishLayout_) == installed.end();
}

HotKeyText::~HotKeyText() {
    if (unloadEnglishLayout_) keyNames_.UnloadKeyboardLayout(englishLayout_);
}

std::u16string HotKeyText::FormatHotKey(HotKeyValue value, bool useLayoutNames) const {
    const ModifierWords& words = useLayoutNames ? modifierNames_ : EnglishWords();
    std::u16string text;
    if (value & kCtrlBit) text += words.ctrl + u'+';
    if (value & kShiftBit) text += words.shift + u'+';
    if (value & kAltBit) text += words.alt + u'+';
    if (value & kWinBit) text += words.win + u'+';
    return text + KeyName(static_cast<std::uint8_t>(value & 0xFF), useLayoutNames);
}

std::u16string HotKeyText::KeyName(std::uint8_t virtualKey, bool useLayoutNames) const {
    const std::uint32_t scanCode = useLayoutNames
                                       ? keyNames_.MapVirtualKey(virtualKey)
                                       : keyNames_.MapVirtualKeyEx(virtualKey, englishLayout_);
    const auto request = static_cast<std::int32_t>(scanCode << 16) |
                         (IsExtendedKey(virtualKey) ? kExtendedKeyFlag : 0);
    std::u16string name =
        request == 0 ? std::u16string() : NameFromRequest(request, useLayoutNames);
    // Layouts give media keys no name or the one letter that shares their scan code.
    if (name.size() < 2 && IsMediaKey(virtualKey)) name = MediaKeyName(virtualKey);
    return name;
}

std::u16string HotKeyText::NameFromRequest(std::int32_t request, bool useLayoutNames) const {
    if (useLayoutNames) return keyNames_.GetKeyNameText(request);
    // The name request has no layout argument: it always reads the current layout.
    const EnglishLayoutScope english(keyNames_, englishLayout_);
    return keyNames_.GetKeyNameText(request);
}

HotKeyValue HotKeyText::ParseHotKey(std::u16string_view text, bool useLayoutNames) const {
    const std::vector<std::u16string_view> parts = SplitParts(text);
    const std::uint16_t modifiers = ParseModifiers(parts);
    if (modifiers == 0 && parts.size() >= 2) return 0;
    const std::uint16_t key = parts.empty() ? 0 : ParseKey(Trim(parts.back()), useLayoutNames);
    return key == 0 ? 0 : MakeHotKey(modifiers, key);
}

std::uint16_t HotKeyText::ParseModifiers(const std::vector<std::u16string_view>& parts) const {
    const auto matches = [this](std::u16string_view part, std::u16string_view english,
                                std::u16string_view layoutWord) {
        return keyNames_.EqualsIgnoreCase(part, english) ||
               (!layoutWord.empty() && keyNames_.EqualsIgnoreCase(part, layoutWord));
    };
    const ModifierWords& english = EnglishWords();
    std::uint16_t modifiers = 0;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::u16string_view part = Trim(parts[i]);
        if (matches(part, english.shift, modifierNames_.shift)) {
            modifiers |= kModShift;
        } else if (matches(part, english.ctrl, modifierNames_.ctrl)) {
            modifiers |= kModControl;
        } else if (matches(part, english.alt, modifierNames_.alt)) {
            modifiers |= kModAlt;
        } else if (matches(part, english.win, modifierNames_.win)) {
            modifiers |= kModWin;
        } else {
            return 0;
        }
    }
    return modifiers;
}

std::uint16_t HotKeyText::ParseKey(std::u16string_view keyText, bool useLayoutNames) const {
    // A key without a name is no key, though nameless keys would "match" an empty text.
    if (keyText.empty()) return 0;
    if (keyText.size() == 1) {
        const char16_t c = AsciiUpper(keyText[0]);
        if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) return c;
        return FindKeyByName(keyText, useLayoutNames);
    }
    // Splitting at "+" has cut the keypad plus key's name apart.
    if (keyText == u"Num") return FindKeyByName(u"Num +", useLayoutNames);
    if (IsModifierWord(keyText)) return 0;
    return FindKeyByName(keyText, useLayoutNames);
}

bool HotKeyText::IsModifierWord(std::u16string_view text) const {
    for (const ModifierWords* words : {&EnglishWords(), &modifierNames_}) {
        if (text == words->ctrl || text == words->alt || text == words->shift || text == words->win)
            return true;
    }
    return false;
}

std::uint16_t HotKeyText::FindKeyByName(std::u16string_view name, bool useLayoutNames) const {
    if (lookup_ == KeyNameLookup::kAskSystem) {
        for (int vk = kFirstNamedKey; vk <= kLastNamedKey; ++vk) {
            if (keyNames_.EqualsIgnoreCase(KeyName(static_cast<std::uint8_t>(vk), useLayoutNames),
                                           name))
                return static_cast<std::uint16_t>(vk);
        }
        return 0;
    }
    const std::vector<std::u16string>& names = NameTable(useLayoutNames);
    const auto match = std::find_if(names.begin(), names.end(), [&](const std::u16string& keyName) {
        return keyNames_.EqualsIgnoreCase(keyName, name);
    });
    return match == names.end()
               ? 0
               : static_cast<std::uint16_t>(kFirstNamedKey + (match - names.begin()));
}

const std::vector<std::u16string>& HotKeyText::NameTable(bool useLayoutNames) const {
    // Names depend on the layout current at the call, so a switch finds (or builds) its own table.
    std::vector<std::u16string>& names =
        nameTables_[{keyNames_.GetKeyboardLayout(), useLayoutNames}];
    if (names.empty()) {
        for (int vk = kFirstNamedKey; vk <= kLastNamedKey; ++vk)
            names.push_back(KeyName(static_cast<std::uint8_t>(vk), useLayoutNames));
    }
    return names;
}

}  // namespace quorvel
