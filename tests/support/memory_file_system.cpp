#include "memory_file_system.h"

#include "common/error.h"
#include "common/paths.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace quorvel {

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kCutShort = 38;
constexpr std::uint32_t kAlreadyExists = 183;

[[noreturn]] void Fail(std::uint32_t code) { throw FileError(IoErrorText(code), code); }

}  // namespace

void MemoryFileSystem::CheckAccess(const std::u16string& path) const {
    if (!FolderExists(FolderOf(path))) Fail(kPathNotFound);
    if (const auto lock = locked_.find(path); lock != locked_.end()) Fail(lock->second);
}

void MemoryFileSystem::CheckWritable(const std::u16string& path) {
    CheckAccess(path);
    if (readOnly_.count(path) > 0) Fail(kAccessDenied);
    if (const auto failure = std::exchange(nextWriteFailure_, std::nullopt)) Fail(*failure);
}

// A view of a copy, which a later write of the file does not change. It gives no more bytes
// than it is asked for, the least a view may give, each time in a buffer of their own that the
// next call frees: a reader that reads past them or keeps them too long reads freed memory.
// A view whose file is cut short reads its first part whole, and fails beyond the cut after.
class MemoryFileView final : public FileSystem::FileView {
  public:
    MemoryFileView(std::vector<std::uint8_t> bytes, std::optional<std::size_t> cut)
        : bytes_(std::move(bytes)), cut_(cut) {}
    std::size_t Size() const override { return bytes_.size(); }
    std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t length) override {
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        const auto given = static_cast<std::ptrdiff_t>(std::min(length, bytes_.size() - offset));
        if (part_ && cut_ && offset + static_cast<std::size_t>(given) > *cut_) Fail(kCutShort);
        part_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(given));
        std::copy(first, first + given, part_.get());
        return {part_.get(), static_cast<std::size_t>(given)};
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::optional<std::size_t> cut_;
    std::unique_ptr<std::uint8_t[]> part_;
};

std::unique_ptr<FileSystem::FileView> MemoryFileSystem::ViewFile(const std::u16string& path) {
    ++reads_[path];
    CheckAccess(path);
    const auto file = files_.find(path);
    if (file == files_.end()) Fail(kFileNotFound);
    std::optional<std::size_t> cut;
    if (const auto found = cuts_.find(path); found != cuts_.end()) {
        cut = found->second;
        cuts_.erase(found);
        std::vector<std::uint8_t> bytes = file->second;
        Store(path, {bytes.begin(),
                     bytes.begin() + static_cast<std::ptrdiff_t>(std::min(*cut, bytes.size()))});
        return std::make_unique<MemoryFileView>(std::move(bytes), cut);
    }
    return std::make_unique<MemoryFileView>(file->second, cut);
}

void MemoryFileSystem::Store(const std::u16string& path, std::vector<std::uint8_t> bytes) {
    files_[path] = std::move(bytes);
    fileNumbers_[path] = ++writeCount_;
}

void MemoryFileSystem::ReplaceFile(const std::u16string& path,
                                   std::span<const std::uint8_t> bytes) {
    CheckWritable(path);
    Store(path, {bytes.begin(), bytes.end()});
    ++writes_[path];
}

void MemoryFileSystem::CopyFile(const std::u16string& from, const std::u16string& to) {
    std::vector<std::uint8_t> bytes = ReadFile(from);
    CheckWritable(to);
    if (FolderExists(to)) Fail(kAccessDenied);
    Store(to, std::move(bytes));
}

std::optional<FileSystem::FileStamp> MemoryFileSystem::StampOf(const std::u16string& path) {
    const auto file = files_.find(path);
    if (file == files_.end()) return std::nullopt;
    const std::uint64_t number = fileNumbers_.at(path);
    return FileStamp{
        .size = file->second.size(), .writeTime = number, .volume = 1, .index = number};
}

void MemoryFileSystem::CreateDirectory(const std::u16string& path) {
    if (FolderExists(path)) return;
    if (FileExists(path)) Fail(kAlreadyExists);
    if (!FolderExists(FolderOf(path))) Fail(kPathNotFound);
    folders_.insert(path);
}

}  // namespace quorvel
