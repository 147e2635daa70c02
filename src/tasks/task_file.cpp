#include "tasks/task_file.h"

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"
#include "tasks/actions_file.h"

namespace quorvel {

namespace {

constexpr char16_t kSeparator = u',';
constexpr char16_t kLineBreak = u'|';

std::u16string BackupName(const std::u16string& path, int number) {
    return path + u".bak" + (number > 1 ? ToText(number) : std::u16string());
}

}  // namespace

TaskFile::TaskFile(FileSystem& files, std::u16string path)
    : files_(files), path_(std::move(path)) {}

void TaskFile::Load(TaskTable& table) {
    backupPending_ = false;
    try {
        ReadDelimited(table, files_, path_, kSeparator, kLineBreak);
    } catch (...) {
        backupPending_ = true;
        throw;
    }
}

void TaskFile::Save(const TaskTable& table) {
    if (backupPending_) {
        KeepBackup();
        backupPending_ = false;
    }
    try {
        const std::u16string folder = FolderOf(path_);
        if (!folder.empty()) files_.CreateDirectory(folder);
        WriteDelimited(table, files_, path_, kSeparator, kLineBreak, kUtf16LittleEndianEncoding);
    } catch (const FileError& e) {
        // A box that says only "Disk full" leaves the user guessing which file it was.
        throw FileError(u"Cannot save file \"" + path_ + u"\". " + e.Message(), e.Code());
    }
}

void TaskFile::KeepBackup() {
    if (!files_.FileExists(path_)) return;
    const std::vector<std::uint8_t> content = files_.ReadFile(path_);
    int number = 1;
    for (; files_.FileExists(BackupName(path_, number)); ++number) {
        if (files_.ReadFile(BackupName(path_, number)) == content) return;
    }
    files_.CopyFile(path_, BackupName(path_, number));
}

}  // namespace quorvel
