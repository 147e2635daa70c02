#include "actions/dispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "common/text.h"
#include "error_text.h"
#include "fake_system.h"
#include "tasks/action_catalogue.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using Exit = testing_support::FakePowerControl::Exit;
using Launch = testing_support::FakeLauncher::Launch;
using Message = testing_support::FakePressBoxes::Message;
using Suspension = testing_support::FakePowerControl::Suspension;

constexpr HotKeyValue kCtrlAltN = 0xC04E;
constexpr HotKeyValue kCtrlAltM = 0xC04D;

// A command line the shell started, as the system's programs are.
Launch Started(std::u16string_view program, int show, std::u16string_view folder = u"") {
    return {u"", std::u16string(program), u"", std::u16string(folder), show};
}

class DispatcherTest : public testing::Test {
  protected:
    // The task with a normal window unless it says otherwise, resolved as the session resolves
    // it; an enabled one is bound to Ctrl+Alt+N, as the registrations would bind it.
    void Add(Task task) {
        if (task.runType.empty()) task.runType = u"Normal";
        if (task.enabled) rows_[kCtrlAltN].push_back(table_.RowCount());
        table_.AppendTask(task);
        table_.SetResolved(table_.RowCount() - 1,
                           {FindAction(task.actionName), ShowCommandOf(task.runType), kCtrlAltN});
    }

    void Press(HotKeyValue hotKey) { dispatcher_.OnHotKeyPressed(hotKey); }

    TaskTable table_;
    RowsByHotKey rows_;
    testing_support::FakeSystem system_;
    Dispatcher dispatcher_{table_, rows_, system_.Services(), [] { throw; }};
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

    EXPECT_THAT(system_.launcher.launches,
                ElementsAre(Launch{u"open", u"C:\\A\\one.exe", u"-a", u"C:\\A", 0},
                            Launch{u"open", u"C:\\B\\two.bat", u"-b", u"C:\\B", 6},
                            Started(u"calc.exe", 1)))
        << "names are matched exactly; an unknown run type is a normal window";
}

TEST_F(DispatcherTest, EachActionReachesItsOperation) {
    system_.processes.processes = {{7, u"app.exe"}};
    system_.cdDoors.doors = {{u"E:", Door::kClosed}, {u"F:", Door::kOpen}};
    const std::map<Action, std::u16string> destinations{
        {Action::RunSelectedProgram, u"C:\\Tools\\tool.exe"},
        {Action::OpenWebsite, u"https://example.org"},
        {Action::CloseSelectedProgram, u"app.exe"},
        {Action::OpenCdRom, u"E:"},
        {Action::CloseCdRom, u"F:"}};
    for (const auto name : kActionNames) {
        const auto destination = destinations.find(*FindAction(name));
        Add({.actionName = std::u16string(name),
             .dest = destination == destinations.end() ? u"" : destination->second,
             .runType = u"Maximize"});
    }

    Press(kCtrlAltN);

    EXPECT_THAT(system_.desktop.openedFolders, ElementsAre(std::pair{17, 3}, std::pair{5, 3}));
    EXPECT_THAT(
        system_.launcher.launches,
        ElementsAre(Started(u"calc.exe", 3), Started(u"notepad.exe", 3), Started(u"cmd.exe", 3),
                    Launch{u"open", u"C:\\Tools\\tool.exe", u"", u"C:\\Tools", 3},
                    Launch{u"", u"https://example.org", u"", u"", 3}));
    EXPECT_THAT(system_.power.exits, ElementsAre(Exit{0xC, true}, Exit{0x6, true}, Exit{0, true}));
    EXPECT_THAT(system_.power.suspensions,
                ElementsAre(Suspension{true, true, true}, Suspension{false, false, true}));
    EXPECT_THAT(system_.processes.processes, IsEmpty());
    EXPECT_THAT(system_.cdDoors.doors,
                ElementsAre(std::pair{u"E:", Door::kOpen}, std::pair{u"F:", Door::kClosed}));
    EXPECT_TRUE(system_.desktop.windowsMinimized);
    EXPECT_FALSE(system_.clipboard.holdsData);
}

struct DestinationCase {
    std::u16string_view action;
    std::u16string_view destination;
    Launch launch;  // what the shell opens or starts
};

class DispatcherDestinationTest : public DispatcherTest,
                                  public testing::WithParamInterface<DestinationCase> {};

// Where a destination is split is the splitter's own test; here each action gets its part in
// the letter case it was written in, its variables expanded, and the folder it starts in.
TEST_P(DispatcherDestinationTest, EachActionGetsItsPartExpandedAndItsWorkingFolder) {
    system_.launcher.environment = {{u"USERPROFILE", u"C:\\Users\\Jo Smith"},
                                    {u"TOOLS", u"D:\\My Tools"},
                                    {u"USERNAME", u"Jo"}};
    Add({.actionName = std::u16string(GetParam().action),
         .dest = std::u16string(GetParam().destination)});

    Press(kCtrlAltN);

    EXPECT_THAT(system_.launcher.launches, ElementsAre(GetParam().launch));
}

constexpr std::u16string_view kRun = u"Run selected program...";
constexpr std::u16string_view kWebsite = u"Open Website...";
constexpr std::u16string_view kClose = u"Close selected program...";

INSTANTIATE_TEST_SUITE_P(
    Destinations, DispatcherDestinationTest,
    testing::Values(
        // A program or document by its full path starts in its own folder.
        DestinationCase{kRun, u"C:\\Tools\\Zip.EXE -d Archive",
                        Launch{u"open", u"C:\\Tools\\Zip.EXE", u"-d Archive", u"C:\\Tools", 1}},
        DestinationCase{kRun, u"\"C:\\My Tools\\tool.exe\" -x",
                        Launch{u"open", u"C:\\My Tools\\tool.exe", u"-x", u"C:\\My Tools", 1}},
        DestinationCase{kRun, u"D:\\setup.exe", Launch{u"open", u"D:\\setup.exe", u"", u"D:\\", 1}},
        DestinationCase{kRun, u"c:\\docs\\my notes.txt",
                        Launch{u"open", u"c:\\docs\\my notes.txt", u"", u"c:\\docs", 1}},
        DestinationCase{
            kRun, u"\\\\server\\share\\app.exe /q",
            Launch{u"open", u"\\\\server\\share\\app.exe", u"/q", u"\\\\server\\share", 1}},
        // A name found on the path, a relative path and an address get no folder.
        DestinationCase{kRun, u"notepad.exe c:\\x.txt",
                        Launch{u"open", u"notepad.exe", u"c:\\x.txt", u"", 1}},
        DestinationCase{kRun, u"tools\\app.exe", Launch{u"open", u"tools\\app.exe", u"", u"", 1}},
        // Variables in the program and in the parameters; an unknown one stays as written, and a
        // value's spaces or extensions never move the split.
        DestinationCase{kRun, u"%TOOLS%\\app.exe %USERPROFILE%\\in.txt %NOPE% 100%",
                        Launch{u"open", u"D:\\My Tools\\app.exe",
                               u"C:\\Users\\Jo Smith\\in.txt %NOPE% 100%", u"D:\\My Tools", 1}},
        DestinationCase{kRun, u"\"%TOOLS%\\run.bat\"",
                        Launch{u"open", u"D:\\My Tools\\run.bat", u"", u"D:\\My Tools", 1}},
        // An address goes whole, whatever its query holds; quotes around it are not its own.
        DestinationCase{kWebsite, u"https://www.bing.com/search?q=hello world",
                        Launch{u"", u"https://www.bing.com/search?q=hello world", u"", u"", 1}},
        DestinationCase{kWebsite, u"https://files.example.org/tool.exe?v=1 2",
                        Launch{u"", u"https://files.example.org/tool.exe?v=1 2", u"", u"", 1}},
        DestinationCase{kWebsite, u"\"https://Example.org/a b.com c\"",
                        Launch{u"", u"https://Example.org/a b.com c", u"", u"", 1}},
        DestinationCase{kWebsite, u"https://example.org/~%USERNAME%/",
                        Launch{u"", u"https://example.org/~Jo/", u"", u"", 1}},
        // The system's programs start in the profile folder, as from the Run box.
        DestinationCase{u"Run Calc", u"", Started(u"calc.exe", 1, u"C:\\Users\\Jo Smith")},
        DestinationCase{u"Run Notepad", u"", Started(u"notepad.exe", 1, u"C:\\Users\\Jo Smith")},
        DestinationCase{u"Run Command Promt", u"%TOOLS%",
                        Started(u"cmd.exe", 1, u"C:\\Users\\Jo Smith")},
        DestinationCase{u"Run Command Promt", u"%TOOLS%",
                        Started(u"cmd.exe", 1, u"C:\\Users\\Jo Smith")}));

TEST_F(DispatcherTest, LogOffNeedsNeitherThePrivilegeNorForce) {
    Add({.actionName = u"Log off computer"});
    Press(kCtrlAltN);
    EXPECT_THAT(system_.power.exits, ElementsAre(Exit{kEwxLogOff, /*privileged=*/false}));
}

// The program to close is the file-name part of the destination's program, its variables
// expanded; the CD door is the destination's drive.
TEST_F(DispatcherTest, CloseAndTheCdDoorsTakeTheirPartOfTheDestination) {
    system_.launcher.environment = {{u"TOOLS", u"D:\\My Tools"}};
    system_.processes.processes = {
        {1, u"Editor.exe"}, {2, u"app.exe"}, {3, u"other.exe"}, {4, u"tool.exe"}, {5, u"Zip.exe"}};
    system_.cdDoors.doors = {{u"E:", Door::kClosed}, {u"F:", Door::kOpen}};
    for (const auto destination :
         {u"C:\\Apps\\Editor.exe /x", u"c:\\tools\\app.exe c:\\work\\other.exe",
          u"\"C:\\My Tools\\tool.exe\" -x", u"%TOOLS%\\Zip.exe -d"}) {
        Add({.actionName = std::u16string(kClose), .dest = destination});
    }
    Add({.actionName = u"Open CD-Rom", .dest = u"e"});
    Add({.actionName = u"Close CD-Rom", .dest = u"F:\\"});

    Press(kCtrlAltN);

    EXPECT_THAT(system_.processes.processes, ElementsAre(RunningProcess{3, u"other.exe"}));
    EXPECT_THAT(system_.cdDoors.doors,
                ElementsAre(std::pair{u"E:", Door::kOpen}, std::pair{u"F:", Door::kClosed}));
}

// A run of failures gives one box, the first five and how many more, before the next launch.
TEST_F(DispatcherTest, FailedLaunchesAreToldInOneBoxBeforeAnythingElseRuns) {
    for (int i = 1; i <= 7; ++i) {
        const std::u16string missing = u"C:\\Gone\\" + ToText(i) + u".exe";
        system_.launcher.absent.insert(missing);
        Add({.actionName = u"Run selected program...", .dest = missing + u" -x"});
    }
    system_.launcher.refusals[u"c:\\notes.xyz"] = 31;  // SE_ERR_NOASSOC
    Add({.actionName = u"Run selected program...", .dest = u"c:\\notes.xyz"});
    system_.launcher.absent.insert(u"C:\\Gone\\8.exe");
    Add({.actionName = u"Run selected program...", .dest = u"C:\\Gone\\8.exe"});
    Add({.actionName = u"Run Calc"});
    std::vector<std::size_t> launchesAtBox;
    system_.boxes.onErrorBox = [&] { launchesAtBox.push_back(system_.launcher.launches.size()); };

    Press(kCtrlAltN);

    EXPECT_THAT(
        system_.boxes.errorBoxes,
        ElementsAre(u"The file was not found.\r\n\"C:\\Gone\\1.exe\"\r\n\"C:\\Gone\\2.exe\"\r\n"
                    u"\"C:\\Gone\\3.exe\"\r\n\"C:\\Gone\\4.exe\"\r\n\"C:\\Gone\\5.exe\"\r\n"
                    u"... and 2 more.",
                    u"System error 1155\r\n\"c:\\notes.xyz\"\r\n\r\nThe file was not found.\r\n"
                    u"\"C:\\Gone\\8.exe\""));
    EXPECT_THAT(launchesAtBox, ElementsAre(0, 0)) << "the second box before Calc starts";
    EXPECT_THAT(system_.launcher.launches, ElementsAre(Started(u"calc.exe", 1)));
}

TEST_F(DispatcherTest, AnEndWhileTheBoxIsOpenRunsNothingMoreAndDropsTheWaitingPresses) {
    system_.launcher.absent.insert(u"C:\\Gone\\tool.exe");
    Add({.actionName = u"Run selected program...", .dest = u"C:\\Gone\\tool.exe"});
    Add({.actionName = u"Run selected program...", .dest = u"C:\\Tools\\other.exe"});
    Add({.actionName = u"Power off computer"});
    rows_[kCtrlAltM] = {2};
    system_.boxes.onErrorBox = [this] {
        Press(kCtrlAltM);  // waits for the running press
        dispatcher_.EndPresses();
    };

    Press(kCtrlAltN);
    system_.boxes.onErrorBox = nullptr;
    Press(kCtrlAltN);
    Press(kCtrlAltM);

    EXPECT_THAT(system_.boxes.errorBoxes,
                ElementsAre(u"The file was not found.\r\n\"C:\\Gone\\tool.exe\""));
    EXPECT_THAT(system_.launcher.launches, IsEmpty());
    EXPECT_THAT(system_.power.exits, IsEmpty());
}

// Two tasks share the one alternation, which turns only after a call that went through.
TEST_F(DispatcherTest, MinimizeAllAlternatesAcrossTasksAndRetriesAfterAFailure) {
    Add({.actionName = u"Minimize/Maximaze all windows"});
    Add({.actionName = u"Minimize/Maximaze all windows"});
    rows_ = {{0x70, {0}}, {0x71, {1}}};
    for (const auto& [hotKey, minimized] :
         {std::pair{0x70u, true}, {0x71u, false}, {0x71u, true}, {0x70u, false}}) {
        system_.desktop.refusesMinimizeAll = true;
        EXPECT_THROW(Press(hotKey), Error);
        system_.desktop.refusesMinimizeAll = false;
        Press(hotKey);
        EXPECT_EQ(system_.desktop.windowsMinimized, minimized) << "a refused call is tried again";
    }
}

TEST_F(DispatcherTest, ClearClipboardEmptiesItOrRaisesWhileAnotherProgramHoldsIt) {
    Add({.actionName = u"Clear the Windows clipboard"});
    system_.clipboard.heldByAnotherProgram = true;
    EXPECT_EQ(ErrorTextOf([&] { Press(kCtrlAltN); }), u"Cannot open clipboard");
    EXPECT_TRUE(system_.clipboard.holdsData);
    system_.clipboard.heldByAnotherProgram = false;
    Press(kCtrlAltN);
    EXPECT_FALSE(system_.clipboard.holdsData);
}

class SystemOperationsTest : public testing::Test {
  protected:
    testing_support::FakeSystem system;
    Launcher& launcher = system.launcher;
    PowerControl& power = system.power;
};

TEST_F(SystemOperationsTest, OnlyAFailedLaunchGivesTheSystemsMessageAndTheFile) {
    system.launcher.refusals = {
        {u"C:\\Tools\\Missing.exe", 2},  // SE_ERR_FNF, ERROR_FILE_NOT_FOUND
        {u"c:\\notes.xyz", 31}};         // SE_ERR_NOASSOC, a system code of its own
    EXPECT_EQ(OpenWithShell(launcher, u"", u"https://example.org", u"", u"", 1), std::nullopt);
    EXPECT_EQ(OpenWithShell(launcher, u"open", u"C:\\Tools\\Missing.exe", u"-x", u"C:\\Tools", 3),
              (LaunchFailure{u"The file was not found.", u"C:\\Tools\\Missing.exe"}));
    EXPECT_EQ(OpenWithShell(launcher, u"open", u"c:\\notes.xyz", u"", u"c:\\", 1),
              (LaunchFailure{u"System error 1155", u"c:\\notes.xyz"}));

    EXPECT_THAT(system.launcher.launches,
                ElementsAre(Launch{u"", u"https://example.org", u"", u"", 1}));
}

// What is known not to open, before anything is opened: a target too long, and a full path to
// a file with an extension that is not there; a name found on the path or an address is left
// to the shell.
TEST_F(SystemOperationsTest, TargetsTooLongOrNotThereAreRefusedBeforeTheShellIsAsked) {
    const std::u16string folder = u"C:\\" + std::u16string(247, u'a');
    const std::u16string longestPath = folder + u"\\tool.exe";  // MAX_PATH less its zero
    const std::u16string share = u"\\\\server\\" + std::u16string(252, u's');
    const std::u16string longestAddress = u"https://example.org/?q=" + std::u16string(937, u'q');
    system.launcher.absent = {u"C:\\Gone\\tool.exe", u"C:\\Gone\\tool", u"gone.exe"};
    const auto tooLong = [](std::u16string_view target) {
        return LaunchFailure{u"The file name is too long.", std::u16string(target)};
    };

    for (const auto& opens : {longestPath, longestAddress, std::u16string(u"C:\\Gone\\tool"),
                              std::u16string(u"gone.exe")}) {
        EXPECT_EQ(CannotLaunch(launcher, opens), std::nullopt) << ToUtf8(opens);
    }
    EXPECT_EQ(CannotLaunch(launcher, u"C:\\Gone\\tool.exe"),
              (LaunchFailure{u"The file was not found.", u"C:\\Gone\\tool.exe"}));
    for (const auto& target : {folder + u"\\tool1.exe", share, longestAddress + u"q"}) {
        EXPECT_EQ(CannotLaunch(launcher, target), tooLong(target));
        EXPECT_EQ(OpenWithShell(launcher, u"open", target, u"-x", u"", 1), tooLong(target));
    }
    EXPECT_THAT(system.launcher.launches, IsEmpty());
}

TEST_F(SystemOperationsTest, PowerOffAndRebootAreForcedWithThePrivilege) {
    EndSessionWithShutdownPrivilege(power, system.boxes, kEwxPowerOff | kEwxForce);
    EndSessionWithShutdownPrivilege(power, system.boxes, kEwxReboot | kEwxForce);
    EXPECT_THAT(system.power.exits,
                ElementsAre(Exit{0xC, /*privileged=*/true}, Exit{0x6, /*privileged=*/true}));
    EXPECT_THAT(system.boxes.messages, IsEmpty());
}

TEST_F(SystemOperationsTest, AFailedPrivilegeStepShowsItsCallsCaptionAndShutsNothingDown) {
    const std::pair<ShutdownPrivilege, std::u16string> failures[] = {
        {ShutdownPrivilege::kNoToken, u"OpenProcessToken() Failed"},
        {ShutdownPrivilege::kUnknown, u"LookupPrivilegeValue() Failed"},
        {ShutdownPrivilege::kNotAdjusted, u"AdjustTokenPrivileges() Failed"},
        {ShutdownPrivilege::kNotHeldByAccount, u"AdjustTokenPrivileges() Failed"}};
    for (const auto& [answer, caption] : failures) {
        system.power.privilegeAnswer = answer;
        system.boxes.messages.clear();
        EndSessionWithShutdownPrivilege(power, system.boxes, kEwxPowerOff | kEwxForce);
        const Message box{u"Exit Error", caption};
        EXPECT_THAT(system.boxes.messages, ElementsAre(box)) << ToUtf8(caption);
        EXPECT_THAT(system.power.exits, IsEmpty());
    }
}

TEST_F(SystemOperationsTest, HibernateAndStandBySuspendOnceTheTokenTookThePrivilege) {
    for (const auto answer : {ShutdownPrivilege::kNoToken, ShutdownPrivilege::kUnknown,
                              ShutdownPrivilege::kNotAdjusted}) {
        system.power.privilegeAnswer = answer;
        SuspendWithShutdownPrivilege(power, /*hibernate=*/true, /*force=*/true);
        EXPECT_THAT(system.power.suspensions, IsEmpty());
    }
    // The token took the change; the system itself refuses an account without the privilege.
    system.power.privilegeAnswer = ShutdownPrivilege::kNotHeldByAccount;
    SuspendWithShutdownPrivilege(power, /*hibernate=*/false, /*force=*/false);
    system.power.privilegeAnswer = ShutdownPrivilege::kEnabled;
    SuspendWithShutdownPrivilege(power, /*hibernate=*/true, /*force=*/true);
    EXPECT_THAT(system.power.suspensions,
                ElementsAre(Suspension{false, /*force=*/false, /*privileged=*/false},
                            Suspension{true, /*force=*/true, /*privileged=*/true}));
    EXPECT_THAT(system.boxes.messages, IsEmpty()) << "they fail silently";
}

TEST_F(SystemOperationsTest, CdDoorsOpenAndCloseByTheDestinationsDriveLetter) {
    for (const std::u16string_view drive : {u"e", u"E:", u"E:\\", u"e:\\"}) {
        EXPECT_EQ(CdElementName(drive), u"E:") << ToUtf8(drive);
    }
    EXPECT_EQ(CdElementName(u""), std::nullopt);
    EXPECT_EQ(CdElementName(u"\\\\.\\cdrom0"), std::nullopt);

    system.cdDoors.doors = {{u"E:", Door::kClosed}, {u"F:", Door::kOpen}};
    SetCdDoor(system.cdDoors, u"e:", Door::kOpen);
    SetCdDoor(system.cdDoors, u"F:\\", Door::kClosed);
    SetCdDoor(system.cdDoors, u"", Door::kOpen);
    EXPECT_THAT(system.cdDoors.doors,
                ElementsAre(std::pair{u"E:", Door::kOpen}, std::pair{u"F:", Door::kClosed}));
}

// A process matches by its file name or its whole entry, ignoring ASCII case.
TEST_F(SystemOperationsTest, CloseProgramByNameEndsEveryMatchingProcessThatCanBeEnded) {
    EXPECT_TRUE(ProcessNameMatches(u"EDITOR.EXE", u"editor.exe"));
    EXPECT_TRUE(ProcessNameMatches(u"C:\\Apps\\Editor.exe", u"editor.EXE"));
    EXPECT_TRUE(ProcessNameMatches(u"C:\\Apps\\Editor.exe", u"c:\\apps\\editor.exe"));
    EXPECT_FALSE(ProcessNameMatches(u"C:\\Apps\\Editor.exe", u"apps\\editor.exe"));
    EXPECT_FALSE(ProcessNameMatches(u"myeditor.exe", u"editor.exe"));
    EXPECT_FALSE(ProcessNameMatches(u"editor.exe", u"editor"));
    // Only ASCII letters fold: É and é stay different.
    EXPECT_FALSE(ProcessNameMatches(u"\u00C9DIT.EXE", u"\u00E9dit.exe"));
    EXPECT_TRUE(ProcessNameMatches(u"\u00E9DIT.EXE", u"\u00E9dit.exe"));

    system.processes.processes = {{4, u"System"},
                                  {10, u"C:\\Apps\\EDITOR.EXE"},
                                  {11, u"editor.exe"},
                                  {12, u"xeditor.exe"},
                                  {13, u"Editor.exe"}};
    system.processes.unendable = {11};

    CloseProgramByName(system.processes, u"Editor.exe");
    CloseProgramByName(system.processes, u"notepad.exe");

    EXPECT_THAT(system.processes.processes,
                ElementsAre(RunningProcess{4, u"System"}, RunningProcess{11, u"editor.exe"},
                            RunningProcess{12, u"xeditor.exe"}));
}

}  // namespace
}  // namespace quorvel
