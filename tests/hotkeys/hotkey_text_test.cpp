#include <gtest/gtest.h>

#include "fake_key_names.h"
#include "round_trip_check.h"
#include "common/text.h"
#include "hotkeys/hotkey_text.h"

namespace quorvel {
namespace {

using testing::FakeKeyNames;

constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;

class HotKeyTextTest : public ::testing::TestWithParam<KeyNameLookup> {
  protected:
    FakeKeyNames keyNames;
};

// Unit start and end.

TEST(HotKeyTextUnit, TakesTheLayoutsModifierNamesAndKeepsAnInstalledEnglishLayout) {
    FakeKeyNames keyNames;
    {
        const HotKeyText text(keyNames);
        EXPECT_EQ(text.ModifierNames().shift, u"Shift");
        EXPECT_EQ(text.ModifierNames().ctrl, u"Ctrl");
        EXPECT_EQ(text.ModifierNames().alt, u"Alt");
        EXPECT_EQ(text.ModifierNames().win, u"Win");
        EXPECT_EQ(text.EnglishLayout(), FakeKeyNames::kUsEnglish);
        EXPECT_FALSE(text.UnloadEnglishLayout());
    }
    EXPECT_TRUE(keyNames.Unloaded().empty());
}

TEST(HotKeyTextUnit, UnloadsTheEnglishLayoutItLoadedAtTheEnd) {
    FakeKeyNames keyNames;
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    keyNames.Install({FakeKeyNames::kGerman});
    {
        const HotKeyText text(keyNames);
        EXPECT_EQ(text.ModifierNames().shift, u"Umschalt");
        EXPECT_EQ(text.ModifierNames().ctrl, u"Strg");
        EXPECT_TRUE(text.UnloadEnglishLayout());
        EXPECT_TRUE(keyNames.Unloaded().empty());
    }
    EXPECT_EQ(keyNames.Unloaded(), std::vector<LayoutHandle>{FakeKeyNames::kUsEnglish});
}

TEST(HotKeyTextUnit, AltNamedInCapitalsOrNotAtAllMakesTheWinWordCapitals) {
    for (const std::u16string alt : {u"ALT", u""}) {
        FakeKeyNames keyNames;
        keyNames.RenameScanCode(0x38, alt);
        const HotKeyText text(keyNames);
        EXPECT_EQ(text.ModifierNames().win, u"WIN");
        EXPECT_EQ(text.FormatHotKey(0x10000 + 0x41), u"WIN+A");
    }
    FakeKeyNames keyNames;
    keyNames.RenameScanCode(0x38, u"AltGr");
    EXPECT_EQ(HotKeyText(keyNames).ModifierNames().win, u"Win");
}

// FormatHotKey.

TEST_P(HotKeyTextTest, FormatsModifiersInFixedOrderBeforeTheLayoutsKeyName) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.FormatHotKey(kCtrlAltN), u"Ctrl+Alt+N");
    EXPECT_EQ(text.FormatHotKey(0x2000 + 0x4000 + 0x8000 + 0x10000 + 0x70),
              u"Ctrl+Shift+Alt+Win+F1");
    EXPECT_EQ(text.FormatHotKey(0x6B), u"Num +");
    EXPECT_EQ(text.FormatHotKey(0), u"");
    // A key the layout does not name leaves the prefix alone.
    EXPECT_EQ(text.FormatHotKey(0x4000 + 0x0A), u"Ctrl+");
}

TEST_P(HotKeyTextTest, NavigationKeysAreNamedAsExtendedKeysNotAsTheKeypad) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.FormatHotKey(0x21), u"Page Up");
    EXPECT_EQ(text.FormatHotKey(0x69), u"Num 9");
    EXPECT_EQ(text.FormatHotKey(0x2D), u"Insert");
    EXPECT_EQ(text.FormatHotKey(0x2E), u"Delete");
    EXPECT_EQ(text.FormatHotKey(0x6E), u"Num Del");
}

TEST_P(HotKeyTextTest, MediaKeysGetTheirOwnNameWhenTheLayoutGivesLessThanTwoCharacters) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.FormatHotKey(0x4000 + 0xAD), u"Ctrl+Volume Mute");  // layout says "D"
    EXPECT_EQ(text.FormatHotKey(0xA6), u"Browser Back");               // layout says nothing
    EXPECT_EQ(text.FormatHotKey(0xAA), u"F14");                        // layout's name kept
    EXPECT_EQ(text.FormatHotKey(0x44), u"D");
}

TEST_P(HotKeyTextTest, EnglishNamesComeFromTheUsLayoutAndTheUsersLayoutStaysCurrent) {
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    const HotKeyText text(keyNames, GetParam());
    const HotKeyValue ctrlDelete = 0x4000 + 0x2E;
    EXPECT_EQ(text.FormatHotKey(ctrlDelete), u"Strg+Entf");
    EXPECT_EQ(text.FormatHotKey(ctrlDelete, false), u"Ctrl+Delete");
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Delete", false), ctrlDelete);
    EXPECT_EQ(text.ParseHotKey(u"Strg+Entf", true), ctrlDelete);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Entf", false), 0u);
    EXPECT_EQ(keyNames.GetKeyboardLayout(), FakeKeyNames::kGerman);
}

// ParseHotKey.

TEST_P(HotKeyTextTest, ReadsModifierWordsInAnyCaseAndWithBlanksOrLineBreaks) {
    const HotKeyText text(keyNames, GetParam());
    for (const std::u16string_view s :
         {u"Ctrl+Alt+N", u"ctrl+alt+n", u"  Ctrl +  Alt + N ", u"ALT+CTRL+N", u"Ctrl\r\nAlt\nN",
          u"Ctrl+Ctrl+Alt+N", u"Ctrl+Alt++N"}) {
        EXPECT_EQ(text.ParseHotKey(s), kCtrlAltN) << ToUtf8(s);
    }
    EXPECT_EQ(text.ParseHotKey(u"Win+Alt+Shift+Ctrl+A"),
              0x2000u + 0x4000 + 0x8000 + 0x10000 + 0x41);
    EXPECT_EQ(text.FormatHotKey(text.ParseHotKey(u"Win+Alt+Shift+Ctrl+A")),
              u"Ctrl+Shift+Alt+Win+A");
}

TEST_P(HotKeyTextTest, TextsThatAreNoHotkeyGiveZero) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.ParseHotKey(u"N"), 0x4Eu);
    for (const std::u16string_view s :
         {u"", u"Foo+N", u"Ctrl+Foo+N", u"Ctrl", u"Ctrl+", u"+", u"Ctrl+Alt", u"Ctrl+No Such Key",
          u"Ctrl+\t", u"Shift+Ctrl"}) {
        EXPECT_EQ(text.ParseHotKey(s), 0u) << ToUtf8(s);
    }
}

TEST_P(HotKeyTextTest, KeypadPlusIsReadDespiteThePlusInItsName) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Num +"), 0x4000u + 0x6B);
    EXPECT_EQ(text.ParseHotKey(text.FormatHotKey(0x8000 + 0x6B)), 0x8000u + 0x6B);
}

TEST_P(HotKeyTextTest, ModifierWordsAreRefusedAsKeyOnlyWithTheirExactCase) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+shift"), 0x4000u + 0x10);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Shift"), 0u);
}

TEST_P(HotKeyTextTest, SameNameForTwoKeysGivesTheLowerCode) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.ParseHotKey(u"Alt+ctrl"), 0x8000u + 0x11);  // not VK_LCONTROL, VK_RCONTROL
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+/"), 0x4000u + 0x6F);    // VK_DIVIDE before VK_OEM_2
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+\\"), 0x4000u + 0xDC);   // VK_OEM_5 before VK_OEM_102
}

TEST_P(HotKeyTextTest, KeyNamesAreFoundInAnyCaseAndALoneQuoteIsAKey) {
    const HotKeyText text(keyNames, GetParam());
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+page up"), 0x4000u + 0x21);
    EXPECT_EQ(text.ParseHotKey(u"Shift+CAPS LOCK"), 0x2000u + 0x14);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Volume Mute"), 0x4000u + 0xAD);
    EXPECT_EQ(text.ParseHotKey(u"Alt+'"), 0x8000u + 0xDE);
    EXPECT_EQ(text.ParseHotKey(u"Alt+\"A+B\""), 0u);
}

TEST_P(HotKeyTextTest, FormatThenParseGivesBackEveryKeyWithAUniqueName) {
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    const HotKeyText text(keyNames, GetParam());
    EXPECT_GT(testing::CheckFormatThenParse(text, 0x4000 + 0x2000, true), 100);
    EXPECT_GT(testing::CheckFormatThenParse(text, 0x10000, false), 100);
}

TEST(HotKeyTextNameTable, FollowsALayoutSwitchAndAsksTheSystemOncePerLayout) {
    FakeKeyNames keyNames;
    const HotKeyText text(keyNames, KeyNameLookup::kNameTable);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Delete"), 0x4000u + 0x2E);
    const int requestsForOneTable = keyNames.NameRequests();
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Insert"), 0x4000u + 0x2D);
    EXPECT_EQ(keyNames.NameRequests(), requestsForOneTable);

    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Delete"), 0u);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Entf"), 0x4000u + 0x2E);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+\u00DC"), 0x4000u + 0xBA);

    keyNames.ActivateKeyboardLayout(FakeKeyNames::kUsEnglish, 0);
    const int requestsBeforeReturn = keyNames.NameRequests();
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Delete"), 0x4000u + 0x2E);
    EXPECT_EQ(keyNames.NameRequests(), requestsBeforeReturn);
}

INSTANTIATE_TEST_SUITE_P(Lookups, HotKeyTextTest,
                         ::testing::Values(KeyNameLookup::kAskSystem, KeyNameLookup::kNameTable),
                         [](const ::testing::TestParamInfo<KeyNameLookup>& info) {
                             return info.param == KeyNameLookup::kAskSystem ? "AskSystem"
                                                                            : "NameTable";
                         });

}  // namespace
}  // namespace quorvel
