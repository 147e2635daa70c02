#include "actions/dispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/text.h"
#include "recording_operations.h"
#include "tasks/action_catalogue.h"

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
        if (task.runType.empty()) task.runType = u"Normal";
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
    Add({.actionName = u"Run selected program...",
         .dest = u"C:\\A\\one.exe -a",
         .runType = u"Hide"});
    Add({.actionName = u"Run Calc", .enabled = false});
    Add({.actionName = u"Run selected program...",
         .dest = u"C:\\B\\two.bat -b",
         .runType = u"Minimze"});
    Add({.actionName = u"run calc"});
    Add({.actionName = u"Run Calc", .runType = u"Minimize"});

    Press(kCtrlAltN);
    Press(kCtrlAltM);

    EXPECT_THAT(operations_.log,
                ElementsAre("ShellExecute [open] [C:\\A\\one.exe] [-a] in [C:\\A] 0",
                            "ShellExecute [open] [C:\\B\\two.bat] [-b] in [C:\\B] 6",
                            "WinExec [calc.exe] 1"))
        << "names are matched exactly; an unknown run type is a normal window";
}

TEST_F(DispatcherTest, EachActionNameReachesItsOperation) {
    for (const auto name : kActionNames) {
        Add({.actionName = std::u16string(name), .dest = u"E:", .runType = u"Maximize"});
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

struct DestinationCase {
    std::u16string_view action;
    std::u16string_view destination;
    std::string run;  // what the system is asked to do
};

class DispatcherDestinationTest : public DispatcherTest,
                                  public testing::WithParamInterface<DestinationCase> {};

// Where a destination is split is the splitter's own test; here each action gets its part in
// the letter case it was written in, its variables expanded, and the folder it starts in.
TEST_P(DispatcherDestinationTest, EachActionGetsItsPartExpandedAndItsWorkingFolder) {
    operations_.environment = {{u"USERPROFILE", u"C:\\Users\\Jo Smith"},
                               {u"TOOLS", u"D:\\My Tools"},
                               {u"USERNAME", u"Jo"}};
    Add({.actionName = std::u16string(GetParam().action),
         .dest = std::u16string(GetParam().destination)});

    Press(kCtrlAltN);

    EXPECT_THAT(operations_.log, ElementsAre(GetParam().run));
}

constexpr std::u16string_view kRun = u"Run selected program...";
constexpr std::u16string_view kWebsite = u"Open Website...";
constexpr std::u16string_view kClose = u"Close selected program...";

INSTANTIATE_TEST_SUITE_P(
    Destinations, DispatcherDestinationTest,
    testing::Values(
        // A program or document by its full path starts in its own folder.
        DestinationCase{kRun, u"C:\\Tools\\Zip.EXE -d Archive",
                        "ShellExecute [open] [C:\\Tools\\Zip.EXE] [-d Archive] in [C:\\Tools] 1"},
        DestinationCase{kRun, u"\"C:\\My Tools\\tool.exe\" -x",
                        "ShellExecute [open] [C:\\My Tools\\tool.exe] [-x] in [C:\\My Tools] 1"},
        DestinationCase{kRun, u"D:\\setup.exe",
                        "ShellExecute [open] [D:\\setup.exe] [] in [D:\\] 1"},
        DestinationCase{kRun, u"c:\\docs\\my notes.txt",
                        "ShellExecute [open] [c:\\docs\\my notes.txt] [] in [c:\\docs] 1"},
        DestinationCase{kRun, u"\\\\server\\share\\app.exe /q",
                        "ShellExecute [open] [\\\\server\\share\\app.exe] [/q] in "
                        "[\\\\server\\share] 1"},
        // A name found on the path, a relative path and an address get no folder.
        DestinationCase{kRun, u"notepad.exe c:\\x.txt",
                        "ShellExecute [open] [notepad.exe] [c:\\x.txt] 1"},
        DestinationCase{kRun, u"tools\\app.exe", "ShellExecute [open] [tools\\app.exe] [] 1"},
        // Variables in the program and in the parameters; an unknown one stays as written, and a
        // value's spaces or extensions never move the split.
        DestinationCase{kRun, u"%TOOLS%\\app.exe %USERPROFILE%\\in.txt %NOPE% 100%",
                        "ShellExecute [open] [D:\\My Tools\\app.exe] [C:\\Users\\Jo Smith\\in.txt "
                        "%NOPE% 100%] in [D:\\My Tools] 1"},
        DestinationCase{kRun, u"\"%TOOLS%\\run.bat\"",
                        "ShellExecute [open] [D:\\My Tools\\run.bat] [] in [D:\\My Tools] 1"},
        // An address goes whole, whatever its query holds; quotes around it are not its own.
        DestinationCase{kWebsite, u"https://www.bing.com/search?q=hello world",
                        "ShellExecute [] [https://www.bing.com/search?q=hello world] [] 1"},
        DestinationCase{kWebsite, u"https://files.example.org/tool.exe?v=1 2",
                        "ShellExecute [] [https://files.example.org/tool.exe?v=1 2] [] 1"},
        DestinationCase{kWebsite, u"\"https://Example.org/a b.com c\"",
                        "ShellExecute [] [https://Example.org/a b.com c] [] 1"},
        DestinationCase{kWebsite, u"https://example.org/~%USERNAME%/",
                        "ShellExecute [] [https://example.org/~Jo/] [] 1"},
        DestinationCase{kClose, u"C:\\Apps\\Editor.exe /x", "CloseProgramByName [Editor.exe]"},
        DestinationCase{kClose, u"c:\\tools\\app.exe c:\\work\\other.exe",
                        "CloseProgramByName [app.exe]"},
        DestinationCase{kClose, u"\"C:\\My Tools\\tool.exe\" -x", "CloseProgramByName [tool.exe]"},
        DestinationCase{kClose, u"%TOOLS%\\Zip.exe -d", "CloseProgramByName [Zip.exe]"},
        // The system's programs start in the profile folder, as from the Run box.
        DestinationCase{u"Run Calc", u"", "WinExec [calc.exe] in [C:\\Users\\Jo Smith] 1"},
        DestinationCase{u"Run Notepad", u"", "WinExec [notepad.exe] in [C:\\Users\\Jo Smith] 1"},
        DestinationCase{u"Run Command Promt", u"%TOOLS%",
                        "WinExec [cmd.exe] in [C:\\Users\\Jo Smith] 1"},
        DestinationCase{u"Open CD-Rom", u"e", "OpenCdDoor [e]"},
        DestinationCase{u"Close CD-Rom", u"F:\\", "CloseCdDoor [F:\\]"}));

// A run of failures gives one box, the first five and how many more, before the next launch.
TEST_F(DispatcherTest, FailedLaunchesAreToldInOneBoxBeforeAnythingElseRuns) {
    for (int i = 1; i <= 7; ++i) {
        const std::u16string missing = u"C:\\Gone\\" + ToText(i) + u".exe";
        operations_.missing.insert(missing);
        Add({.actionName = u"Run selected program...", .dest = missing + u" -x"});
    }
    operations_.refused.insert(u"c:\\notes.xyz");
    Add({.actionName = u"Run selected program...", .dest = u"c:\\notes.xyz"});
    operations_.missing.insert(u"C:\\Gone\\8.exe");
    Add({.actionName = u"Run selected program...", .dest = u"C:\\Gone\\8.exe"});
    Add({.actionName = u"Run Calc"});

    Press(kCtrlAltN);

    EXPECT_THAT(operations_.log,
                ElementsAre("ErrorBox [Not found.\r\n\"C:\\Gone\\1.exe\"\r\n\"C:\\Gone\\2.exe\"\r\n"
                            "\"C:\\Gone\\3.exe\"\r\n\"C:\\Gone\\4.exe\"\r\n\"C:\\Gone\\5.exe\"\r\n"
                            "... and 2 more.]",
                            "ShellExecute [open] [c:\\notes.xyz] [] in [c:\\] 1",
                            "ErrorBox [No association.\r\n\"c:\\notes.xyz\"\r\n\r\nNot found.\r\n"
                            "\"C:\\Gone\\8.exe\"]",
                            "WinExec [calc.exe] 1"));
}

TEST_F(DispatcherTest, AnEndWhileTheBoxIsOpenRunsNothingMoreAndDropsTheWaitingPresses) {
    operations_.missing.insert(u"C:\\Gone\\tool.exe");
    Add({.actionName = u"Run selected program...", .dest = u"C:\\Gone\\tool.exe"});
    Add({.actionName = u"Run selected program...", .dest = u"C:\\Tools\\other.exe"});
    Add({.actionName = u"Power off computer"});
    rows_[kCtrlAltM] = {2};
    operations_.onErrorBox = [this] {
        Press(kCtrlAltM);  // waits for the running press
        dispatcher_.EndPresses();
    };

    Press(kCtrlAltN);
    operations_.onErrorBox = nullptr;
    Press(kCtrlAltN);
    Press(kCtrlAltM);

    EXPECT_THAT(operations_.log, ElementsAre("ErrorBox [Not found.\r\n\"C:\\Gone\\tool.exe\"]"));
}

}  // namespace
}  // namespace quorvel
