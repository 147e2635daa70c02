#include <gtest/gtest.h>

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"

namespace quorvel {
namespace {

TEST(Utf8, RoundTripsSurrogatePairsAndAccents) {
    const std::u16string text = u"Zip \u00e9\u20ac \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"\u00e9"), "\xC3\xA9");
}

TEST(ParseInt32, AcceptsDecimalWithSignOnlyWithinRange) {
    EXPECT_EQ(ParseInt32(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt32(u"+2147483647"), INT32_MAX);
    EXPECT_FALSE(ParseInt32(u"2147483648"));
    EXPECT_FALSE(ParseInt32(u""));
    EXPECT_FALSE(ParseInt32(u"-"));
    EXPECT_FALSE(ParseInt32(u"1a"));
    EXPECT_FALSE(ParseInt32(u" 1"));
}

TEST(AccessKeyOf, TakesTheLetterAfterASingleAmpersandInCapitals) {
    EXPECT_EQ(AccessKeyOf(u"Move do&wn"), u'W');
    EXPECT_EQ(AccessKeyOf(u"Delete All"), 0);
    EXPECT_EQ(AccessKeyOf(u"Fish && &Chips"), u'C');
    EXPECT_EQ(AccessKeyOf(u"Fish &&"), 0);
    EXPECT_EQ(AccessKeyOf(u"Trailing &"), 0);
}

TEST(VisibleText, WritesControlCharactersOutAndCutsWithoutPartingASurrogatePair) {
    EXPECT_EQ(VisibleText(u"C:\\Zip \u00e9.exe", 20), u"C:\\Zip \u00e9.exe");
    EXPECT_EQ(VisibleText(std::u16string(u"a\0b\tc\r\n\x1B\x7F\x85\u00A0", 11), 20),
              u"a\\x00b\\x09c\\x0D\\x0A\\x1B\\x7F\\x85\u00A0");
    EXPECT_EQ(VisibleText(u"abcdef", 4), u"abcd...");
    EXPECT_EQ(VisibleText(u"\n\n\n", 2), u"\\x0A\\x0A...");
    EXPECT_EQ(VisibleText(u"ab\U0001F600", 3), u"ab...");
    EXPECT_EQ(LeadingText(u"ab\U0001F600", 4), u"ab\U0001F600");
}

TEST(InvalidValueTexts, QuoteTheValueVisibleAndShort) {
    EXPECT_EQ(InvalidIntegerText(u"12px"), u"'12px' is not a valid integer value");
    EXPECT_EQ(InvalidBooleanText(u"1\r2"), u"'1\\x0D2' is not a valid boolean value");
    EXPECT_EQ(InvalidIntegerText(std::u16string(50'000, u'9')),
              u"'" + std::u16string(40, u'9') + u"...' is not a valid integer value");
}

TEST(ErrorBoxText, AddsFullStopOnlyAfterCharactersSortingAfterDot) {
    EXPECT_EQ(ErrorBoxText(u"Invalid filename"), u"Invalid filename.");
    EXPECT_EQ(ErrorBoxText(u"Done."), u"Done.");
    EXPECT_EQ(ErrorBoxText(u"(5)"), u"(5)");
    EXPECT_EQ(ErrorBoxText(u"List index out of bounds (5)"), u"List index out of bounds (5)");
}

TEST(IoErrorText, MapsSystemCodesToRuntimeTexts) {
    EXPECT_EQ(IoErrorText(3), u"Invalid filename");
    EXPECT_EQ(IoErrorText(101), u"Disk full");
    EXPECT_EQ(IoErrorText(32), u"The file is in use by another program");
    EXPECT_EQ(IoErrorText(1117), u"I/O error 1117");
}

TEST(Paths, DataFilesLiveInDataBesideTheExecutable) {
    EXPECT_EQ(DataFilePath(u"C:\\Tools\\Quorvel.exe", u"actions.cfg"),
              u"C:\\Tools\\data\\actions.cfg");
    EXPECT_EQ(ApplicationTitle(u"C:\\My.Tools\\Quorvel.v2.exe"), u"Quorvel");
}

}  // namespace
}  // namespace quorvel
