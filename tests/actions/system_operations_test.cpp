#include "actions/system_operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions/dispatcher.h"
#include "common/text.h"
#include "error_text.h"
#include "fake_system.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::FakePowerControl;
using Exit = FakePowerControl::Exit;
using Launch = testing_support::FakeShell::Launch;
using Message = FakePowerControl::Message;
using Suspension = FakePowerControl::Suspension;

class SystemOperationsTest : public testing::Test {
  protected:
    testing_support::FakeSystem system;
    SystemOperations operations{system.Services()};
};

TEST_F(SystemOperationsTest, OnlyAFailedLaunchGivesTheSystemsMessageAndTheFile) {
    system.shell.refusals = {{u"C:\\Tools\\Missing.exe", 2},  // SE_ERR_FNF, ERROR_FILE_NOT_FOUND
                             {u"c:\\notes.xyz", 31}};  // SE_ERR_NOASSOC, a system code of its own
    EXPECT_EQ(operations.ShellExecuteW(u"", u"https://example.org", u"", u"", 1), std::nullopt);
    EXPECT_EQ(operations.ShellExecuteW(u"open", u"C:\\Tools\\Missing.exe", u"-x", u"C:\\Tools", 3),
              (LaunchFailure{u"The file was not found.", u"C:\\Tools\\Missing.exe"}));
    EXPECT_EQ(operations.ShellExecuteW(u"open", u"c:\\notes.xyz", u"", u"c:\\", 1),
              (LaunchFailure{u"System error 1155", u"c:\\notes.xyz"}));
    operations.WinExec(u"cmd.exe", 0, u"C:\\Users\\Jo");

    EXPECT_THAT(system.shell.launches,
                ElementsAre(Launch{u"", u"https://example.org", u"", u"", 1},
                            Launch{u"", u"cmd.exe", u"", u"C:\\Users\\Jo", 0}));
}

// What is known not to open, before anything is opened: a target too long, and a full path to
// a file with an extension that is not there; a name found on the path or an address is left
// to the shell.
TEST_F(SystemOperationsTest, TargetsTooLongOrNotThereAreRefusedBeforeTheShellIsAsked) {
    const std::u16string folder = u"C:\\" + std::u16string(247, u'a');
    const std::u16string longestPath = folder + u"\\tool.exe";  // MAX_PATH less its zero
    const std::u16string share = u"\\\\server\\" + std::u16string(252, u's');
    const std::u16string longestAddress = u"https://example.org/?q=" + std::u16string(937, u'q');
    system.shell.absent = {u"C:\\Gone\\tool.exe", u"C:\\Gone\\tool", u"gone.exe"};
    const auto tooLong = [](std::u16string_view target) {
        return LaunchFailure{u"The file name is too long.", std::u16string(target)};
    };

    for (const auto& opens : {longestPath, longestAddress, std::u16string(u"C:\\Gone\\tool"),
                              std::u16string(u"gone.exe")}) {
        EXPECT_EQ(operations.CannotLaunch(opens), std::nullopt) << ToUtf8(opens);
    }
    EXPECT_EQ(operations.CannotLaunch(u"C:\\Gone\\tool.exe"),
              (LaunchFailure{u"The file was not found.", u"C:\\Gone\\tool.exe"}));
    for (const auto& target : {folder + u"\\tool1.exe", share, longestAddress + u"q"}) {
        EXPECT_EQ(operations.CannotLaunch(target), tooLong(target));
        EXPECT_EQ(operations.ShellExecuteW(u"open", target, u"-x", u"", 1), tooLong(target));
    }
    EXPECT_THAT(system.shell.launches, IsEmpty());
}

TEST_F(SystemOperationsTest, PowerOffAndRebootAreForcedWithThePrivilegeAndLogOffIsNeither) {
    operations.LogOffComputer();
    EXPECT_EQ(system.power.exit, (Exit{kEwxLogOff, /*privileged=*/false}));
    operations.PowerOffComputer();
    EXPECT_EQ(system.power.exit, (Exit{0xC, /*privileged=*/true}));
    operations.RebootComputer();
    EXPECT_EQ(system.power.exit, (Exit{0x6, /*privileged=*/true}));
    EXPECT_THAT(system.power.messages, IsEmpty());
}

TEST_F(SystemOperationsTest, AFailedPrivilegeStepShowsItsCallsCaptionAndShutsNothingDown) {
    const std::pair<ShutdownPrivilege, std::u16string> failures[] = {
        {ShutdownPrivilege::kNoToken, u"OpenProcessToken() Failed"},
        {ShutdownPrivilege::kUnknown, u"LookupPrivilegeValue() Failed"},
        {ShutdownPrivilege::kNotAdjusted, u"AdjustTokenPrivileges() Failed"},
        {ShutdownPrivilege::kNotHeldByAccount, u"AdjustTokenPrivileges() Failed"}};
    for (const auto& [answer, caption] : failures) {
        system.power.privilegeAnswer = answer;
        system.power.messages.clear();
        operations.PowerOffComputer();
        operations.RebootComputer();
        const Message box{u"Exit Error", caption};
        EXPECT_THAT(system.power.messages, ElementsAre(box, box)) << ToUtf8(caption);
        EXPECT_EQ(system.power.exit, std::nullopt);
    }
}

TEST_F(SystemOperationsTest, HibernateAndStandBySuspendOnceTheTokenTookThePrivilege) {
    for (const auto answer : {ShutdownPrivilege::kNoToken, ShutdownPrivilege::kUnknown,
                              ShutdownPrivilege::kNotAdjusted}) {
        system.power.privilegeAnswer = answer;
        operations.HibernateComputer();
        operations.StandByComputer();
        EXPECT_EQ(system.power.suspension, std::nullopt);
    }
    // The token took the change; the system itself refuses an account without the privilege.
    system.power.privilegeAnswer = ShutdownPrivilege::kNotHeldByAccount;
    operations.StandByComputer();
    EXPECT_EQ(system.power.suspension, (Suspension{false, /*force=*/false, /*privileged=*/false}));
    system.power.privilegeAnswer = ShutdownPrivilege::kEnabled;
    operations.HibernateComputer();
    EXPECT_EQ(system.power.suspension, (Suspension{true, /*force=*/true, /*privileged=*/true}));
    operations.StandByComputer();
    EXPECT_EQ(system.power.suspension, (Suspension{false, /*force=*/false, /*privileged=*/true}));
    EXPECT_THAT(system.power.messages, IsEmpty()) << "they fail silently";
}

TEST_F(SystemOperationsTest, CdDoorsOpenAndCloseByTheDestinationsDriveLetter) {
    for (const std::u16string_view drive : {u"e", u"E:", u"E:\\", u"e:\\"}) {
        EXPECT_EQ(CdElementName(drive), u"E:") << ToUtf8(drive);
    }
    EXPECT_EQ(CdElementName(u""), std::nullopt);
    EXPECT_EQ(CdElementName(u"\\\\.\\cdrom0"), std::nullopt);

    system.cdDoors.doors = {{u"E:", Door::kClosed}, {u"F:", Door::kOpen}};
    operations.OpenCdDoor(u"e:");
    operations.CloseCdDoor(u"F:\\");
    operations.CloseCdDoor(u"");
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

    operations.CloseProgramByName(u"Editor.exe");
    operations.CloseProgramByName(u"notepad.exe");

    EXPECT_THAT(system.processes.processes,
                ElementsAre(RunningProcess{4, u"System"}, RunningProcess{11, u"editor.exe"},
                            RunningProcess{12, u"xeditor.exe"}));
}

TEST_F(SystemOperationsTest, MinimizeAllAlternatesAcrossTasksAndRetriesAfterAFailure) {
    for (const bool minimized : {true, false, true, false}) {
        system.shell.refusesMinimizeAll = true;
        EXPECT_THROW(operations.ToggleMinimizeAll(), Error);
        system.shell.refusesMinimizeAll = false;
        operations.ToggleMinimizeAll();
        EXPECT_EQ(system.shell.windowsMinimized, minimized) << "a refused call is tried again";
    }

    // Two tasks share the one alternation.
    TaskTable table;
    table.AppendTask({.actionName = u"Minimize/Maximaze all windows", .hotKeyText = u"F1"});
    table.AppendTask({.actionName = u"Minimize/Maximaze all windows", .hotKeyText = u"F2"});
    const RowsByHotKey rows{{0x70, {0}}, {0x71, {1}}};
    Dispatcher dispatcher(table, rows, operations, [] { throw; });

    for (const auto& [hotKey, minimized] :
         {std::pair{0x70u, true}, {0x71u, false}, {0x71u, true}}) {
        dispatcher.OnHotKeyPressed(hotKey);
        EXPECT_EQ(system.shell.windowsMinimized, minimized);
    }
}

TEST_F(SystemOperationsTest, ClearClipboardEmptiesItOrRaisesWhileAnotherProgramHoldsIt) {
    system.clipboard.heldByAnotherProgram = true;
    EXPECT_EQ(ErrorTextOf([&] { operations.ClearClipboard(); }), u"Cannot open clipboard");
    EXPECT_TRUE(system.clipboard.holdsData);
    system.clipboard.heldByAnotherProgram = false;
    operations.ClearClipboard();
    EXPECT_FALSE(system.clipboard.holdsData);
}

}  // namespace
}  // namespace quorvel
