#pragma once

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
};

// The notice at start about a file the load could not read whole, with the number of tasks
// read: which file, what was kept, where the copy is. Empty when nothing was lost.
std::u16string DamagedTaskFileNote(const TaskFileLoad& load, int tasksRead);

// The actions file of the task table: loaded once at start, saved after every change.
//
// Saves replace the file atomically and create its folder when it is missing. A file the
// table would not be written back to byte for byte (another tool's, a damaged one, or one
// that exists but cannot be read) is first copied to a backup beside it: "<path>.bak", or the
// first free one of "<path>.bak2", "<path>.bak3", ... The copy is made at the load; when it
// cannot be made then, the first save makes it before it replaces the file. An existing
// backup is never overwritten, and no copy is made when one of them already holds exactly the
// file's content.
class TaskFile {
  public:
    TaskFile(FileSystem& files, std::u16string path);

    // Throws FileError when the file cannot be read and the conversion Error of a bad field;
    // LastLoad() then says what the load found.
    const TaskFileLoad& Load(TaskTable& table);
    const TaskFileLoad& LastLoad() const { return lastLoad_; }
    // Throws FileError, naming the file, when the backup or the file cannot be written; the
    // file is then as it was before.
    void Save(const TaskTable& table);

    const std::u16string& Path() const { return path_; }
    bool Exists() const { return files_.FileExists(path_); }

  private:
    void KeepOriginal();
    std::u16string KeepBackup();

    FileSystem& files_;
    std::u16string path_;
    TaskFileLoad lastLoad_;
    bool backupOwed_ = false;
};

}  // namespace quorvel
