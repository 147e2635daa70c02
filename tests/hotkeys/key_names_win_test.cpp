#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "common/text.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "round_trip_check.h"

namespace quorvel {
namespace {

constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;

// The keys a PC keyboard sends with the extended prefix: keypad Enter and "/", the right Ctrl
// and Alt, Print Screen, the navigation block, the Windows and Application keys.
constexpr UINT kExtendedScanCodes[] = {0x1C, 0x1D, 0x35, 0x37, 0x38, 0x47, 0x48, 0x49, 0x4B,
                                       0x4D, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x5B, 0x5C, 0x5D};

// Every key that a 105-key keyboard gives the editor's hotkey field on the current layout:
// what its scan codes, plain and extended, send, less the modifiers the field takes as such.
std::set<std::uint8_t> KeysTheKeyboardSends(const WindowsKeyNames& keyNames) {
    std::set<std::uint8_t> keys = testing::KeysOfPlainScanCodes(keyNames, /*isoKeyboard=*/true);
    for (const UINT scanCode : kExtendedScanCodes) {
        const UINT key = ::MapVirtualKeyW(0xE000 | scanCode, MAPVK_VSC_TO_VK_EX);
        if (key != 0 && !testing::IsModifierKey(key)) keys.insert(static_cast<std::uint8_t>(key));
    }
    return keys;
}

TEST(WindowsKeyNames, ModifierWordsComeFromTheLayoutAndCtrlAltNRoundTrips) {
    WindowsKeyNames keyNames;
    const HotKeyText text(keyNames);
    const ModifierWords& words = text.ModifierNames();
    EXPECT_FALSE(words.shift.empty());
    EXPECT_FALSE(words.ctrl.empty());
    EXPECT_FALSE(words.alt.empty());
    EXPECT_NE(text.EnglishLayout(), 0u);

    const std::u16string formatted = text.FormatHotKey(kCtrlAltN);
    EXPECT_EQ(formatted, words.ctrl + u"+" + words.alt + u"+N") << ToUtf8(formatted);
    EXPECT_EQ(text.ParseHotKey(formatted), kCtrlAltN);
    EXPECT_EQ(text.ParseHotKey(u"ctrl + alt + n"), kCtrlAltN);
}

TEST(WindowsKeyNamesRoundTrip, EveryKeyOfTheKeyboardReadsBackWithEveryModifierSet) {
    WindowsKeyNames keyNames;
    const HotKeyText text(keyNames);
    const std::set<std::uint8_t> keys = KeysTheKeyboardSends(keyNames);
    EXPECT_GT(keys.size(), 80u);
    testing::ExpectEveryKeyReadsBack(text, keys);
    // Keys no keyboard sends may read as the key that has their name.
    for (const HotKeyValue modifiers :
         {HotKeyValue{0x4000 + 0x8000}, HotKeyValue{0x2000 + 0x10000}}) {
        EXPECT_GT(testing::CheckFormatThenParse(text, modifiers, true), 60);
        EXPECT_GT(testing::CheckFormatThenParse(text, modifiers, false), 60);
    }
}

TEST(WindowsKeyNames, ComparesIgnoringCaseBeyondAscii) {
    const WindowsKeyNames keyNames;
    EXPECT_TRUE(keyNames.EqualsIgnoreCase(u"page up", u"Page Up"));
    EXPECT_TRUE(keyNames.EqualsIgnoreCase(u"\u00fc", u"\u00dc"));
    EXPECT_FALSE(keyNames.EqualsIgnoreCase(u"Num -", u"Num "));
    EXPECT_FALSE(keyNames.EqualsIgnoreCase(u"co-op", u"coop"));
}

}  // namespace
}  // namespace quorvel
