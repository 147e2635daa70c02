#pragma once

#include <string>

#include "common/file_system.h"
#include "tasks/task_table.h"

namespace quorvel {

// The actions file of the task table: loaded once at start, saved after every change.
//
// Saves replace the file atomically and create its folder when it is missing. When a load
// fails (a field it cannot convert, or a file that exists but cannot be read), rows may exist
// only in the file, so the first save afterwards first copies the file, if it is there, to a
// backup beside it: "<path>.bak", or the first free one of "<path>.bak2", "<path>.bak3", ...
// An existing backup is never overwritten, and no copy is made when one of them already holds
// exactly the file's content.
class TaskFile {
  public:
    TaskFile(FileSystem& files, std::u16string path);

    // Throws FileError when the file cannot be read and the conversion Error of a bad field.
    void Load(TaskTable& table);
    // Throws FileError when the backup or the file cannot be written, its text naming the file;
    // the file is then as it was before.
    void Save(const TaskTable& table);

    const std::u16string& Path() const { return path_; }
    bool Exists() const { return files_.FileExists(path_); }

  private:
    void KeepBackup();

    FileSystem& files_;
    std::u16string path_;
    bool backupPending_ = false;
};

}  // namespace quorvel
