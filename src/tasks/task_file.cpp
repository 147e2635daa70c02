#include "tasks/task_file.h"

#include <functional>
#include <memory>
#include <string_view>

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

// Runs a write of the file; its failure names the file.
template <typename Write>
void Writing(const std::u16string& path, Write&& write) {
    try {
        write();
    } catch (const FileError& e) {
        throw FileError(u"Cannot write file " + Quoted(path) + u". " + e.Message(), e.Code());
    }
}

std::size_t HashOf(const std::vector<std::uint8_t>& bytes) {
    return std::hash<std::string_view>()(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> Encode(const TaskTable& table) {
    return EncodeDelimited(table, kSeparator, kLineBreak, kUtf16LittleEndianEncoding);
}

}  // namespace

std::u16string DamagedTaskFileNote(const TaskFileLoad& load, int tasksRead) {
    if (!load.unreadable.empty()) {
        return u"The task list " + Quoted(load.file) + u" cannot be read. " +
               ErrorBoxText(load.unreadable) +
               u"\n\nQuorvel runs without the tasks and leaves the file as it is. It reads the "
               u"file again each time its window is activated.";
    }
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

std::u16string UnreadableTaskListText(const TaskFileLoad& load) {
    return u"The task list " + Quoted(load.file) + u" cannot be read. " +
           ErrorBoxText(load.unreadable) +
           u"\n\nIt cannot be changed until it is read. Quorvel reads it again each time its "
           u"window is activated.";
}

std::u16string ChangedOutsideNote(const std::u16string& file, const std::u16string& backup) {
    return u"Another program changed the task list " + Quoted(file) + u". Its version is kept in " +
           Quoted(backup) + u".";
}

TaskFile::TaskFile(FileSystem& files, std::u16string path)
    : files_(files), path_(std::move(path)), folder_(FolderOf(path_)) {}

const TaskFileLoad& TaskFile::Load(TaskTable& table) {
    lastLoad_ = TaskFileLoad{.file = path_, .damaged = false, .backup = {}, .unreadable = {}};
    backupOwed_ = false;
    writtenHash_.reset();
    loadedChangeCount_.reset();
    files_.RemoveLeftovers(path_);
    try {
        // Taken before the reading: a change while it reads shows at the next save.
        stamp_ = files_.StampOf(path_);
        const ReadOutcome outcome = ReadDelimited(table, files_, path_, kSeparator, kLineBreak);
        lastLoad_.damaged = outcome.lost;
        if (outcome.ownForm) {
            loadedChangeCount_ = table.ChangeCount();
        } else {
            KeepOriginal();
        }
    } catch (const FileError& e) {
        table.ClearRows();
        if (files_.FileExists(path_)) {
            lastLoad_.unreadable = e.Message();
        } else {
            stamp_.reset();  // a first start
        }
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

std::u16string TaskFile::Save(const TaskTable& table) {
    if (!Readable()) return {};  // what it holds was never read
    const std::vector<std::uint8_t> bytes = Encode(table);
    const std::size_t hash = HashOf(bytes);
    std::optional<FileSystem::FileStamp> now;
    Writing(path_, [&] { now = files_.StampOf(path_); });
    if (loadedChangeCount_) TakeLoadedHash(table, hash, now);
    // A version cut short or damaged outside is no edit to keep as the file: written over.
    if (now && writtenHash_ == hash && (now == stamp_ || !LosesRows(table))) return {};
    if (backupOwed_) {
        KeepBackup();
        backupOwed_ = false;
    }
    const std::u16string changedOutside = now && now != stamp_ ? KeepBackup() : std::u16string();
    Replace(bytes);
    writtenHash_ = hash;
    return changedOutside;
}

// The hash of the bytes the last load read: this save's while the table is as read, else the
// file's while it is as read; unknown once both have changed.
void TaskFile::TakeLoadedHash(const TaskTable& table, std::size_t hash,
                              const std::optional<FileSystem::FileStamp>& now) {
    if (table.ChangeCount() == *loadedChangeCount_) {
        writtenHash_ = hash;
    } else if (now && now == stamp_) {
        try {
            writtenHash_ = HashOf(files_.ReadFile(path_));
        } catch (const FileError&) {
            // Unknown: the table is written.
        }
    }
    loadedChangeCount_.reset();
}

bool TaskFile::ChangedOutside() {
    try {
        return files_.StampOf(path_) != stamp_;
    } catch (const FileError&) {
        return false;
    }
}

// Whether the file as it now is would lose the table's rows: a record cut short, text that is
// no task list, or no rows where the table holds some. A file that cannot be read now is not
// judged.
bool TaskFile::LosesRows(const TaskTable& table) {
    TaskTable file;
    try {
        const ReadOutcome outcome = ReadDelimited(file, files_, path_, kSeparator, kLineBreak);
        return outcome.lost || (file.RowCount() == 0 && table.RowCount() > 0);
    } catch (const FileError&) {
        return false;
    } catch (const Error&) {
        return true;
    }
}

void TaskFile::Replace(const std::vector<std::uint8_t>& bytes) {
    Writing(path_, [&] {
        if (!folder_.empty()) files_.CreateDirectory(folder_);
        files_.ReplaceFile(path_, bytes);
    });
    try {
        stamp_ = files_.StampOf(path_);
    } catch (const FileError&) {
        // Unknown, it counts as another program's change: the next save keeps a copy.
        stamp_.reset();
    }
}

// The backup that holds the file's content: an existing one, else a new copy under the first
// name nothing is in the way of.
std::u16string TaskFile::KeepBackup() {
    if (!files_.FileExists(path_)) return {};
    for (int number = 1;; ++number) {
        const std::u16string backup = BackupName(path_, number);
        if (!files_.PathExists(backup)) {
            Writing(backup, [&] { files_.CopyFile(path_, backup); });
            return backup;
        }
        if (HoldsTheFile(backup)) return backup;
    }
}

// Whether a backup holds exactly the file's bytes; one that cannot be read does not. A
// backup of another size is not read.
bool TaskFile::HoldsTheFile(const std::u16string& backup) {
    if (!files_.FileExists(backup)) return false;
    try {
        const std::unique_ptr<FileSystem::FileView> copy = files_.ViewFile(backup);
        const std::unique_ptr<FileSystem::FileView> file = files_.ViewFile(path_);
        return FileSystem::SameBytes(*file, *copy);
    } catch (const FileError&) {
        return false;
    }
}

}  // namespace quorvel
