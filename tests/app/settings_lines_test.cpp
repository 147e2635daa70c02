#include "app/settings_lines.h"

#include <gtest/gtest.h>

#include "error_text.h"

namespace quorvel {
namespace {

SettingsLines Split(std::string_view text) {
    return SplitLines({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(SettingsLinesTest, AnyLineBreakEndsALineAndBytesAboveAsciiReadAsTheirOwnCode) {
    EXPECT_EQ(Split("a\r\nb\rc\nd"), (SettingsLines{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(Split("a\r\n\r\nb\r\n"), (SettingsLines{u"a", u"", u"b"}));
    EXPECT_EQ(Split("\n\r"), (SettingsLines{u"", u""}));
    EXPECT_TRUE(Split("").empty());
    EXPECT_EQ(Split("\xE9t\xE9"), (SettingsLines{u"\u00E9t\u00E9"}));
}

TEST(SettingsLinesTest, JoinEndsEveryLineWithCrLfAndReadsBack) {
    const SettingsLines lines{u"-1", u"0", u"27"};
    const auto bytes = JoinLines(lines);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "-1\r\n0\r\n27\r\n");
    EXPECT_EQ(SplitLines(bytes), lines);
    EXPECT_TRUE(JoinLines({}).empty());
}

TEST(SettingsLinesTest, MissingLineGivesTheListIndexError) {
    const SettingsLines lines{u"1", u"2"};
    EXPECT_EQ(LineAt(lines, 1), u"2");
    EXPECT_EQ(ErrorTextOf([&] { LineAt(lines, 2); }), u"List index out of bounds (2)");
}

// True is written as -1, and any number other than zero reads as true.
TEST(SettingsLinesTest, BooleanLineTakesNumbersAndWordsInAnyCaseAndRejectsEverythingElse) {
    EXPECT_EQ(BooleanLineText(true), u"-1");
    EXPECT_EQ(BooleanLineText(false), u"0");
    for (const std::u16string_view text :
         {u"-1", u"-2", u"7", u"1.0", u"2.5", u"+.5", u"99999999999", u"True", u"tRUE", u"TRUE"})
        EXPECT_TRUE(BooleanLine(text)) << ToUtf8(text);
    for (const std::u16string_view text : {u"0", u"-0", u"0.0", u"-00.", u"FALSE", u"false"})
        EXPECT_FALSE(BooleanLine(text)) << ToUtf8(text);
    for (const std::u16string text :
         {u"", u"x", u"yes", u" 1", u"1.0.0", u".", u"-", u"1e3", u"0x1", u"truee"}) {
        EXPECT_EQ(ErrorTextOf([&] { BooleanLine(text); }),
                  u"'" + text + u"' is not a valid boolean value");
    }
}

TEST(SettingsLinesTest, IntegerLineIsASigned32BitDecimal) {
    EXPECT_EQ(IntegerLine(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(IntegerLine(u"+609"), 609);
    for (const std::u16string text : {u"", u"2147483648", u"12px", u"0x10", u" 5"}) {
        EXPECT_EQ(ErrorTextOf([&] { IntegerLine(text); }),
                  u"'" + text + u"' is not a valid integer value");
    }
}

}  // namespace
}  // namespace quorvel
