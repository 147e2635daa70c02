#include <gtest/gtest.h>

#include "common/text.h"
#include "fake_key_names.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/shortcut_text.h"

namespace quorvel {
namespace {

using testing::FakeKeyNames;

class ShortCutTextTest : public ::testing::Test {
  protected:
    std::uint16_t Read(std::u16string_view text) const { return TextToShortCut(text, keyNames); }

    FakeKeyNames keyNames;
};

TEST_F(ShortCutTextTest, ReadsModifierPrefixesInAnyCaseAndOrder) {
    for (const std::u16string_view s :
         {u"Ctrl+Alt+F1", u"ctrl+alt+f1", u"CTRL+ALT+F1", u"Alt+Ctrl+F1", u"^Alt+F1"}) {
        EXPECT_EQ(Read(s), 0x4000 + 0x8000 + 0x70) << ToUtf8(s);
    }
    EXPECT_EQ(Read(u"Shift+Ctrl+Alt+F24"), 0x2000 + 0x4000 + 0x8000 + 0x87);
    EXPECT_EQ(Read(u"Shift+Shift+A"), 0x2000 + 0x41);
}

// Its own texts for the editing and navigation keys, keypad digits as the digit keys, and the
// layout's names for the other keys.
TEST_F(ShortCutTextTest, UsesItsOwnTextsForEditingKeysAndTheLayoutsNamesForTheOthers) {
    EXPECT_EQ(Read(u"Ctrl+BkSp"), 0x4000 + 0x08);
    EXPECT_EQ(Read(u"Ctrl+Esc"), 0x4000 + 0x1B);
    EXPECT_EQ(Read(u"Alt+pgup"), 0x8000 + 0x21);
    EXPECT_EQ(Read(u"Shift+Ins"), 0x2000 + 0x2D);
    EXPECT_EQ(Read(u"Shift+Del"), 0x2000 + 0x2E);
    EXPECT_EQ(Read(u"Space"), 0x20);
    EXPECT_EQ(Read(u"Ctrl+5"), 0x4000 + 0x35);
    EXPECT_EQ(Read(u"Ctrl+Num +"), 0x4000 + 0x6B);
    EXPECT_EQ(Read(u"Alt+caps lock"), 0x8000 + 0x14);
    EXPECT_EQ(Read(u"Ctrl+Shift"), 0x4000 + 0x10);
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    EXPECT_EQ(Read(u"Ctrl+Strg"), 0x4000 + 0x11);
}

// Nor does the layout's name of a key with a text of its own ("Ctrl+Page Up" is what the hotkey
// texts write).
TEST_F(ShortCutTextTest, WinModifierUnknownKeysLayoutNamesAndBarePrefixesGiveNoHotKey) {
    for (const std::u16string_view s :
         {u"", u"Ctrl+", u"Ctrl+Alt+", u"^", u"Win+A", u"Ctrl+Win+A", u"Ctrl+Alt+Foo", u"Ctrl + A",
          u"Ctrl+Page Up", u"Ctrl+Insert", u"Ctrl+Backspace", u"Ctrl+Num 9"}) {
        EXPECT_EQ(Read(s), 0) << ToUtf8(s);
    }
}

// Edit puts a task's hotkey into the editor's field; OK writes the field back. A text the
// field cannot read would turn into an empty hotkey and the task would stop working.
TEST(ShortCutOfHotKeyText, ReadsTheTextsTheEditorWritesOnAnyLayoutAndShortcutTexts) {
    FakeKeyNames keyNames;
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kGerman, 0);
    const HotKeyText german(keyNames);
    const std::u16string written = german.FormatHotKey(0x4000 + 0x8000 + 0x4A);
    ASSERT_NE(written.find(u"Strg"), std::u16string::npos) << ToUtf8(written);
    EXPECT_EQ(TextToShortCut(written, keyNames), 0);
    EXPECT_EQ(ShortCutOfHotKeyText(written, german, keyNames), 0x4000 + 0x8000 + 0x4A);

    // Shortcut texts are read too, and the Win key is kept for its box.
    keyNames.ActivateKeyboardLayout(FakeKeyNames::kUsEnglish, 0);
    const HotKeyText english(keyNames);
    EXPECT_EQ(ShortCutOfHotKeyText(u"Ctrl+PgUp", english, keyNames), 0x4000 + 0x21);
    EXPECT_EQ(ShortCutOfHotKeyText(u"Win+A", english, keyNames), 0x10000 + 0x41);
    EXPECT_EQ(ShortCutOfHotKeyText(u"Ctrl+Win+A", english, keyNames), 0x10000 + 0x4000 + 0x41);
    EXPECT_EQ(ShortCutOfHotKeyText(u"", english, keyNames), 0);
}

}  // namespace
}  // namespace quorvel
