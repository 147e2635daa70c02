#include "app/task_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
        return {session_.HotKeyStatuses().begin(), session_.HotKeyStatuses().end()};
    }
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
    TaskTable& table_ = session_.NextGrid1();
};

TEST_F(TaskSessionTest, StartUpReadsTheTasksBuildsTheirPicturesAndBindsTheEnabledRowsHotkeys) {
    WriteActionsFile(
        u"1,Run Calc,Ctrl+Alt+N,,Normal,7,True\r\n2,Run Notepad,Ctrl+Alt+M,,Normal,0,False\r\n"
        u"3,Run Calc,,,,0,True\r\n4,Run Calc,Bogus,,,0,True\r\n5,Run "
        u"Notepad,Ctrl+Alt+N,,,0,True\r\n6,Run Calc,Ctrl+Alt+Q,,,0,True\r\n7,Open CD-Rom,"
        u"Ctrl+Alt+Q,,,0,True\r\n");
    api_.registered[1] = {0x9999, kModControl | kModAlt, 0x51};  // another program's Ctrl+Alt+Q

    std::vector<HotKeyValue> boundBeforePictures;
    pictures_.onRemoveAll = [&] { boundBeforePictures = Bound(); };

    session_.StartUp();

    EXPECT_EQ(table_.RowCount(), 7);
    EXPECT_EQ(pictures_.positions.size(), 7u);
    EXPECT_EQ(table_.ViewAt(0).image, 0) << "the picture's place, not the file's";
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN}) << "once, and not the disabled row's";
    EXPECT_EQ(boundBeforePictures, Bound()) << "the hotkeys before the pictures";
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kActive, Status::kDisabled,
                                               Status::kNoHotKey, Status::kNotOnLayout,
                                               Status::kActive, Status::kInUse, Status::kInUse}));
    EXPECT_EQ(ToUtf8(InactiveHotKeysNote(table_, session_.HotKeyStatuses())),
              "4 hotkeys are not active\nRun Calc: (no hotkey)\nRun Calc: Bogus (not a hotkey on "
              "this keyboard layout)\nRun Calc: Ctrl+Alt+Q (in use by another program)\n...");
    EXPECT_EQ(files_.Writes(kPath), 1) << "only the test's own";
}

TEST_F(TaskSessionTest, RegistrationsFollowEditDeleteAndDisableOncePerValue) {
    session_.StartUp();
    for (int i = 0; i < 1000; ++i) table_.AppendTask({u"Run Calc", u"Ctrl+Alt+N"});
    table_.AppendTask({u"Run Notepad", u"Ctrl+Alt+M"});
    RegisterAgain();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM}));
    EXPECT_EQ(api_.calls.size(), 4u) << "one atom and one registration per value";
    RegisterAgain();
    EXPECT_TRUE(api_.calls.empty()) << "nothing changed, nothing asked";

    table_.SetTask(1000, {u"Run Notepad", u"Ctrl+Alt+Q"});  // an edit
    RegisterAgain();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltQ}));
    EXPECT_EQ(api_.AtomCount(kCtrlAltM), 0);

    for (int row = 999; row > 0; --row) table_.RemoveRow(row);  // one duplicate is left
    RegisterAgain();
    EXPECT_TRUE(api_.calls.empty());
    table_.SetEnabled(0, false);
    RegisterAgain();
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltQ});
    table_.SetEnabled(0, true);
    RegisterAgain();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltQ, kCtrlAltN}));

    table_.ClearRows();
    RegisterAgain();
    EXPECT_TRUE(api_.registered.empty());
    EXPECT_EQ(api_.AtomCount(kCtrlAltN) + api_.AtomCount(kCtrlAltQ), 0);
}

TEST_F(TaskSessionTest, ARefusedHotkeyIsTriedAgainAtEachRegistration) {
    table_.AppendTask({u"Run Calc", u"Ctrl+Alt+Q"});
    api_.registerError = FakeHotKeyApi::kErrorNotEnoughMemory;
    RegisterAgain();
    EXPECT_EQ(session_.HotKeyStatusAt(0), Status::kRefused);
    api_.registerError = 0;
    RegisterAgain();
    EXPECT_EQ(Statuses(), std::vector<Status>{Status::kActive});
}

TEST_F(TaskSessionTest, AFailedReadKeepsItsRowsBuildsNoPicturesAndStillBinds) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,,0,True\r\n2,Run Notepad,Ctrl+Alt+M,,,bad,True\r\n");
    session_.StartUp();
    EXPECT_EQ(table_.RowCount(), 2);
    EXPECT_EQ(pictures_.removeAllCalls, 0);
    // The row the reading stopped in is off: its hotkey stays free.
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN});
    EXPECT_TRUE(session_.TaskFileRead().damaged);
    EXPECT_EQ(session_.TaskFileRead().backup, kPath + u".bak");
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
    EXPECT_EQ(table_.RowCount(), 0);
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
