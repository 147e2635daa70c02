#include "app/registry.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel {
namespace {

std::u16string TextOf(std::vector<std::uint8_t> data) { return RegStringText(data); }

TEST(RegStringTextTest, EndsAtTheFirstZeroOrTheEndOfTheData) {
    EXPECT_EQ(TextOf({'4', 0, '2', 0, 0, 0}), u"42");
    EXPECT_EQ(TextOf({}), u"");
    EXPECT_EQ(TextOf({0, 0}), u"");
    EXPECT_EQ(TextOf({'1', 0, '7', 0}), u"17") << "no terminating zero stored";
    EXPECT_EQ(TextOf({'9', 0, '8'}), u"9") << "odd byte count";
    EXPECT_EQ(TextOf({'5', 0, 0, 0, 'j', 0}), u"5");
    EXPECT_EQ(TextOf({0xE9, 0, 0x3B, 0xD8, 0x12, 0xDF}), u"\u00E9\U0001EF12");
}

}  // namespace
}  // namespace quorvel
