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

    MemoryFileSystem files_;
    testing::FakeKeyNames keyNames_;
    HotKeyText hotKeyText_{keyNames_};
    FakeHotKeyApi api_;
    TDravlin dravlin1_{api_, /*windowHandle=*/1};
    RecordingOperations operations_;
    RecordingPictures pictures_;
    TaskSession session_{files_, kPath, hotKeyText_, dravlin1_, operations_, pictures_};
};

TEST_F(TaskSessionTest, StartUpReadsTheTasksBuildsTheirPicturesAndBindsEveryRowsHotkey) {
    WriteActionsFile(
        u"1,Run Calc,Ctrl+Alt+N,,Normal,7,True\r\n2,Run Notepad,Ctrl+Alt+M,,Normal,0,False\r\n"
        u"3,Run Calc,,,,0,True\r\n4,Run Calc,Bogus,,,0,True\r\n5,Run "
        u"Notepad,Ctrl+Alt+N,,,0,True\r\n");
    std::vector<HotKeyValue> boundBeforePictures;
    pictures_.onRemoveAll = [&] { boundBeforePictures = Bound(); };

    session_.StartUp();

    EXPECT_EQ(session_.NextGrid1().RowCount(), 5);
    EXPECT_EQ(pictures_.positions.size(), 5u);
    EXPECT_EQ(session_.NextGrid1().ViewAt(0).image, 0) << "the picture's place, not the file's";
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM})) << "disabled rows too";
    EXPECT_EQ(boundBeforePictures, Bound()) << "the hotkeys before the pictures";
    EXPECT_EQ(files_.Writes(kPath), 1) << "only the test's own";
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
