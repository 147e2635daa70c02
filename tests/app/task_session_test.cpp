#include "app/task_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_hotkey_api.h"
#include "fake_key_names.h"
#include "memory_file_system.h"
#include "recording_operations.h"
#include "recording_pictures.h"
#include "task_rows.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using testing_support::FakeHotKeyApi;
using testing_support::RecordingOperations;
using testing_support::RecordingPictures;

const std::u16string kPath = u"C:\\Quorvel\\data\\actions.cfg";
constexpr HotKeyValue kCtrlAltN = 0xC04E;
constexpr HotKeyValue kCtrlAltM = 0xC04D;
constexpr HotKeyValue kCtrlAltQ = 0xC051;
using Status = HotKeyStatus;

class TaskSessionTest : public ::testing::Test {
  protected:
    TaskSessionTest() { files_.AddFolder(u"C:\\Quorvel\\data"); }

    void WriteActionsFile(std::u16string_view lines) {
        files_.ReplaceFile(kPath, Utf16LittleEndian(lines));
    }
    std::vector<HotKeyValue> Bound() const {
        std::vector<HotKeyValue> bound;
        for (const HotKeyBinding& binding : dravlin1_.Bindings()) bound.push_back(binding.HotKey);
        return bound;
    }
    std::vector<Status> Statuses() const {
        const auto statuses = session_.HotKeyStatuses();
        return {statuses.begin(), statuses.end()};
    }
    // Another program's hold on Ctrl+Alt+Q.
    void HoldCtrlAltQElsewhere() { api_.registered[1] = {0x9999, kModControl | kModAlt, 0x51}; }
    TaskTable& Table() { return session_.NextGrid1(); }
    // What the system was asked for and what it holds for Quorvel after a change.
    void RegisterAgain() {
        api_.calls.clear();
        session_.RegisterTaskHotKeys();
    }

    MemoryFileSystem files_;
    testing::FakeKeyNames keyNames_;
    HotKeyText hotKeyText_{keyNames_};
    FakeHotKeyApi api_;
    TDravlin dravlin1_{api_, /*windowHandle=*/1};
    RecordingOperations operations_;
    RecordingPictures pictures_;
    TaskSession session_{files_, kPath, hotKeyText_, dravlin1_, operations_, pictures_};
};

TEST_F(TaskSessionTest, StartUpReadsTheTasksBuildsTheirPicturesAndBindsTheEnabledRowsHotkeys) {
    WriteActionsFile(
        u"1,Run Calc,Ctrl+Alt+N,,Normal,7,True\r\n2,Run Notepad,Ctrl+Alt+M,,Normal,0,False\r\n"
        u"3,Run Calc,,,,0,True\r\n4,Run Calc,Bogus,,,0,True\r\n5,Run "
        u"Notepad,Ctrl+Alt+N,,,0,True\r\n6,Run Calc,Ctrl+Alt+Q,,,0,True\r\n");
    HoldCtrlAltQElsewhere();
    int repaints = 0;
    Table().SetRepaintHandler([&] { ++repaints; });

    session_.StartUp();

    EXPECT_EQ(Table().RowCount(), 6);
    EXPECT_EQ(pictures_.list.size(), 6u);
    EXPECT_EQ(Table().ViewAt(0).image, 0) << "the picture's place, not the file's";
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN}) << "once, and not the disabled row's";
    EXPECT_EQ(Statuses(),
              (std::vector<Status>{Status::kActive, Status::kDisabled, Status::kNoHotKey,
                                   Status::kNotOnLayout, Status::kActive, Status::kInUse}));
    EXPECT_EQ(session_.HotKeyStatusAt(6), Status::kActive) << "a row not registered yet";
    EXPECT_GT(repaints, 0) << "the statuses shown";
    EXPECT_EQ(files_.Writes(kPath), 1) << "only the test's own";
}

TEST_F(TaskSessionTest, RegistrationsFollowAddEditDeleteAndDisable) {
    session_.StartUp();
    for (int i = 0; i < 1000; ++i) Table().AppendTask({u"Run Calc", u"Ctrl+Alt+N"});
    Table().AppendTask({u"Run Notepad", u"Ctrl+Alt+M"});
    RegisterAgain();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM}));
    EXPECT_EQ(std::count(api_.calls.begin(), api_.calls.end(), "RegisterHotKey 49152"), 1)
        << "one system call for a value a thousand rows share";
    RegisterAgain();
    EXPECT_TRUE(api_.calls.empty()) << "nothing changed, nothing asked";

    // Edit: the old value goes back with its atom, the new one is bound.
    Table().SetTask(1000, {u"Run Notepad", u"Ctrl+Alt+Q"});
    RegisterAgain();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltQ}));
    EXPECT_EQ(api_.AtomCount(kCtrlAltM), 0);
    EXPECT_EQ(api_.registered.size(), 2u);

    // Duplicates: the value stays while any enabled row uses it, and goes with the last.
    for (int row = 999; row > 0; --row) Table().RemoveRow(row);
    RegisterAgain();
    EXPECT_TRUE(api_.calls.empty());
    Table().SetEnabled(0, false);
    RegisterAgain();
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltQ});
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kDisabled, Status::kActive}));
    Table().SetEnabled(0, true);
    RegisterAgain();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltQ, kCtrlAltN}));

    Table().ClearRows();
    RegisterAgain();
    EXPECT_TRUE(Bound().empty());
    EXPECT_TRUE(api_.registered.empty());
    EXPECT_EQ(api_.AtomCount(kCtrlAltN) + api_.AtomCount(kCtrlAltQ), 0);
    EXPECT_TRUE(Statuses().empty());
}

TEST_F(TaskSessionTest, ARefusedHotkeyIsTriedAgainAtEachRegistration) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+Q,,,0,True\r\n2,Run Calc,Ctrl+Alt+Q,,,0,True\r\n");
    HoldCtrlAltQElsewhere();
    session_.StartUp();
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kInUse, Status::kInUse}));

    api_.registerError = FakeHotKeyApi::kErrorNotEnoughMemory;
    RegisterAgain();
    EXPECT_EQ(api_.calls.size(), 3u) << "atom, registration, atom given up: once for both rows";
    EXPECT_EQ(session_.HotKeyStatusAt(1), Status::kRefused);

    api_.registerError = 0;
    api_.registered.clear();  // the other program lets go
    RegisterAgain();
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kActive, Status::kActive}));
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltQ});
}

TEST_F(TaskSessionTest, AFailedReadKeepsItsRowsBuildsNoPicturesAndStillBinds) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,,0,True\r\n2,Run Notepad,Ctrl+Alt+M,,,bad,True\r\n");
    session_.StartUp();
    EXPECT_EQ(session_.NextGrid1().RowCount(), 2);
    EXPECT_EQ(pictures_.removeAllCalls, 0);
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM}));
}

TEST_F(TaskSessionTest, PicturesThatCannotBeBuiltAtStartAreSilent) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,,0,True\r\n");
    pictures_.failing = true;
    EXPECT_NO_THROW(session_.StartUp());
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN});
}

TEST_F(TaskSessionTest, NothingIsSavedBeforeTheStartUpReadAndAFirstStartIsEmpty) {
    session_.SaveTaskFile();
    EXPECT_FALSE(files_.FileExists(kPath));
    session_.StartUp();
    EXPECT_EQ(session_.NextGrid1().RowCount(), 0);
    session_.SaveTaskFile();
    EXPECT_EQ(files_.ReadFile(kPath), Utf16LittleEndian(u""));
}

TEST_F(TaskSessionTest, APressOfARegisteredHotkeyRunsItsEnabledRows) {
    WriteActionsFile(
        u"1,Run Notepad,Ctrl+Alt+N,,,0,False\r\n2,Run Calc,Ctrl+Alt+N,,Hide,0,True\r\n");
    session_.StartUp();
    const auto keys = static_cast<std::intptr_t>(0x4E << 16 | (kModControl | kModAlt));
    dravlin1_.HandleWindowMessage(kWmHotKey, dravlin1_.Bindings().front().Id, keys);
    EXPECT_THAT(operations_.log, ElementsAre("WinExec [calc.exe] 0"));
}

}  // namespace
}  // namespace quorvel
