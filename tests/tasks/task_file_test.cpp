#include "tasks/task_file.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "error_text.h"
#include "memory_file_system.h"
#include "task_rows.h"

namespace quorvel {
namespace {

const std::u16string kFolder = u"C:\\Quorvel\\data";
const std::u16string kPath = kFolder + u"\\actions.cfg";
const std::u16string kBackup = kPath + u".bak";

const std::vector<Task> kTasks{{u"Run Notepad", u"Ctrl+Alt+N", u"", u"Normal", 3, true},
                               {u"Run Program", u"Ctrl+P", u"C:\\a, b.exe", u"Hide", 1, false}};

// A file whose second line has a bad Image field: a load stops there, and the third row exists
// only in the file.
const std::vector<std::uint8_t> kDamagedFile = Utf16LittleEndian(
    u"1,Run Notepad,Ctrl+N,,Normal,0,True\r\n2,Run Program,Ctrl+P,,Hide,oops,True\r\n"
    u"3,Clear Clipboard,Ctrl+C,,Normal,0,True\r\n");

class TaskFileTest : public testing::Test {
  protected:
    TaskFileTest() { files_.AddFolder(u"C:\\Quorvel"); }

    // The reason a save gives after the file's name.
    std::u16string SaveFailure(const TaskTable& table) {
        const std::u16string named = u"Cannot save file \"" + kPath + u"\". ";
        const std::u16string text = ErrorTextOf([&] { taskFile_.Save(table); });
        return text.starts_with(named) ? text.substr(named.size()) : text;
    }

    // Loads the damaged file, which fails part way as it should.
    TaskTable LoadDamaged() {
        files_.CreateDirectory(kFolder);
        files_.ReplaceFile(kPath, kDamagedFile);
        TaskTable table;
        EXPECT_THROW(taskFile_.Load(table), Error);
        EXPECT_EQ(table.RowCount(), 2);
        return table;
    }

    std::vector<std::uint8_t> Content(const std::u16string& path) { return files_.ReadFile(path); }

    MemoryFileSystem files_;
    TaskFile taskFile_{files_, kPath};
};

TEST_F(TaskFileTest, SaveCreatesTheMissingDataFolderAndLoadReadsItBack) {
    TaskTable saved = TableOf(kTasks);
    taskFile_.Save(saved);
    EXPECT_TRUE(files_.FolderExists(kFolder));
    TaskTable loaded;
    taskFile_.Load(loaded);
    EXPECT_EQ(TasksOf(loaded), kTasks);
}

TEST_F(TaskFileTest, SaveWithoutTheParentFolderFails) {
    TaskFile elsewhere(files_, u"D:\\Gone\\data\\actions.cfg");
    EXPECT_EQ(FileErrorOf([&] { elsewhere.Save(TaskTable()); }),
              u"3 Cannot save file \"D:\\Gone\\data\\actions.cfg\". Invalid filename");
}

TEST_F(TaskFileTest, AFailedSaveLeavesThePreviousFileWhole) {
    TaskTable table = TableOf(kTasks);
    taskFile_.Save(table);
    const std::vector<std::uint8_t> before = Content(kPath);
    table.RemoveRow(0);

    files_.FailNextWrite(101);
    EXPECT_EQ(SaveFailure(table), u"Disk full");
    EXPECT_EQ(Content(kPath), before);

    files_.SetReadOnly(kPath);
    EXPECT_EQ(SaveFailure(table), u"File access denied");
    EXPECT_EQ(Content(kPath), before);
}

TEST_F(TaskFileTest, TheFirstSaveAfterAPartialLoadKeepsTheFileAsBackup) {
    TaskTable table = LoadDamaged();
    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), kDamagedFile);
    TaskTable saved;
    taskFile_.Load(saved);
    EXPECT_EQ(TasksOf(saved), TasksOf(table));

    // Later saves leave the backup alone.
    table.RemoveRow(0);
    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), kDamagedFile);
    EXPECT_EQ(files_.Files().size(), 2u);
}

TEST_F(TaskFileTest, AnOlderBackupIsNeverOverwritten) {
    TaskTable table = LoadDamaged();
    const std::vector<std::uint8_t> older = Utf16LittleEndian(u"1,older\r\n");
    files_.ReplaceFile(kBackup, older);
    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), older);
    EXPECT_EQ(Content(kBackup + u"2"), kDamagedFile);
}

TEST_F(TaskFileTest, NoSecondBackupOfTheSameContent) {
    // A save that failed after the backup leaves the damaged file; loading it again at the
    // next start must not pile up copies of it.
    TaskTable table = LoadDamaged();
    taskFile_.Save(table);
    files_.ReplaceFile(kPath, kDamagedFile);

    TaskFile nextStart(files_, kPath);
    TaskTable again;
    EXPECT_THROW(nextStart.Load(again), Error);
    nextStart.Save(again);
    EXPECT_FALSE(files_.FileExists(kBackup + u"2"));
}

TEST_F(TaskFileTest, ABackupThatCannotBeMadeStopsTheSave) {
    TaskTable table = LoadDamaged();
    files_.FailNextWrite(101);
    EXPECT_EQ(SaveFailure(table), u"Disk full");
    EXPECT_EQ(Content(kPath), kDamagedFile);
    EXPECT_FALSE(files_.FileExists(kBackup));

    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), kDamagedFile);
}

TEST_F(TaskFileTest, AnUnreadableFileIsBackedUpBeforeItIsReplaced) {
    files_.CreateDirectory(kFolder);
    files_.ReplaceFile(kPath, kDamagedFile);
    files_.SetLocked(kPath, 32);
    TaskTable table;
    EXPECT_THROW(taskFile_.Load(table), FileError);
    files_.ClearLocked(kPath);
    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), kDamagedFile);
}

TEST_F(TaskFileTest, CleanLoadsAndMissingFilesMakeNoBackup) {
    TaskTable table;
    EXPECT_THROW(taskFile_.Load(table), FileError);
    table = TableOf(kTasks);
    taskFile_.Save(table);
    taskFile_.Load(table);
    taskFile_.Save(table);
    EXPECT_EQ(files_.Files().size(), 1u);
}

}  // namespace
}  // namespace quorvel
