#include <gtest/gtest.h>

#include "fake_key_names.h"
#include "round_trip_check.h"
#include "common/text.h"
#include "hotkeys/hotkey_text.h"

namespace quorvel {
namespace {

using testing::FakeKeyNames;

constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;

class HotKeyTextTest : public ::testing::Test {
  protected:
    FakeKeyNames keyNames;
};

// Unit start and end.

TEST(HotKeyTextUnit, TakesTheLayoutsModifierNamesAndUnloadsOnlyAnEnglishLayoutItLoaded) {
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
    for (const auto& [alt, win] : {std::pair{u"ALT", u"WIN"}, {u"", u"WIN"}, {u"AltGr", u"Win"}}) {
        FakeKeyNames keyNames;
        keyNames.RenameScanCode(0x38, alt);
        const HotKeyText text(keyNames);
        EXPECT_EQ(text.ModifierNames().win, win);
        EXPECT_EQ(text.FormatHotKey(0x10000 + 0x41), win + std::u16string(u"+A"));
    }
    // A modifier the layout leaves unnamed keeps its English word, so its texts read back.
    FakeKeyNames unnamed;
    unnamed.RenameScanCode(0x38, u"");
    unnamed.RenameScanCode(0x1D, u"");
    const HotKeyText text(unnamed);
    EXPECT_EQ(text.FormatHotKey(kCtrlAltN), u"Ctrl+Alt+N");
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Alt+N"), kCtrlAltN);
}

// FormatHotKey.

// Navigation keys are named as extended keys, not as the keypad; a media key gets its own name
// when the layout gives it less than two characters.
TEST_F(HotKeyTextTest, FormatsModifiersInFixedOrderBeforeTheLayoutsKeyName) {
    const HotKeyText text(keyNames);
    EXPECT_EQ(text.FormatHotKey(kCtrlAltN), u"Ctrl+Alt+N");
    EXPECT_EQ(text.FormatHotKey(0x2000 + 0x4000 + 0x8000 + 0x10000 + 0x70),
              u"Ctrl+Shift+Alt+Win+F1");
    EXPECT_EQ(text.FormatHotKey(0x6B), u"Num +");
    EXPECT_EQ(text.FormatHotKey(0), u"");
    // A key the layout does not name leaves the prefix alone.
    EXPECT_EQ(text.FormatHotKey(0x4000 + 0x0A), u"Ctrl+");
    EXPECT_EQ(text.FormatHotKey(0x21), u"Page Up");
    EXPECT_EQ(text.FormatHotKey(0x69), u"Num 9");
    EXPECT_EQ(text.FormatHotKey(0x2D), u"Insert");
    EXPECT_EQ(text.FormatHotKey(0x2E), u"Delete");
    EXPECT_EQ(text.FormatHotKey(0x6E), u"Num Del");
    // Extended keys that share their plain scan code with another key, or have no plain name.
    EXPECT_EQ(text.FormatHotKey(0x6F), u"Num /");
    EXPECT_EQ(text.FormatHotKey(0xBF), u"/");
    EXPECT_EQ(text.FormatHotKey(0x90), u"Num Lock");
    EXPECT_EQ(text.FormatHotKey(0x13), u"Pause");
    EXPECT_EQ(text.FormatHotKey(0x5B), u"Left Windows");
    EXPECT_EQ(text.FormatHotKey(0x5D), u"Application");
    EXPECT_EQ(text.FormatHotKey(0x4000 + 0xAD), u"Ctrl+Volume Mute");  // layout says "D"
    EXPECT_EQ(text.FormatHotKey(0xA6), u"Browser Back");               // layout says nothing
    EXPECT_EQ(text.FormatHotKey(0xAA), u"F14");                        // layout's name kept
    EXPECT_EQ(text.FormatHotKey(0x44), u"D");
}

TEST_F(HotKeyTextTest, EnglishNamesComeFromTheUsLayoutAndTheUsersLayoutStaysCurrent) {
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    const HotKeyText text(keyNames);
    const HotKeyValue ctrlDelete = 0x4000 + 0x2E;
    EXPECT_EQ(text.FormatHotKey(ctrlDelete), u"Strg+Entf");
    EXPECT_EQ(text.FormatHotKey(ctrlDelete, false), u"Ctrl+Delete");
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Delete", false), ctrlDelete);
    EXPECT_EQ(text.ParseHotKey(u"Strg+Entf", true), ctrlDelete);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Entf", false), 0u);
    EXPECT_EQ(keyNames.GetKeyboardLayout(), FakeKeyNames::kGerman);
}

// ParseHotKey.

TEST_F(HotKeyTextTest, ReadsModifierWordsAndKeyNamesInAnyCaseAndWithBlanksOrLineBreaks) {
    const HotKeyText text(keyNames);
    for (const std::u16string_view s :
         {u"Ctrl+Alt+N", u"ctrl+alt+n", u"  Ctrl +  Alt + N ", u"ALT+CTRL+N", u"Ctrl\r\nAlt\nN",
          u"Ctrl+Ctrl+Alt+N", u"Ctrl+Alt++N"}) {
        EXPECT_EQ(text.ParseHotKey(s), kCtrlAltN) << ToUtf8(s);
    }
    EXPECT_EQ(text.ParseHotKey(u"Win+Alt+Shift+Ctrl+A"),
              0x2000u + 0x4000 + 0x8000 + 0x10000 + 0x41);
    EXPECT_EQ(text.FormatHotKey(text.ParseHotKey(u"Win+Alt+Shift+Ctrl+A")),
              u"Ctrl+Shift+Alt+Win+A");
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+page up"), 0x4000u + 0x21);
    EXPECT_EQ(text.ParseHotKey(u"Shift+CAPS LOCK"), 0x2000u + 0x14);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Volume Mute"), 0x4000u + 0xAD);
    // A lone quote is a key.
    EXPECT_EQ(text.ParseHotKey(u"Alt+'"), 0x8000u + 0xDE);
    EXPECT_EQ(text.ParseHotKey(u"Alt+\"A+B\""), 0u);
}

TEST_F(HotKeyTextTest, TextsThatAreNoHotKeyGiveZero) {
    const HotKeyText text(keyNames);
    EXPECT_EQ(text.ParseHotKey(u"N"), 0x4Eu);
    EXPECT_EQ(text.ParseHotKey(u"\r\n N"), 0x4Eu);
    // A text that names modifiers never gives the bare key: registered, it would take the
    // key from every program.
    for (const std::u16string_view s :
         {u"", u"Foo+N", u"Ctrl+Foo+N", u"Ctrl", u"Ctrl+", u"+", u"Ctrl+Alt", u"Ctrl+No Such Key",
          u"Ctrl+\t", u"Shift+Ctrl", u"+N", u" + N", u"++N", u"\n+N", u"Foo++"}) {
        EXPECT_EQ(text.ParseHotKey(s), 0u) << ToUtf8(s);
    }
}

TEST_F(HotKeyTextTest, AKeyNamedPlusIsReadAtTheEndAndAModifierWordNeverAsTheKey) {
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    const HotKeyText text(keyNames);
    EXPECT_EQ(text.FormatHotKey(0x4000 + 0xBB), u"Strg++");
    for (const std::u16string_view s : {u"Strg++", u"strg + + ", u"Ctrl++"})
        EXPECT_EQ(text.ParseHotKey(s), 0x4000u + 0xBB) << ToUtf8(s);
    EXPECT_EQ(text.ParseHotKey(u"Strg+Alt++"), 0x4000u + 0x8000 + 0xBB);
    EXPECT_EQ(text.ParseHotKey(u"+"), 0xBBu);
    EXPECT_EQ(text.ParseHotKey(u"++"), 0u);
    EXPECT_EQ(text.ParseHotKey(u"Strg+Num +"), 0x4000u + 0x6B);
    for (const std::u16string_view s : {u"Strg+Umschalt", u"Alt+ctrl", u"Strg+SHIFT", u"win"})
        EXPECT_EQ(text.ParseHotKey(s), 0u) << ToUtf8(s);
}

TEST_F(HotKeyTextTest, ANameSharedByKeysReadsAsTheKeyTheKeyboardSends) {
    keyNames.MapKey(0x0A, 0x0D);  // a reserved key on the "=" key's scan code
    keyNames.MapKey(0x92, 0x64);  // a keypad "=", as some keyboards have, on a later scan code
    keyNames.RenameScanCode(0x64, u"=");
    const HotKeyText text(keyNames);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+="), 0x4000u + 0xBB);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+/"), 0x4000u + 0xBF);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Num /"), 0x4000u + 0x6F);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+Pause"), 0x4000u + 0x13);
    EXPECT_EQ(text.ParseHotKey(u"Ctrl+\\"), 0x4000u + 0xDC);  // VK_OEM_5 before VK_OEM_102
}

TEST_F(HotKeyTextTest, EveryKeyOfTheKeyboardReadsBackWithEveryModifierSet) {
    for (const LayoutHandle layout : {FakeKeyNames::kUsEnglish, FakeKeyNames::kGerman}) {
        keyNames.ActivateKeyboardLayout(layout, 0);
        const HotKeyText text(keyNames);
        const bool isoKeyboard = layout == FakeKeyNames::kGerman;
        testing::ExpectEveryKeyReadsBack(text,
                                         testing::KeysOfPlainScanCodes(keyNames, isoKeyboard));
        EXPECT_GT(testing::CheckFormatThenParse(text, 0x4000 + 0x2000, true), 100);
        EXPECT_GT(testing::CheckFormatThenParse(text, 0x10000, false), 100);
    }
}

TEST(HotKeyTextNameTable, FollowsALayoutSwitchAndAsksTheSystemOncePerLayout) {
    FakeKeyNames keyNames;
    const HotKeyText text(keyNames);
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

}  // namespace
}  // namespace quorvel
