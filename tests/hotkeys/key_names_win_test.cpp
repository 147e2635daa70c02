#include <windows.h>

#include <gtest/gtest.h>

#include "common/text.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "round_trip_check.h"

namespace quorvel {
namespace {

constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;

TEST(WindowsKeyNames, ModifierWordsComeFromTheLayoutAndCtrlAltNRoundTrips) {
    WindowsKeyNames keyNames;
    const HotKeyText text(keyNames);
    const ModifierWords& words = text.ModifierNames();
    std::printf("Modifier names: Shift \"%s\", Ctrl \"%s\", Alt \"%s\", Win \"%s\"\n",
                ToUtf8(words.shift).c_str(), ToUtf8(words.ctrl).c_str(), ToUtf8(words.alt).c_str(),
                ToUtf8(words.win).c_str());
    EXPECT_FALSE(words.shift.empty());
    EXPECT_FALSE(words.ctrl.empty());
    EXPECT_FALSE(words.alt.empty());
    EXPECT_NE(text.EnglishLayout(), 0u);

    const std::u16string formatted = text.FormatHotKey(kCtrlAltN);
    std::printf("Ctrl+Alt+N reads \"%s\"\n", ToUtf8(formatted).c_str());
    EXPECT_EQ(formatted, words.ctrl + u"+" + words.alt + u"+N");
    EXPECT_EQ(text.ParseHotKey(formatted), kCtrlAltN);
    EXPECT_EQ(text.ParseHotKey(u"ctrl + alt + n"), kCtrlAltN);
}

class WindowsKeyNamesRoundTrip : public ::testing::TestWithParam<KeyNameLookup> {};

TEST_P(WindowsKeyNamesRoundTrip, FormatThenParseGivesBackEveryKeyWithAUniqueName) {
    WindowsKeyNames keyNames;
    const HotKeyText text(keyNames, GetParam());
    for (const HotKeyValue modifiers :
         {HotKeyValue{0x4000 + 0x8000}, HotKeyValue{0x2000 + 0x10000}}) {
        EXPECT_GT(testing::CheckFormatThenParse(text, modifiers, true), 60);
        EXPECT_GT(testing::CheckFormatThenParse(text, modifiers, false), 60);
    }
}

INSTANTIATE_TEST_SUITE_P(Lookups, WindowsKeyNamesRoundTrip,
                         ::testing::Values(KeyNameLookup::kAskSystem, KeyNameLookup::kNameTable));

TEST(WindowsKeyNames, NameTableAndAskingTheSystemAgreeOnEveryKeyText) {
    WindowsKeyNames keyNames;
    const HotKeyText asking(keyNames, KeyNameLookup::kAskSystem);
    const HotKeyText table(keyNames, KeyNameLookup::kNameTable);
    for (HotKeyValue vk = 8; vk <= 0xFF; ++vk) {
        const std::u16string formatted = asking.FormatHotKey(0x4000 + vk);
        EXPECT_EQ(table.ParseHotKey(formatted), asking.ParseHotKey(formatted)) << ToUtf8(formatted);
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
