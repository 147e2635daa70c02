#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/file_system.h"
#include "tasks/task_table.h"

namespace quorvel {

// What the load of the task file found besides the rows.
struct TaskFileLoad {
    std::u16string file;  // the task file read
    // Rows or text of the file are not in the table: a damaged record, a bad number, a file
    // that is no task list at all.
    bool damaged = false;
    // Where the file is kept as it was, when the table would not be written back to the same
    // bytes; empty when it needed no copy or none could be made.
    std::u16string backup;
    // Why the file, which is there, could not be read (another program holds it, say); empty
    // when it was read or is missing. The table is then empty, and the file is not written.
    std::u16string unreadable;
};

// The notice at start about a file the load could not read whole, with the number of tasks
// read: which file, what was kept, where the copy is; or which file could not be read at all,
// and why. Empty when nothing was lost.
std::u16string DamagedTaskFileNote(const TaskFileLoad& load, int tasksRead);
// The error of a change asked for while the task file cannot be read.
std::u16string UnreadableTaskListText(const TaskFileLoad& load);
// The notice that a save kept another program's version of the file in `backup`.
std::u16string ChangedOutsideNote(const std::u16string& file, const std::u16string& backup);

// The actions file of the task table: loaded at start, saved after every change.
//
// Saves replace the file atomically and create its folder when it is missing. A file the
// table would not be written back to byte for byte (another tool's, a damaged one) is first
// copied to a backup beside it: "<path>.bak", or the first free one of "<path>.bak2",
// "<path>.bak3", ... The copy is made at the load; when it cannot be made then, the first save
// makes it before it replaces the file. So is a file another program changed since it was last
// read or written here. An existing backup is never overwritten, and no copy is made when one
// of them already holds exactly the file's content. A file that is there but cannot be read
// is never written.
class TaskFile {
  public:
    TaskFile(FileSystem& files, std::u16string path);

    // Fills the table from the file, first removing what a killed save left beside it. A
    // missing file, or one that cannot be read (LastLoad().unreadable), gives an empty table.
    // Throws the conversion Error of a bad field; LastLoad() then says what the load found.
    const TaskFileLoad& Load(TaskTable& table);
    const TaskFileLoad& LastLoad() const { return lastLoad_; }
    // False while the file, which is there, could not be read.
    bool Readable() const { return lastLoad_.unreadable.empty(); }
    // Writes the table, after a load the one loaded, when the file would change: when the
    // table's bytes differ from those the file held as last read or written here, or the file
    // has gone. The file as another
    // program left it stays as it is while the table is what was last read or written and the
    // file reads whole; else it is kept in a backup first, and Save gives the backup's name
    // (empty otherwise). Throws FileError, naming the file, when the backup or the file cannot
    // be written; the file is then as it was before.
    std::u16string Save(const TaskTable& table);
    // Whether the file is no longer the one last read or written here: changed or gone. A
    // state that cannot be told counts as unchanged.
    bool ChangedOutside();

    const std::u16string& Path() const { return path_; }

  private:
    void KeepOriginal();
    std::u16string KeepBackup();
    bool HoldsTheFile(const std::u16string& backup);
    bool LosesRows(const TaskTable& table);
    void TakeLoadedHash(const TaskTable& table, std::size_t hash,
                        const std::optional<FileSystem::FileStamp>& now);
    void Replace(const std::vector<std::uint8_t>& bytes);

    FileSystem& files_;
    std::u16string path_;
    std::u16string folder_;  // made by a save when it is missing
    TaskFileLoad lastLoad_;
    bool backupOwed_ = false;
    // The file as last read or written here: its state (none: there was no file), and a hash
    // of its bytes when they were the writer's own. A load of the writer's own bytes leaves
    // the hash to the first save, which encodes the table anyway: the table's change count
    // then tells whether it is still as read.
    std::optional<FileSystem::FileStamp> stamp_;
    std::optional<std::size_t> writtenHash_;
    std::optional<std::uint64_t> loadedChangeCount_;
};

}  // namespace quorvel
