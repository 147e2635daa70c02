#include "hotkeys/hotkey_text.h"

#include <algorithm>

#include "common/text.h"

namespace quorvel {

namespace {

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

// Keys that the keyboard sends with the extended prefix and whose plain scan code is another
// key's: only the extended flag names them. Page Up to Down, Insert and Delete share their
// scan codes with the keypad, keypad "/" with "/", Num Lock with Pause, the right Ctrl and Alt
// with the left ones; the Windows and Application keys have no plain name.
bool IsExtendedKey(std::uint8_t virtualKey) {
    switch (virtualKey) {
        case 0x2D:  // VK_INSERT
        case 0x2E:  // VK_DELETE
        case 0x5B:  // VK_LWIN
        case 0x5C:  // VK_RWIN
        case 0x5D:  // VK_APPS
        case 0x6F:  // VK_DIVIDE
        case 0x90:  // VK_NUMLOCK
        case 0xA3:  // VK_RCONTROL
        case 0xA5:  // VK_RMENU
            return true;
        default:
            return virtualKey >= 0x21 && virtualKey <= 0x28;  // VK_PRIOR to VK_DOWN
    }
}

bool IsAsciiCapitalsOnly(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
}

std::u16string_view TrimEnd(std::u16string_view text) {
    while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
    return text;
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
    return TrimEnd(text);
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

// A hotkey text taken apart: the modifier words, the key's text, and whether the text names
// modifiers at all (a "+" before the key, even with an empty word before it, does).
struct TextParts {
    std::vector<std::u16string_view> modifiers;
    std::u16string_view key;
    bool namesModifiers = false;
};

TextParts SplitHotKeyText(std::u16string_view text) {
    TextParts parts;
    const std::u16string_view body = TrimEnd(text);
    // A key named "+" ends the text in a second "+" ("Strg++"), or is the text alone.
    if (body.ends_with(u'+')) {
        const std::u16string_view prefix = body.substr(0, body.size() - 1);
        const std::u16string_view beforeKey = TrimEnd(prefix);
        if (beforeKey.empty() || beforeKey.ends_with(u'+')) {
            parts.modifiers = SplitParts(prefix);
            parts.key = body.substr(prefix.size());
            parts.namesModifiers = !beforeKey.empty();
            return parts;
        }
    }
    parts.modifiers = SplitParts(text);
    if (parts.modifiers.empty()) return parts;
    parts.key = parts.modifiers.back();
    parts.modifiers.pop_back();
    const std::u16string_view beforeKey = text.substr(0, parts.key.data() - text.data());
    parts.namesModifiers = !parts.modifiers.empty() || beforeKey.find(u'+') != beforeKey.npos;
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

HotKeyText::HotKeyText(KeyNameProvider& keyNames) : keyNames_(keyNames) {
    modifierNames_.shift = FormatHotKey(kVkShift, true);
    modifierNames_.ctrl = FormatHotKey(kVkControl, true);
    modifierNames_.alt = FormatHotKey(kVkMenu, true);
    // A layout that writes "ALT" gets a matching "WIN".
    if (IsAsciiCapitalsOnly(modifierNames_.alt)) modifierNames_.win = u"WIN";
    // An empty word would write Alt+N as "+N", which reads as no modifier at all.
    for (auto word : {&ModifierWords::shift, &ModifierWords::ctrl, &ModifierWords::alt}) {
        if ((modifierNames_.*word).empty()) modifierNames_.*word = EnglishWords().*word;
    }

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

LayoutHandle HotKeyText::NamesLayout(bool useLayoutNames) const {
    return useLayoutNames ? keyNames_.GetKeyboardLayout() : englishLayout_;
}

std::uint32_t HotKeyText::ScanCode(std::uint8_t virtualKey, bool useLayoutNames) const {
    return keyNames_.MapVirtualKeyEx(virtualKey, kMapVkToVsc, NamesLayout(useLayoutNames));
}

std::u16string HotKeyText::KeyName(std::uint8_t virtualKey, bool useLayoutNames) const {
    return NameOfScanCode(virtualKey, ScanCode(virtualKey, useLayoutNames), useLayoutNames);
}

std::u16string HotKeyText::NameOfScanCode(std::uint8_t virtualKey, std::uint32_t scanCode,
                                          bool useLayoutNames) const {
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
    const TextParts parts = SplitHotKeyText(text);
    const std::uint16_t modifiers = ParseModifiers(parts.modifiers);
    // Registered without its modifiers, the key would be taken from every other program.
    if (modifiers == 0 && parts.namesModifiers) return 0;
    const std::uint16_t key = ParseKey(Trim(parts.key), useLayoutNames);
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
    for (const std::u16string_view untrimmed : parts) {
        const std::u16string_view part = Trim(untrimmed);
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
    // Formatted, a modifier key as the key would read as a modifier without a key.
    if (IsModifierWord(keyText)) return 0;
    return FindKeyByName(keyText, useLayoutNames);
}

bool HotKeyText::IsModifierWord(std::u16string_view text) const {
    for (const ModifierWords* words : {&EnglishWords(), &modifierNames_}) {
        for (const std::u16string* word : {&words->ctrl, &words->alt, &words->shift, &words->win}) {
            if (keyNames_.EqualsIgnoreCase(text, *word)) return true;
        }
    }
    return false;
}

std::uint16_t HotKeyText::FindKeyByName(std::u16string_view name, bool useLayoutNames) const {
    return PickKey(NameTable(useLayoutNames), name);
}

std::uint16_t HotKeyText::PickKey(const std::vector<NamedKey>& keys,
                                  std::u16string_view name) const {
    // Of the keys with this name: one the keyboard sends, then the lowest scan code (the main
    // keys come before later additions such as a keypad "="), then the lowest virtual key.
    const NamedKey* best = nullptr;
    const auto rank = [](const NamedKey& key) {
        return std::pair(!key.sentByKeyboard, key.scanCode);
    };
    for (const NamedKey& key : keys) {
        if (!keyNames_.EqualsIgnoreCase(key.name, name)) continue;
        if (best == nullptr || rank(key) < rank(*best)) best = &key;
    }
    return best == nullptr ? 0 : static_cast<std::uint16_t>(kFirstNamedKey + (best - keys.data()));
}

std::vector<HotKeyText::NamedKey> HotKeyText::NamedKeys(bool useLayoutNames) const {
    std::vector<NamedKey> keys;
    for (int vk = kFirstNamedKey; vk <= kLastNamedKey; ++vk) {
        const auto virtualKey = static_cast<std::uint8_t>(vk);
        const std::uint32_t scanCode = ScanCode(virtualKey, useLayoutNames);
        const std::uint32_t keySent =
            scanCode == 0
                ? 0
                : keyNames_.MapVirtualKeyEx(scanCode, kMapVscToVk, NamesLayout(useLayoutNames));
        keys.push_back({NameOfScanCode(virtualKey, scanCode, useLayoutNames), scanCode,
                        keySent == virtualKey});
    }
    return keys;
}

const std::vector<HotKeyText::NamedKey>& HotKeyText::NameTable(bool useLayoutNames) const {
    // Names depend on the layout current at the call, so a switch finds (or builds) its own table.
    std::vector<NamedKey>& keys = nameTables_[{keyNames_.GetKeyboardLayout(), useLayoutNames}];
    if (keys.empty()) keys = NamedKeys(useLayoutNames);
    return keys;
}

}  // namespace quorvel
