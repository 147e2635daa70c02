#include "tasks/action_catalogue.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ShowCommandTest, OnlyTheStoredRunTypesChangeTheNormalWindow) {
    EXPECT_EQ(ShowCommandOf(u"Normal"), kSwShowNormal);
    EXPECT_EQ(ShowCommandOf(u"Hide"), kSwHide);
    EXPECT_EQ(ShowCommandOf(u"Maximize"), kSwShowMaximized);
    EXPECT_EQ(ShowCommandOf(u"Minimze"), kSwMinimize);
    EXPECT_EQ(ShowCommandOf(u"Minimize"), kSwShowNormal);
    EXPECT_EQ(ShowCommandOf(u"hide"), kSwShowNormal);
    EXPECT_EQ(ShowCommandOf(u""), kSwShowNormal);
}

TEST(ActionCatalogueTest, FindsStoredNamesOnlyWithTheirExactSpelling) {
    EXPECT_EQ(FindAction(u"Run Command Promt"), Action::RunCommandPromt);
    EXPECT_EQ(FindAction(u"Clear the Windows clipboard"), Action::ClearTheWindowsClipboard);
    EXPECT_EQ(FindAction(u"Minimize/Maximaze all windows"), Action::MinimizeMaximazeAllWindows);
    EXPECT_EQ(FindAction(u"run calc"), std::nullopt);
    EXPECT_EQ(FindAction(u"Run selected program"), std::nullopt);
    EXPECT_EQ(FindAction(u""), std::nullopt);
}

}  // namespace
}  // namespace quorvel
