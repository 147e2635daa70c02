#include "app/start_counter.h"

#include <gtest/gtest.h>

#include "fake_registry.h"

namespace quorvel {
namespace {

using testing::FakeRegistry;

const std::u16string kKey = u"Software\\Tessaly\\Dravlin";

std::u16string Stored(const FakeRegistry& registry) { return registry.values.at({kKey, u"fr"}); }

TEST(StartCounterTest, FirstStartCountsOneTheNextTwoAndTheLargestCounterStillCountsOn) {
    FakeRegistry registry;
    EXPECT_EQ(CountStart(registry), u"1");
    EXPECT_EQ(Stored(registry), u"1");
    EXPECT_EQ(CountStart(registry), u"2");
    EXPECT_EQ(Stored(registry), u"2");
    registry.values[{kKey, u"fr"}] = u"2147483647";
    EXPECT_EQ(CountStart(registry), u"2147483648");
    EXPECT_EQ(CountStart(registry), u"1") << "beyond 32 bits the count starts over";
}

TEST(StartCounterTest, ValueThatIsNoWholeNumberStartsOver) {
    for (const std::u16string_view bad : {u"abc", u"", u"3.5", u"2147483648"}) {
        FakeRegistry registry;
        registry.values[{kKey, u"fr"}] = bad;
        EXPECT_EQ(CountStart(registry), u"1") << std::string(bad.begin(), bad.end());
        EXPECT_EQ(Stored(registry), u"1");
    }
}

}  // namespace
}  // namespace quorvel
