#include "actions/system_operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions/dispatcher.h"
#include "common/text.h"
#include "error_text.h"
#include "fake_system_calls.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::FakeSystemCalls;

class SystemOperationsTest : public testing::Test {
  protected:
    SystemOperationsTest() {
        auto fake = std::make_unique<FakeSystemCalls>();
        calls_ = fake.get();
        operations_ = std::make_unique<SystemOperations>(std::move(fake));
    }

    FakeSystemCalls& calls() { return *calls_; }
    SystemOperations& operations() { return *operations_; }

  private:
    FakeSystemCalls* calls_;
    std::unique_ptr<SystemOperations> operations_;
};

TEST_F(SystemOperationsTest, OnlyAFailedLaunchShowsTheSystemsMessageAndTheFile) {
    calls().shellExecuteResult = 33;
    operations().ShellExecuteW(u"", u"https://example.org", u"", 1);
    calls().shellExecuteResult = 2;  // SE_ERR_FNF, the system's ERROR_FILE_NOT_FOUND
    operations().ShellExecuteW(u"open", u"C:\\Tools\\Missing.exe", u"-x", 3);
    calls().shellExecuteResult = 31;  // SE_ERR_NOASSOC, which has a system code of its own
    operations().ShellExecuteW(u"open", u"c:\\notes.xyz", u"", 1);
    EXPECT_THAT(
        calls().log,
        ElementsAre("ShellExecute [] [https://example.org] [] 1",
                    "ShellExecute [open] [C:\\Tools\\Missing.exe] [-x] 3", "FormatMessage 2",
                    "ErrorBox [The file was not found.\r\n\"C:\\Tools\\Missing.exe\"]",
                    "ShellExecute [open] [c:\\notes.xyz] [] 1", "FormatMessage 1155",
                    "ErrorBox [System error 1155\r\n\"c:\\notes.xyz\"]"));
}

TEST_F(SystemOperationsTest, TargetsLongerThanTheShellTakesAreNotHandedOverButReported) {
    calls().shellExecuteResult = 33;
    calls().errorTexts[111] = u"The file name is too long.";
    const std::u16string folder = u"C:\\" + std::u16string(247, u'a');
    const std::u16string longestPath = folder + u"\\tool.exe";  // MAX_PATH less its zero
    const std::u16string share = u"\\\\server\\" + std::u16string(252, u's');
    const std::u16string longestAddress = u"https://example.org/?q=" + std::u16string(937, u'q');
    for (const auto& target :
         {longestPath, folder + u"\\tool1.exe", share, longestAddress, longestAddress + u"q"}) {
        operations().ShellExecuteW(u"open", target, u"-x", 1);
    }
    const auto box = [](std::u16string_view shown) {
        return "ErrorBox [The file name is too long.\r\n\"" + ToUtf8(shown) + "\"]";
    };
    EXPECT_THAT(calls().log,
                ElementsAre("ShellExecute [open] [" + ToUtf8(longestPath) + "] [-x] 1",
                            "FormatMessage 111", box(folder + u"\\tool1.exe"), "FormatMessage 111",
                            box(share.substr(0, 260) + u"..."),
                            "ShellExecute [open] [" + ToUtf8(longestAddress) + "] [-x] 1",
                            "FormatMessage 111", box(longestAddress.substr(0, 260) + u"...")));
}

TEST_F(SystemOperationsTest, OsFamilyNameFollowsThePlatformId) {
    const std::vector<std::pair<std::optional<std::uint32_t>, std::u16string>> cases{
        {0, u"Win32s"}, {1, u"Windows 95"}, {2, u"Windows NT"}, {3, u""}, {std::nullopt, u""}};
    for (const auto& [platform, name] : cases) {
        calls().platformId = platform;
        EXPECT_EQ(operations().GetOsFamilyName(), name);
    }
}

TEST_F(SystemOperationsTest, PowerOffOnNtEnablesTheShutdownPrivilegeFirst) {
    operations().PowerOffComputer();

    EXPECT_THAT(calls().log, ElementsAre("GetVersionEx", "OpenProcessToken 0x28",
                                         "LookupPrivilegeValue SeShutdownPrivilege",
                                         "AdjustTokenPrivileges token 19 0x2 previous",
                                         "GetLastError", "close token", "ExitWindowsEx 0xC 0"));
    operations().RebootComputer();
    EXPECT_EQ(calls().log.back(), "ExitWindowsEx 0x6 0") << "forced too";
    calls().log.clear();
    operations().LogOffComputer();
    EXPECT_THAT(calls().log, ElementsAre("ExitWindowsEx 0x0 0")) << "neither forced nor privileged";
}

struct PrivilegeFailure {
    const char* name;
    void (*arrange)(FakeSystemCalls&);
    const char* message;
};

class ShutdownPrivilegeFailureTest
    : public SystemOperationsTest,
      public testing::WithParamInterface<std::tuple<PrivilegeFailure, bool>> {};

TEST_P(ShutdownPrivilegeFailureTest, ShowsTheFailingCallsCaptionAndShutsNothingDown) {
    const auto& [failure, reboot] = GetParam();
    failure.arrange(calls());

    if (reboot) {
        operations().RebootComputer();
    } else {
        operations().PowerOffComputer();
    }

    EXPECT_THAT(calls().log, testing::Contains(failure.message));
    EXPECT_THAT(calls().log, testing::Not(testing::Contains(testing::StartsWith("ExitWindowsEx"))));
    EXPECT_THAT(calls().log, testing::Contains(testing::StartsWith("MessageBox")).Times(1));
    if (calls().tokenOpens) {
        EXPECT_EQ(calls().log.back(), "close token");
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, ShutdownPrivilegeFailureTest,
    testing::Combine(
        testing::Values(
            PrivilegeFailure{"Token", [](FakeSystemCalls& c) { c.tokenOpens = false; },
                             "MessageBox [Exit Error] [OpenProcessToken() Failed]"},
            PrivilegeFailure{"Lookup", [](FakeSystemCalls& c) { c.shutdownPrivilege.reset(); },
                             "MessageBox [Exit Error] [LookupPrivilegeValue() Failed]"},
            // An account without the privilege: the call succeeds, the last error tells.
            PrivilegeFailure{"NotAllAssigned",
                             [](FakeSystemCalls& c) { c.lastErrorAfterAdjust = 1300; },
                             "MessageBox [Exit Error] [AdjustTokenPrivileges() Failed]"}),
        testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "Reboot" : "PowerOff");
    });

TEST_F(SystemOperationsTest, OutsideTheNtFamilyShutdownNeedsNoPrivilege) {
    for (const std::optional<std::uint32_t> platform : {std::optional<std::uint32_t>{0}, {1}, {}}) {
        calls().log.clear();
        calls().platformId = platform;
        calls().tokenOpens = false;
        operations().PowerOffComputer();
        EXPECT_THAT(calls().log, ElementsAre("GetVersionEx", "ExitWindowsEx 0xC 0"));
    }
}

TEST_F(SystemOperationsTest, HibernateAndStandBySuspendAfterEnablingThePrivilege) {
    operations().HibernateComputer();
    operations().StandByComputer();

    EXPECT_THAT(calls().log,
                ElementsAre("OpenProcessToken 0x28", "LookupPrivilegeValue SeShutdownPrivilege",
                            "AdjustTokenPrivileges token 19 0x2", "SetSuspendState true true",
                            "close token", "OpenProcessToken 0x28",
                            "LookupPrivilegeValue SeShutdownPrivilege",
                            "AdjustTokenPrivileges token 19 0x2", "SetSuspendState false false",
                            "close token"));
}

TEST_F(SystemOperationsTest, HibernateAndStandByFailSilently) {
    calls().adjustSucceeds = false;
    operations().HibernateComputer();
    calls().tokenOpens = false;
    operations().StandByComputer();

    EXPECT_THAT(calls().log, testing::Not(testing::Contains(testing::StartsWith("SetSuspend"))));
    EXPECT_THAT(calls().log, testing::Not(testing::Contains(testing::StartsWith("MessageBox"))));
    EXPECT_THAT(calls().log, testing::Not(testing::Contains("GetLastError")));
}

TEST(CdElementNameTest, TakesTheDriveLetterOfTheDestination) {
    for (const std::u16string_view drive : {u"e", u"E:", u"E:\\", u"e:\\"}) {
        EXPECT_EQ(CdElementName(drive), u"E:") << ToUtf8(drive);
    }
    EXPECT_EQ(CdElementName(u""), std::nullopt);
    EXPECT_EQ(CdElementName(u"\\\\.\\cdrom0"), std::nullopt);
}

TEST_F(SystemOperationsTest, CdDoorOpensTheDeviceSetsTheDoorAndClosesIt) {
    operations().OpenCdDoor(u"E:");
    operations().CloseCdDoor(u"f");

    EXPECT_THAT(
        calls().log,
        ElementsAre("mciSendCommand 0 0x803 0x2200 [CDAudio] [E:]", "mciSendCommand 7 0x80D 0x100",
                    "mciSendCommand 7 0x804 0x0", "mciSendCommand 0 0x803 0x2200 [CDAudio] [F:]",
                    "mciSendCommand 7 0x80D 0x200", "mciSendCommand 7 0x804 0x0"));
}

TEST_F(SystemOperationsTest, CdDoorStopsSilentlyWhenTheDeviceCannotBeOpened) {
    calls().mciOpenResult = 275;
    operations().OpenCdDoor(u"e");
    operations().OpenCdDoor(u"");

    EXPECT_THAT(calls().log, ElementsAre("mciSendCommand 0 0x803 0x2200 [CDAudio] [E:]"));
}

TEST(ProcessNameMatchesTest, ComparesTheFileNameOrTheWholeEntryIgnoringAsciiCase) {
    EXPECT_TRUE(ProcessNameMatches(u"EDITOR.EXE", u"editor.exe"));
    EXPECT_TRUE(ProcessNameMatches(u"C:\\Apps\\Editor.exe", u"editor.EXE"));
    EXPECT_TRUE(ProcessNameMatches(u"C:\\Apps\\Editor.exe", u"c:\\apps\\editor.exe"));
    EXPECT_FALSE(ProcessNameMatches(u"C:\\Apps\\Editor.exe", u"apps\\editor.exe"));
    EXPECT_FALSE(ProcessNameMatches(u"myeditor.exe", u"editor.exe"));
    EXPECT_FALSE(ProcessNameMatches(u"editor.exe", u"editor"));
    // Only ASCII letters fold: É and é stay different.
    EXPECT_FALSE(ProcessNameMatches(u"\u00C9DIT.EXE", u"\u00E9dit.exe"));
    EXPECT_TRUE(ProcessNameMatches(u"\u00E9DIT.EXE", u"\u00E9dit.exe"));
}

TEST_F(SystemOperationsTest, CloseProgramByNameEndsEveryMatchingProcessAndClosesEachHandle) {
    calls().processes = {{4, u"System"},
                         {10, u"C:\\Apps\\EDITOR.EXE"},
                         {11, u"editor.exe"},
                         {12, u"xeditor.exe"},
                         {13, u"Editor.exe"}};
    calls().processesThatCannotBeOpened = {11};

    operations().CloseProgramByName(u"Editor.exe");

    EXPECT_THAT(
        calls().log,
        ElementsAre("CreateToolhelp32Snapshot 0x2", "Process32First snapshot",
                    "Process32Next snapshot", "OpenProcess 0x1 false 10",
                    "TerminateProcess process 10 0", "close process 10", "Process32Next snapshot",
                    "OpenProcess 0x1 false 11", "Process32Next snapshot", "Process32Next snapshot",
                    "OpenProcess 0x1 false 13", "TerminateProcess process 13 0", "close process 13",
                    "Process32Next snapshot", "close snapshot"));
}

TEST_F(SystemOperationsTest, CloseProgramByNameWithoutSnapshotOrMatchEndsNothing) {
    calls().processes = {{4, u"System"}};
    operations().CloseProgramByName(u"editor.exe");
    calls().snapshotOpens = false;
    operations().CloseProgramByName(u"System");

    EXPECT_THAT(calls().log, testing::Not(testing::Contains(testing::StartsWith("OpenProcess"))));
}

TEST_F(SystemOperationsTest, SpecialFolderIsOpenedByItsItemIdListWhichIsThenFreed) {
    operations().OpenSpecialFolder(17, 3);
    calls().folderFound = false;
    operations().OpenSpecialFolder(5, 1);

    EXPECT_THAT(calls().log,
                ElementsAre("SHGetSpecialFolderLocation 17", "ShellExecuteEx item-ID list 3",
                            "close item-ID list", "SHGetSpecialFolderLocation 5"));
}

TEST_F(SystemOperationsTest, MinimizeAllAlternatesAndRetriesAfterAFailure) {
    operations().ToggleMinimizeAll();
    operations().ToggleMinimizeAll();
    calls().shellCallFails = true;
    EXPECT_THROW(operations().ToggleMinimizeAll(), Error);
    calls().shellCallFails = false;
    operations().ToggleMinimizeAll();
    calls().shellCallFails = true;
    EXPECT_THROW(operations().ToggleMinimizeAll(), Error);
    calls().shellCallFails = false;
    operations().ToggleMinimizeAll();

    EXPECT_THAT(calls().log, ElementsAre("MinimizeAll", "UndoMinimizeALL", "MinimizeAll",
                                         "MinimizeAll", "UndoMinimizeALL", "UndoMinimizeALL"));
}

TEST_F(SystemOperationsTest, TwoMinimizeTasksShareOneAlternation) {
    TaskTable table;
    table.AppendTask({.desc = u"Minimize/Maximaze all windows", .hotkey = u"F1"});
    table.AppendTask({.desc = u"Minimize/Maximaze all windows", .hotkey = u"F2"});
    const RowsByHotKey rows{{0x70, {0}}, {0x71, {1}}};
    Dispatcher dispatcher(table, rows, operations(), [] { throw; });

    dispatcher.OnHotKeyPressed(0x70);
    dispatcher.OnHotKeyPressed(0x71);
    dispatcher.OnHotKeyPressed(0x71);

    EXPECT_THAT(calls().log, ElementsAre("MinimizeAll", "UndoMinimizeALL", "MinimizeAll"));
}

TEST_F(SystemOperationsTest, ClearClipboardEmptiesAnOpenedClipboardAndGivesItBack) {
    operations().ClearClipboard();
    EXPECT_THAT(calls().log, ElementsAre("OpenClipboard", "EmptyClipboard", "CloseClipboard"));
}

TEST_F(SystemOperationsTest, ClearClipboardRaisesWhenTheClipboardIsHeld) {
    calls().clipboardOpens = false;
    EXPECT_EQ(ErrorTextOf([&] { operations().ClearClipboard(); }), u"Cannot open clipboard");
    EXPECT_THAT(calls().log, ElementsAre("OpenClipboard"));
}

}  // namespace
}  // namespace quorvel
