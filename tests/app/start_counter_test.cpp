#include "app/start_counter.h"

#include <gtest/gtest.h>

#include "app/settings_reload.h"
#include "common/error.h"
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

class SettingsReloadTest : public ::testing::Test {
  protected:
    void Activate() {
        reload.Run(
            [&] {
                if (failure) throw Error(*failure);
            },
            [&](const std::u16string& message) {
                reported.push_back(message);
                now += 2000;  // the user reads the box
                // Closing the box activates the main window before it returns.
                if (activateWhileReporting) Activate();
            });
    }

    std::uint64_t now = 1000000;
    SettingsReload reload{[this] { return now; }};
    std::optional<std::u16string> failure;
    bool activateWhileReporting = false;
    std::vector<std::u16string> reported;
};

TEST_F(SettingsReloadTest, ActivationsCausedByClosingTheBoxReportNothing) {
    failure = u"Cannot open file";
    activateWhileReporting = true;
    Activate();
    activateWhileReporting = false;
    now += 200;
    Activate();  // the closing's activation delivered afterwards
    now += 300;
    Activate();
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(SettingsReloadTest, LaterActivationsReportTheFailureAgain) {
    failure = u"bad line";
    Activate();
    now += SettingsReload::kEchoMs;
    Activate();
    EXPECT_EQ(reported, (std::vector<std::u16string>{u"bad line", u"bad line"}));
}

TEST_F(SettingsReloadTest, DifferentFailureOrOneAfterASuccessIsReportedAtOnce) {
    failure = u"first";
    Activate();
    failure = u"second";
    Activate();
    failure.reset();
    Activate();
    failure = u"second";
    Activate();
    EXPECT_EQ(reported, (std::vector<std::u16string>{u"first", u"second", u"second"}));
}

}  // namespace
}  // namespace quorvel
