#include "app/registry.h"

#include <gtest/gtest.h>

#include "fake_registry.h"

namespace quorvel {
namespace {

using testing::FakeRegistry;

const std::u16string kKey = u"Software\\Tessaly\\Dravlin";

class RegStringTest : public ::testing::Test {
  protected:
    RegString Read() { return ReadRegString(registry, kHkeyCurrentUser, kKey, u"fr"); }
    void TearDown() override { EXPECT_TRUE(registry.open.empty()) << "a key was left open"; }

    FakeRegistry registry;
};

TEST_F(RegStringTest, MissingKeyOrValueOrOtherTypeReadsAsEmptyAndNotRead) {
    EXPECT_FALSE(Read().read);
    registry.keys[kKey];
    EXPECT_FALSE(Read().read);
    registry.SetUnits(kKey, u"fr", std::u16string_view(u"12\0", 3), /*type=*/4);
    const RegString otherType = Read();
    EXPECT_FALSE(otherType.read);
    EXPECT_EQ(otherType.text, u"");
}

TEST_F(RegStringTest, ReadsATerminatedValue) {
    registry.SetUnits(kKey, u"fr", std::u16string_view(u"42\0", 3));
    const RegString value = Read();
    EXPECT_TRUE(value.read);
    EXPECT_EQ(value.text, u"42");
}

TEST_F(RegStringTest, EmptyAndUnterminatedDataStayInsideTheValue) {
    registry.SetUnits(kKey, u"fr", u"");
    EXPECT_EQ(Read().text, u"");
    EXPECT_TRUE(Read().read);

    registry.SetUnits(kKey, u"fr", u"17");  // no terminating zero stored
    EXPECT_EQ(Read().text, u"17");

    registry.keys[kKey][u"fr"].data = {'9', 0, '8'};  // odd byte count
    EXPECT_EQ(Read().text.substr(0, 1), u"9");
    EXPECT_LE(Read().text.size(), 2u);

    registry.SetUnits(kKey, u"fr", std::u16string_view(u"5\0junk", 6));
    EXPECT_EQ(Read().text, u"5");
}

TEST_F(RegStringTest, WriteCreatesTheKeyAndStoresTheTerminator) {
    EXPECT_TRUE(WriteRegString(registry, kHkeyCurrentUser, kKey, u"fr", u"7"));
    EXPECT_EQ(registry.Units(kKey, u"fr"), std::u16string_view(u"7\0", 2));
    EXPECT_EQ(Read().text, u"7");

    EXPECT_TRUE(WriteRegString(registry, kHkeyCurrentUser, kKey, u"fr", u""));
    EXPECT_EQ(registry.keys[kKey][u"fr"].data.size(), 2u);  // the terminating zero alone
    EXPECT_TRUE(Read().read);
}

TEST_F(RegStringTest, WriteReportsAKeyThatCannotBeCreated) {
    registry.readOnly = true;
    EXPECT_FALSE(WriteRegString(registry, kHkeyCurrentUser, kKey, u"fr", u"1"));
}

}  // namespace
}  // namespace quorvel
