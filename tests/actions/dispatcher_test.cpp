#include "actions/dispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions/action_catalogue.h"
#include "common/error.h"
#include "error_text.h"
#include "recording_operations.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::RecordingOperations;

constexpr HotKeyValue kCtrlAltN = 0xC04E;
constexpr HotKeyValue kCtrlAltM = 0xC04D;

class DispatcherTest : public testing::Test {
  protected:
    // The task on Ctrl+Alt+N with a normal window unless it says otherwise.
    void Add(Task task) {
        if (task.hotkey.empty()) task.hotkey = u"Ctrl+Alt+N";
        if (task.typeRun.empty()) task.typeRun = u"Normal";
        table_.AppendTask(task);
    }

    void Press(HotKeyValue hotKey) { dispatcher_.Dravlin1HotKeyPressed(hotKey, 0xC000); }

    static std::u16string FormatHotKey(HotKeyValue value) {
        if (value == kCtrlAltN) return u"Ctrl+Alt+N";
        if (value == kCtrlAltM) return u"Ctrl+Alt+M";
        return u"?";
    }

    TaskTable table_;
    RecordingOperations operations_;
    Dispatcher dispatcher_{table_, FormatHotKey, operations_};
};

TEST_F(DispatcherTest, EveryEnabledRowOfThePressedHotkeyRunsTopFirstWithItsOwnValues) {
    Add({.desc = u"Run selected program...", .dest = u"C:\\A\\one.exe -a", .typeRun = u"Hide"});
    Add({.desc = u"Run Notepad", .hotkey = u"Ctrl+Alt+M"});
    Add({.desc = u"Run Calc", .enabled = false});
    Add({.desc = u"Run selected program...", .dest = u"C:\\B\\two.bat -b", .typeRun = u"Minimze"});

    Press(kCtrlAltN);

    EXPECT_THAT(operations_.log, ElementsAre("ShellExecute [open] [C:\\A\\one.exe] [-a] 0",
                                             "ShellExecute [open] [C:\\B\\two.bat] [-b] 6"));
}

TEST_F(DispatcherTest, RowsAreMatchedByTheExactTextOfTheirHotkeyAndAction) {
    Add({.desc = u"Run Calc", .hotkey = u"ctrl+alt+n"});
    Add({.desc = u"run calc"});
    Add({.desc = u"Run Calculator"});
    Add({.desc = u"Run Calc", .typeRun = u"Minimize"});

    Press(kCtrlAltN);

    EXPECT_THAT(operations_.log, ElementsAre("WinExec [calc.exe] 1"));
}

TEST_F(DispatcherTest, AnEmptyTableOrAnUnboundHotkeyDoesNothing) {
    Press(kCtrlAltN);
    Add({.desc = u"Run Calc"});
    Press(0x41);
    EXPECT_THAT(operations_.log, IsEmpty());
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

TEST_F(DispatcherTest, DestinationsKeepTheirLetterCase) {
    Add({.desc = u"Run selected program...", .dest = u"C:\\Tools\\Zip.EXE -d Archive"});
    Add({.desc = u"Open Website...", .dest = u"https://Example.org/Wiki/Main_Page"});
    Add({.desc = u"Run selected program...", .dest = u"C:\\Program Files\\Tool\\tool.exe"});
    Add({.desc = u"Run selected program...", .dest = u"c:\\docs\\Notes.txt"});

    Press(kCtrlAltN);

    EXPECT_THAT(operations_.log,
                ElementsAre("ShellExecute [open] [C:\\Tools\\Zip.EXE] [-d Archive] 1",
                            "ShellExecute [] [https://Example.org/Wiki/Main_Page] [] 1",
                            "ShellExecute [open] [C:\\Program Files\\Tool\\tool.exe] [] 1",
                            "ShellExecute [open] [c:\\docs\\Notes.txt] [] 1"));
}

TEST_F(DispatcherTest, CloseAndCdActionsGetTheirPartOfTheDestination) {
    Add({.desc = u"Close selected program...", .dest = u"C:\\Apps\\Editor.exe /x"});
    Add({.desc = u"Close selected program...", .dest = u"c:\\tools\\app.exe c:\\work\\other.exe"});
    Add({.desc = u"Close selected program...", .dest = u"\"C:\\My Tools\\tool.exe\" -x"});
    Add({.desc = u"Open CD-Rom", .dest = u"e"});
    Add({.desc = u"Close CD-Rom", .dest = u"F:\\"});

    Press(kCtrlAltN);

    EXPECT_THAT(
        operations_.log,
        ElementsAre("CloseProgramByName [Editor.exe]", "CloseProgramByName [app.exe]",
                    "CloseProgramByName [tool.exe]", "OpenCdDoor [e]", "CloseCdDoor [F:\\]"));
}

TEST_F(DispatcherTest, AFailingOperationEndsThePress) {
    Add({.desc = u"Run Notepad"});
    Add({.desc = u"Clear the Windows clipboard"});
    Add({.desc = u"Run Calc"});
    operations_.onClearClipboard = [] { throw Error(u"Cannot open clipboard"); };

    EXPECT_EQ(ErrorTextOf([&] { Press(kCtrlAltN); }), u"Cannot open clipboard");
    EXPECT_THAT(operations_.log, ElementsAre("WinExec [notepad.exe] 1"));
}

TEST_F(DispatcherTest, RowsDeletedWhileAnActionRunsEndTheWalk) {
    Add({.desc = u"Clear the Windows clipboard"});
    Add({.desc = u"Run Calc"});
    // As when the user deletes rows while an action's message box is open.
    operations_.onClearClipboard = [this] { table_.RemoveRow(1); };

    EXPECT_NO_THROW(Press(kCtrlAltN));
    EXPECT_THAT(operations_.log, ElementsAre("ClearClipboard"));
}

TEST_F(DispatcherTest, EditsTakeEffectAtTheNextPress) {
    Add({.desc = u"Run Calc"});
    Press(kCtrlAltN);
    table_.SetEnabled(0, false);
    Press(kCtrlAltN);
    table_.SetTask(0, {.desc = u"Run Notepad", .hotkey = u"Ctrl+Alt+N"});
    Press(kCtrlAltN);

    EXPECT_THAT(operations_.log, ElementsAre("WinExec [calc.exe] 1", "WinExec [notepad.exe] 1"));
}

}  // namespace
}  // namespace quorvel
