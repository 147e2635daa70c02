#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/file_system.h"

namespace quorvel {

// Files and folders in memory, with the failures of a real disk on demand. Paths use "\"
// and a file's folder must exist, as on Windows; the codes are the ones Windows reports.
class MemoryFileSystem final : public FileSystem {
  public:
    // A folder that exists without being created, such as a drive's root.
    void AddFolder(const std::u16string& path) { folders_.insert(path); }
    bool FolderExists(const std::u16string& path) const { return folders_.count(path) > 0; }
    // Writes to a read-only file fail with "File access denied"; reading it still works.
    void SetReadOnly(const std::u16string& path) { readOnly_.insert(path); }
    void ClearReadOnly(const std::u16string& path) { readOnly_.erase(path); }
    // Every access to the file fails with this code until cleared, like a file another
    // program holds open.
    void SetLocked(const std::u16string& path, std::uint32_t code) { locked_[path] = code; }
    void ClearLocked(const std::u16string& path) { locked_.erase(path); }
    // The next ReplaceFile or CopyFile fails with this code before anything is written, the
    // way a full disk or a killed process ends a write that goes through a temporary file.
    void FailNextWrite(std::uint32_t code) { nextWriteFailure_ = code; }
    // Another program cuts the file to `size` bytes while the next view of it reads: after
    // the view's first part, reading beyond that fails as on a disk.
    void CutShortWhileRead(const std::u16string& path, std::size_t size) { cuts_[path] = size; }

    const std::map<std::u16string, std::vector<std::uint8_t>>& Files() const { return files_; }
    // How often a file was read, and written with success.
    int Reads(const std::u16string& path) const { return CountOf(reads_, path); }
    int Writes(const std::u16string& path) const { return CountOf(writes_, path); }

    std::unique_ptr<FileView> ViewFile(const std::u16string& path) override;
    void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;
    void RemoveLeftovers(const std::u16string& path) override { files_.erase(path + u".tmp"); }
    bool FileExists(const std::u16string& path) override { return files_.count(path) > 0; }
    bool PathExists(const std::u16string& path) override {
        return FileExists(path) || FolderExists(path);
    }
    std::optional<FileStamp> StampOf(const std::u16string& path) override;
    void CopyFile(const std::u16string& from, const std::u16string& to) override;
    void CreateDirectory(const std::u16string& path) override;

  private:
    static int CountOf(const std::map<std::u16string, int>& counts, const std::u16string& path) {
        const auto found = counts.find(path);
        return found == counts.end() ? 0 : found->second;
    }
    void CheckAccess(const std::u16string& path) const;
    void CheckWritable(const std::u16string& path);
    void Store(const std::u16string& path, std::vector<std::uint8_t> bytes);

    std::map<std::u16string, std::vector<std::uint8_t>> files_;
    std::set<std::u16string> folders_;
    std::set<std::u16string> readOnly_;
    std::map<std::u16string, std::uint32_t> locked_;
    std::optional<std::uint32_t> nextWriteFailure_;
    std::map<std::u16string, std::size_t> cuts_;
    // Every write makes a new file, as the real ReplaceFile does: its stamp tells it apart.
    std::map<std::u16string, std::uint64_t> fileNumbers_;
    std::uint64_t writeCount_ = 0;
    std::map<std::u16string, int> reads_;
    std::map<std::u16string, int> writes_;
};

}  // namespace quorvel
