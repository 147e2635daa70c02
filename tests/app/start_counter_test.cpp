#include "app/start_counter.h"

#include <gtest/gtest.h>

#include "fake_registry.h"

namespace quorvel {
namespace {

using testing::FakeRegistry;

const std::u16string kKey = u"Software\\Tessaly\\Dravlin";

std::u16string Stored(const FakeRegistry& registry) {
    const std::u16string units = registry.Units(kKey, u"fr");
    return units.substr(0, units.find(u'\0'));
}

TEST(StartCounterTest, FirstStartCountsOneAndTheNextTwo) {
    FakeRegistry registry;
    EXPECT_EQ(CountStart(registry), u"1");
    EXPECT_EQ(Stored(registry), u"1");
    EXPECT_EQ(CountStart(registry), u"2");
    EXPECT_EQ(Stored(registry), u"2");
    EXPECT_TRUE(registry.open.empty());
}

TEST(StartCounterTest, ValueThatIsNoWholeNumberStartsOver) {
    for (const std::u16string_view bad : {u"abc", u"", u"3.5", u"2147483648"}) {
        FakeRegistry registry;
        registry.SetUnits(kKey, u"fr", std::u16string(bad) + u'\0');
        EXPECT_EQ(CountStart(registry), u"1") << std::string(bad.begin(), bad.end());
        EXPECT_EQ(Stored(registry), u"1");
    }
}

TEST(StartCounterTest, LargestCounterStillCountsOn) {
    FakeRegistry registry;
    registry.SetUnits(kKey, u"fr", std::u16string_view(u"2147483647\0", 11));
    EXPECT_EQ(CountStart(registry), u"2147483648");
    EXPECT_EQ(CountStart(registry), u"1") << "beyond 32 bits the count starts over";
}

}  // namespace
}  // namespace quorvel
