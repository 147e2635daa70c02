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

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

// Reads a file whole; a failure names the file.
std::vector<std::uint8_t> ReadNamed(FileSystem& files, const std::u16string& path) {
    try {
        return files.ReadFile(path);
    } catch (const FileError& e) {
        throw FileError(CannotOpenFileText(path, e.Message()), e.Code());
    }
}

// Runs a write of the file; its failure names the file.
template <typename Write>
void Writing(const std::u16string& path, Write&& write) {
    try {
        write();
    } catch (const FileError& e) {
        throw FileError(u"Cannot write file " + Quoted(path) + u". " + e.Message(), e.Code());
    }
}

}  // namespace

std::u16string DamagedTaskFileNote(const TaskFileLoad& load, int tasksRead) {
    if (!load.damaged) return {};
    std::u16string note = u"The task list " + Quoted(load.file) + u" could not be read whole. ";
    if (tasksRead == 0) {
        note += u"No task could be read from it.";
    } else {
        note += tasksRead == 1 ? u"1 task was read" : ToText(tasksRead) + u" tasks were read";
        note += u"; a task that was cut short is kept switched off.";
    }
    if (load.backup.empty()) {
        return note + u"\n\nNo copy of the file could be made: it is not replaced until one is.";
    }
    return note + u"\n\nThe file as it was is kept in " + Quoted(load.backup) + u".";
}

TaskFile::TaskFile(FileSystem& files, std::u16string path)
    : files_(files), path_(std::move(path)) {}

const TaskFileLoad& TaskFile::Load(TaskTable& table) {
    lastLoad_ = TaskFileLoad{.file = path_, .damaged = false, .backup = {}};
    backupOwed_ = false;
    try {
        const ReadOutcome outcome = ReadDelimited(table, files_, path_, kSeparator, kLineBreak);
        lastLoad_.damaged = outcome.lost;
        if (!outcome.ownForm) KeepOriginal();
    } catch (const FileError&) {
        // Missing, or there but not readable now: then it is kept before the first save.
        backupOwed_ = files_.FileExists(path_);
        throw;
    } catch (const Error&) {
        // A field stopped the reading: the rows after it exist only in the file.
        lastLoad_.damaged = true;
        KeepOriginal();
        throw;
    }
    return lastLoad_;
}

// A copy that cannot be made now is made before the first save.
void TaskFile::KeepOriginal() {
    try {
        lastLoad_.backup = KeepBackup();
    } catch (const FileError&) {
        backupOwed_ = true;
    }
}

void TaskFile::Save(const TaskTable& table) {
    if (backupOwed_) {
        KeepBackup();
        backupOwed_ = false;
    }
    Writing(path_, [&] {
        const std::u16string folder = FolderOf(path_);
        if (!folder.empty()) files_.CreateDirectory(folder);
        WriteDelimited(table, files_, path_, kSeparator, kLineBreak, kUtf16LittleEndianEncoding);
    });
}

// The backup that holds the file's content: an existing one, else a new copy.
std::u16string TaskFile::KeepBackup() {
    if (!files_.FileExists(path_)) return {};
    const std::vector<std::uint8_t> content = ReadNamed(files_, path_);
    int number = 1;
    for (; files_.FileExists(BackupName(path_, number)); ++number) {
        if (ReadNamed(files_, BackupName(path_, number)) == content) {
            return BackupName(path_, number);
        }
    }
    const std::u16string backup = BackupName(path_, number);
    Writing(backup, [&] { files_.CopyFile(path_, backup); });
    return backup;
}

}  // namespace quorvel
