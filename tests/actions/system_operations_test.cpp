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

TEST_F(SystemOperationsTest, OnlyAFailedLaunchShowsTheSystemsMessageAndTheFile) {
    system.shell.refusals = {{u"C:\\Tools\\Missing.exe", 2},  // SE_ERR_FNF, ERROR_FILE_NOT_FOUND
                             {u"c:\\notes.xyz", 31}};  // SE_ERR_NOASSOC, a system code of its own
    operations.ShellExecuteW(u"", u"https://example.org", u"", 1);
    operations.ShellExecuteW(u"open", u"C:\\Tools\\Missing.exe", u"-x", 3);
    operations.ShellExecuteW(u"open", u"c:\\notes.xyz", u"", 1);

    EXPECT_THAT(system.shell.launches, ElementsAre(Launch{u"", u"https://example.org", u"", 1}));
    EXPECT_THAT(system.shell.errorBoxes,
                ElementsAre(u"The file was not found.\r\n\"C:\\Tools\\Missing.exe\"",
                            u"System error 1155\r\n\"c:\\notes.xyz\""));
}

TEST_F(SystemOperationsTest, TargetsLongerThanTheShellTakesAreNotHandedOverButReported) {
    const std::u16string folder = u"C:\\" + std::u16string(247, u'a');
    const std::u16string longestPath = folder + u"\\tool.exe";  // MAX_PATH less its zero
    const std::u16string share = u"\\\\server\\" + std::u16string(252, u's');
    const std::u16string longestAddress = u"https://example.org/?q=" + std::u16string(937, u'q');
    for (const auto& target :
         {longestPath, folder + u"\\tool1.exe", share, longestAddress, longestAddress + u"q"}) {
        operations.ShellExecuteW(u"open", target, u"-x", 1);
    }
    const auto box = [](std::u16string_view shown) {
        return u"The file name is too long.\r\n\"" + std::u16string(shown) + u"\"";
    };
    EXPECT_THAT(system.shell.launches, ElementsAre(Launch{u"open", longestPath, u"-x", 1},
                                                   Launch{u"open", longestAddress, u"-x", 1}));
    EXPECT_THAT(system.shell.errorBoxes,
                ElementsAre(box(folder + u"\\tool1.exe"), box(share.substr(0, 260) + u"..."),
                            box(longestAddress.substr(0, 260) + u"...")));
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
    table.AppendTask({.desc = u"Minimize/Maximaze all windows", .hotkey = u"F1"});
    table.AppendTask({.desc = u"Minimize/Maximaze all windows", .hotkey = u"F2"});
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
