#include "tasks/task_file.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "error_text.h"
#include "memory_file_system.h"
#include "tasks/actions_file.h"
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

    std::u16string SaveFailure(const TaskTable& table) {
        return ErrorTextOf([&] { taskFile_.Save(table); });
    }

    void WriteFile(const std::vector<std::uint8_t>& bytes) {
        files_.CreateDirectory(kFolder);
        files_.ReplaceFile(kPath, bytes);
    }

    // Loads the damaged file, which fails part way as it should.
    TaskTable LoadDamaged() {
        WriteFile(kDamagedFile);
        TaskTable table;
        EXPECT_THROW(taskFile_.Load(table), Error);
        EXPECT_EQ(table.RowCount(), 2);
        EXPECT_TRUE(taskFile_.LastLoad().damaged);
        return table;
    }

    std::vector<std::uint8_t> Content(const std::u16string& path) { return files_.ReadFile(path); }

    MemoryFileSystem files_;
    TaskFile taskFile_{files_, kPath};
};

TEST_F(TaskFileTest, SaveCreatesTheMissingDataFolderAndCleanLoadsMakeNoBackup) {
    TaskTable loaded;
    EXPECT_TRUE(taskFile_.Load(loaded).unreadable.empty()) << "no file yet: a first start";
    EXPECT_EQ(loaded.RowCount(), 0);
    TaskTable saved = TableOf(kTasks);
    taskFile_.Save(saved);
    EXPECT_TRUE(files_.FolderExists(kFolder));
    // What a save that was killed part way left.
    files_.ReplaceFile(kPath + u".tmp", Utf16LittleEndian(u"1,half"));
    EXPECT_FALSE(taskFile_.Load(loaded).damaged);
    EXPECT_EQ(TasksOf(loaded), kTasks);
    loaded.SetEnabled(0, true);  // a change that leaves the bytes as they are
    taskFile_.Save(loaded);
    EXPECT_EQ(files_.Writes(kPath), 1) << "the file holds the list already";
    EXPECT_EQ(files_.Files().size(), 1u);
}

TEST_F(TaskFileTest, AFailedSaveLeavesThePreviousFileWhole) {
    TaskTable table = TableOf(kTasks);
    taskFile_.Save(table);
    const std::vector<std::uint8_t> before = Content(kPath);
    table.RemoveRow(0);

    files_.FailNextWrite(101);
    EXPECT_EQ(SaveFailure(table), u"Cannot write file \"" + kPath + u"\". Disk full");
    EXPECT_EQ(Content(kPath), before);

    files_.SetReadOnly(kPath);
    EXPECT_EQ(SaveFailure(table), u"Cannot write file \"" + kPath + u"\". File access denied");
    EXPECT_EQ(Content(kPath), before);

    TaskFile elsewhere(files_, u"D:\\Gone\\data\\actions.cfg");
    EXPECT_EQ(FileErrorOf([&] { elsewhere.Save(TaskTable()); }),
              u"3 Cannot write file \"D:\\Gone\\data\\actions.cfg\". Invalid filename");
}

TEST_F(TaskFileTest, ADamagedFileIsCopiedAtTheLoadAndSaidToBeDamaged) {
    TaskTable table = LoadDamaged();
    EXPECT_EQ(Content(kBackup), kDamagedFile) << "before any save";
    EXPECT_EQ(taskFile_.LastLoad().backup, kBackup);
    EXPECT_EQ(ToUtf8(DamagedTaskFileNote(taskFile_.LastLoad(), table.RowCount())),
              "The task list \"C:\\Quorvel\\data\\actions.cfg\" could not be read whole. 2 tasks "
              "were read; a task that was cut short is kept switched off.\n\nThe file as it was "
              "is kept in \"C:\\Quorvel\\data\\actions.cfg.bak\".");

    // Saves leave the backup alone.
    taskFile_.Save(table);
    table.RemoveRow(0);
    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), kDamagedFile);
    EXPECT_EQ(files_.Files().size(), 2u);
}

TEST_F(TaskFileTest, AFileInAnotherFormIsCopiedWithoutAlarmAndWrittenInTheOwnAtTheFirstSave) {
    const std::string utf8 =
        "\xEF\xBB\xBF"
        "1,Run Calc,Ctrl+C,s\xC3\xB8k,Normal,0,True\r\n";
    WriteFile({utf8.begin(), utf8.end()});
    TaskTable table;
    const TaskFileLoad& load = taskFile_.Load(table);
    EXPECT_FALSE(load.damaged);
    EXPECT_EQ(DamagedTaskFileNote(load, table.RowCount()), u"");
    EXPECT_EQ(Content(kBackup), std::vector<std::uint8_t>(utf8.begin(), utf8.end()));
    EXPECT_EQ(table.ViewAt(0).dest, u"s\u00f8k");

    // The same table, yet not the same bytes: written, and no copy of the own form is due.
    EXPECT_EQ(taskFile_.Save(table), u"");
    EXPECT_EQ(Content(kPath), EncodeDelimited(table, u',', u'|', kUtf16LittleEndianEncoding));
    TaskFile nextStart(files_, kPath);
    TaskTable again;
    EXPECT_EQ(nextStart.Load(again).backup, u"");
    EXPECT_EQ(files_.Files().size(), 2u);
}

TEST_F(TaskFileTest, AnotherProgramsChangeIsKeptBeforeTheNextWriteAndLeftAloneWithoutOne) {
    TaskTable table = TableOf(kTasks);
    taskFile_.Save(table);
    taskFile_.Load(table);
    const std::vector<std::uint8_t> appended = Utf16LittleEndian(
        u"1,Run Notepad,Ctrl+Alt+N,,Normal,3,True\r\n2,Run Program,Ctrl+P,"
        u"\"C:\\a, b.exe\",Hide,1,False\r\n3,Run Calc,Ctrl+Alt+C,,Normal,0,True\r\n");
    files_.ReplaceFile(kPath, appended);

    EXPECT_EQ(taskFile_.Save(table), u"") << "nothing changed here";
    EXPECT_EQ(Content(kPath), appended);
    table.RemoveRow(1);
    EXPECT_EQ(taskFile_.Save(table), kBackup);
    EXPECT_EQ(Content(kBackup), appended);
    EXPECT_EQ(TasksOf(table), std::vector<Task>{kTasks[0]});
    table.RemoveRow(0);
    EXPECT_EQ(taskFile_.Save(table), u"") << "the file is again the one written here";

    // A file that appears where there was none is another program's too.
    TaskFile firstStart(files_, kFolder + u"\\new.cfg");
    TaskTable empty;
    firstStart.Load(empty);
    files_.ReplaceFile(kFolder + u"\\new.cfg", appended);
    EXPECT_EQ(firstStart.Save(empty), kFolder + u"\\new.cfg.bak");
}

TEST_F(TaskFileTest, AnOlderBackupIsNeverOverwrittenNorTheSameContentCopiedTwice) {
    files_.CreateDirectory(kFolder);
    const std::vector<std::uint8_t> older = Utf16LittleEndian(u"1,older\r\n");
    files_.ReplaceFile(kBackup, older);
    files_.AddFolder(kBackup + u"2");  // anything in the way is passed over
    LoadDamaged();
    EXPECT_EQ(Content(kBackup), older);
    EXPECT_EQ(Content(kBackup + u"3"), kDamagedFile);
    EXPECT_EQ(taskFile_.LastLoad().backup, kBackup + u"3");

    // A save that failed leaves the damaged file; loading it again at the next start must
    // not pile up copies of it.
    TaskFile nextStart(files_, kPath);
    TaskTable again;
    EXPECT_THROW(nextStart.Load(again), Error);
    EXPECT_EQ(nextStart.LastLoad().backup, kBackup + u"3");
    EXPECT_FALSE(files_.PathExists(kBackup + u"4"));
}

TEST_F(TaskFileTest, ABackupThatCannotBeMadeAtTheLoadIsMadeBeforeTheSaveOrStopsIt) {
    WriteFile(kDamagedFile);
    files_.FailNextWrite(101);
    TaskTable table;
    EXPECT_THROW(taskFile_.Load(table), Error);
    EXPECT_EQ(taskFile_.LastLoad().backup, u"");
    EXPECT_NE(DamagedTaskFileNote(taskFile_.LastLoad(), 2).find(u"No copy of the file"),
              std::u16string::npos);

    files_.FailNextWrite(101);
    EXPECT_EQ(SaveFailure(table), u"Cannot write file \"" + kBackup + u"\". Disk full");
    EXPECT_EQ(Content(kPath), kDamagedFile);
    EXPECT_FALSE(files_.FileExists(kBackup));

    taskFile_.Save(table);
    EXPECT_EQ(Content(kBackup), kDamagedFile);
}

// Held by another program, or cut short by one while it is read: the table is empty and the
// file is left alone until a load reads it.
TEST_F(TaskFileTest, AFileThatCannotBeReadIsNeverWrittenUntilALoadReadsIt) {
    WriteFile(kDamagedFile);
    const TaskTable tasks = TableOf(kTasks);
    const auto expectUnreadable = [&](const std::u16string& reason) {
        TaskTable table = tasks;
        EXPECT_EQ(taskFile_.Load(table).unreadable, reason);
        EXPECT_EQ(table.RowCount(), 0);
        EXPECT_EQ(ToUtf8(DamagedTaskFileNote(taskFile_.LastLoad(), 0)),
                  "The task list \"C:\\Quorvel\\data\\actions.cfg\" cannot be read. " +
                      ToUtf8(reason) +
                      ".\n\nQuorvel runs without the tasks and leaves the file as it is. It reads "
                      "the file again each time its window is activated.");
        EXPECT_EQ(taskFile_.Save(tasks), u"");
        EXPECT_FALSE(files_.FileExists(kBackup));
    };
    files_.SetLocked(kPath, 32);
    expectUnreadable(u"The file is in use by another program");
    files_.ClearLocked(kPath);
    EXPECT_EQ(Content(kPath), kDamagedFile);

    files_.CutShortWhileRead(kPath, 10);
    expectUnreadable(u"The file was cut short while it was read");

    TaskTable table;
    EXPECT_TRUE(taskFile_.Load(table).unreadable.empty());
    EXPECT_EQ(TasksOf(table), (std::vector<Task>{{u"Ru", u"", u"", u"", 0, false}}))
        << "what the other program left";
    EXPECT_EQ(Content(kBackup).size(), 10u);
}

}  // namespace
}  // namespace quorvel
