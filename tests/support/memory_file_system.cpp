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
class MemoryFileView final : public FileSystem::FileView {
  public:
    explicit MemoryFileView(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::size_t Size() const override { return bytes_.size(); }
    std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t length) override {
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        const auto given = static_cast<std::ptrdiff_t>(std::min(length, bytes_.size() - offset));
        part_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(given));
        std::copy(first, first + given, part_.get());
        return {part_.get(), static_cast<std::size_t>(given)};
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::unique_ptr<std::uint8_t[]> part_;
};

std::unique_ptr<FileSystem::FileView> MemoryFileSystem::ViewFile(const std::u16string& path) {
    ++reads_[path];
    CheckAccess(path);
    const auto file = files_.find(path);
    if (file == files_.end()) Fail(kFileNotFound);
    return std::make_unique<MemoryFileView>(file->second);
}

void MemoryFileSystem::ReplaceFile(const std::u16string& path,
                                   std::span<const std::uint8_t> bytes) {
    CheckWritable(path);
    files_[path].assign(bytes.begin(), bytes.end());
    ++writes_[path];
}

void MemoryFileSystem::CopyFile(const std::u16string& from, const std::u16string& to) {
    std::vector<std::uint8_t> bytes = ReadFile(from);
    CheckWritable(to);
    files_[to] = std::move(bytes);
}

void MemoryFileSystem::CreateDirectory(const std::u16string& path) {
    if (FolderExists(path)) return;
    if (FileExists(path)) Fail(kAlreadyExists);
    if (!FolderExists(FolderOf(path))) Fail(kPathNotFound);
    folders_.insert(path);
}

}  // namespace quorvel
