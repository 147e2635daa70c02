#include "actions/dispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions/action_catalogue.h"
#include "recording_operations.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing_support::RecordingOperations;

constexpr HotKeyValue kCtrlAltN = 0xC04E;
constexpr HotKeyValue kCtrlAltM = 0xC04D;

class DispatcherTest : public testing::Test {
  protected:
    // The task with a normal window unless it says otherwise; an enabled one is bound to
    // Ctrl+Alt+N, as the registrations would bind it.
    void Add(Task task) {
        if (task.typeRun.empty()) task.typeRun = u"Normal";
        if (task.enabled) rows_[kCtrlAltN].push_back(table_.RowCount());
        table_.AppendTask(task);
    }

    void Press(HotKeyValue hotKey) { dispatcher_.OnHotKeyPressed(hotKey); }

    TaskTable table_;
    RowsByHotKey rows_;
    RecordingOperations operations_;
    Dispatcher dispatcher_{table_, rows_, operations_, [] { throw; }};
};

TEST_F(DispatcherTest, EveryBoundRowRunsTopFirstWithItsOwnValues) {
    Add({.desc = u"Run selected program...", .dest = u"C:\\A\\one.exe -a", .typeRun = u"Hide"});
    Add({.desc = u"Run Calc", .enabled = false});
    Add({.desc = u"Run selected program...", .dest = u"C:\\B\\two.bat -b", .typeRun = u"Minimze"});
    Add({.desc = u"run calc"});
    Add({.desc = u"Run Calc", .typeRun = u"Minimize"});

    Press(kCtrlAltN);
    Press(kCtrlAltM);

    EXPECT_THAT(operations_.log,
                ElementsAre("ShellExecute [open] [C:\\A\\one.exe] [-a] 0",
                            "ShellExecute [open] [C:\\B\\two.bat] [-b] 6", "WinExec [calc.exe] 1"))
        << "names are matched exactly; an unknown run type is a normal window";
}

TEST_F(DispatcherTest, EachActionNameReachesItsOperation) {
    for (const auto name : kActionNames) {
        Add({.desc = std::u16string(name), .dest = u"E:", .typeRun = u"Maximize"});
    }

    Press(kCtrlAltN);

    EXPECT_THAT(
        operations_.log,
        ElementsAre("OpenSpecialFolder 17 3", "OpenSpecialFolder 5 3", "WinExec [calc.exe] 3",
                    "WinExec [notepad.exe] 3", "WinExec [cmd.exe] 3", "PowerOffComputer",
                    "RebootComputer", "HibernateComputer", "StandByComputer", "LogOffComputer",
                    "ShellExecute [open] [E:] [] 3", "CloseProgramByName []",
                    "ShellExecute [] [E:] [] 3", "OpenCdDoor [E:]", "CloseCdDoor [E:]",
                    "ToggleMinimizeAll", "ClearClipboard"));
}

// Where a destination is split is the splitter's own test; here each action gets its part,
// in the letter case it was written in.
TEST_F(DispatcherTest, EachActionGetsItsPartOfTheDestinationInItsLetterCase) {
    Add({.desc = u"Run selected program...", .dest = u"C:\\Tools\\Zip.EXE -d Archive"});
    Add({.desc = u"Open Website...", .dest = u"https://Example.org/Wiki/Main_Page"});
    Add({.desc = u"Close selected program...", .dest = u"C:\\Apps\\Editor.exe /x"});
    Add({.desc = u"Close selected program...", .dest = u"c:\\tools\\app.exe c:\\work\\other.exe"});
    Add({.desc = u"Close selected program...", .dest = u"\"C:\\My Tools\\tool.exe\" -x"});
    Add({.desc = u"Open CD-Rom", .dest = u"e"});
    Add({.desc = u"Close CD-Rom", .dest = u"F:\\"});

    Press(kCtrlAltN);

    EXPECT_THAT(
        operations_.log,
        ElementsAre("ShellExecute [open] [C:\\Tools\\Zip.EXE] [-d Archive] 1",
                    "ShellExecute [] [https://Example.org/Wiki/Main_Page] [] 1",
                    "CloseProgramByName [Editor.exe]", "CloseProgramByName [app.exe]",
                    "CloseProgramByName [tool.exe]", "OpenCdDoor [e]", "CloseCdDoor [F:\\]"));
}

}  // namespace
}  // namespace quorvel
