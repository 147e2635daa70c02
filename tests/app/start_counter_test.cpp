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
                // Closing the error box activates the main window again at once.
                if (activateWhileReporting) Activate();
            });
    }

    SettingsReload reload;
    std::optional<std::u16string> failure;
    bool activateWhileReporting = false;
    std::vector<std::u16string> reported;
};

TEST_F(SettingsReloadTest, ClosingTheErrorBoxDoesNotReportTheSameFailureAgain) {
    failure = u"Cannot open file";
    activateWhileReporting = true;
    Activate();
    activateWhileReporting = false;
    Activate();  // the activation the closed box caused, delivered afterwards
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(SettingsReloadTest, LaterActivationsReportAgainAndSuccessClearsTheMemory) {
    failure = u"bad line";
    Activate();
    Activate();
    Activate();
    EXPECT_EQ(reported, (std::vector<std::u16string>{u"bad line", u"bad line"}));

    failure.reset();
    Activate();
    failure = u"bad line";
    Activate();
    EXPECT_EQ(reported.size(), 3u);
}

TEST_F(SettingsReloadTest, ADifferentFailureIsReportedAtOnce) {
    failure = u"first";
    Activate();
    failure = u"second";
    Activate();
    EXPECT_EQ(reported, (std::vector<std::u16string>{u"first", u"second"}));
}

}  // namespace
}  // namespace quorvel
