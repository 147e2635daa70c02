#include "app/hotkey_health.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/text.h"
#include "task_rows.h"

namespace quorvel {
namespace {

using Status = HotKeyStatus;

TEST(HotKeyHealth, OnlyAnEnabledTasksHotkeyThatDoesNotWorkIsMarkedWithItsReason) {
    EXPECT_EQ(HotKeyCellText(u"Ctrl+Alt+Q", Status::kInUse),
              u"Ctrl+Alt+Q (in use by another program)");
    EXPECT_EQ(HotKeyCellText(u"Ctrl+Alt+Q", Status::kRefused), u"Ctrl+Alt+Q (refused by Windows)");
    EXPECT_EQ(HotKeyCellText(u"Strg+Y", Status::kNotOnLayout),
              u"Strg+Y (not a hotkey on this keyboard layout)");
    EXPECT_EQ(HotKeyCellText(u"", Status::kNoHotKey), u"(no hotkey)");
    for (const Status status : {Status::kActive, Status::kDisabled}) {
        EXPECT_EQ(HotKeyCellText(u"Ctrl+Alt+Q", status), u"Ctrl+Alt+Q");
        EXPECT_TRUE(HotKeyAdvice(status).empty());
    }
    EXPECT_NE(HotKeyAdvice(Status::kInUse).find(u"close the other program"),
              std::u16string_view::npos);
}

TEST(HotKeyHealth, TheStartUpNoteCountsTheMarkedTasksAndNamesTheFirstThree) {
    const TaskTable table = TableOf({{u"Run Calc", u"Ctrl+Alt+Q"},
                                     {u"Run Notepad", u"Ctrl+Alt+N"},
                                     {u"Open website", u""},
                                     {u"Run Calc", u"Bogus"},
                                     {u"Run Calc", u"Ctrl+Alt+M", u"", u"", 0, false},
                                     {u"Clear the Windows clipboard", u"Ctrl+Alt+C"}});
    const std::vector<Status> statuses{Status::kInUse,       Status::kActive,   Status::kNoHotKey,
                                       Status::kNotOnLayout, Status::kDisabled, Status::kRefused};
    EXPECT_EQ(ToUtf8(InactiveHotKeysNote(table, statuses)),
              "4 hotkeys are not active\n"
              "Run Calc: Ctrl+Alt+Q (in use by another program)\n"
              "Open website: (no hotkey)\n"
              "Run Calc: Bogus (not a hotkey on this keyboard layout)\n...");

    const std::vector<Status> one{Status::kActive, Status::kInUse};
    EXPECT_EQ(ToUtf8(InactiveHotKeysNote(table, one)),
              "1 hotkey is not active\nRun Notepad: Ctrl+Alt+N (in use by another program)");
    EXPECT_TRUE(InactiveHotKeysNote(table, std::vector<Status>(6, Status::kActive)).empty());
}

}  // namespace
}  // namespace quorvel
