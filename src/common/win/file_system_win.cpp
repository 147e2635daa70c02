#include "common/win/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "common/error.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"

// <windows.h> maps these names to their W calls; here they are the interface's methods.
#undef CopyFile
#undef CreateDirectory
#undef ReplaceFile

namespace quorvel {

namespace {

// The runtime reports a write that does not fit on the disk with its own code 101.
constexpr DWORD kDiskFullCode = 101;
// A file that ended before the size it had when it was opened.
constexpr DWORD kCutShortCode = ERROR_HANDLE_EOF;
// One ReadFile or WriteFile call moves at most this many bytes.
constexpr std::size_t kMaxChunk = 1u << 30;

DWORD RuntimeCode(DWORD systemCode) {
    return systemCode == ERROR_DISK_FULL || systemCode == ERROR_HANDLE_DISK_FULL ? kDiskFullCode
                                                                                 : systemCode;
}

[[noreturn]] void ThrowFileError(DWORD code) { throw FileError(IoErrorText(code), code); }

[[noreturn]] void ThrowLastError() { ThrowFileError(RuntimeCode(::GetLastError())); }

// True when the path names an existing folder (wantFolder) or an existing file (otherwise).
bool ExistsAs(const std::wstring& path, bool wantFolder) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == wantFolder;
}

void WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kMaxChunk));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) ThrowLastError();
        if (written == 0) ThrowFileError(kDiskFullCode);
        bytes = bytes.subspan(written);
    }
}

// A file's bytes read a slice at a time into a buffer of the view's own, so that a large
// file read through never counts in the working set whole. The file is open with read
// sharing only: while the view lives, no program can write it. A file cut short all the same
// (on a network share, say) ends in a FileError, never in reading what is not there.
class ReadFileView final : public FileSystem::FileView {
  public:
    ReadFileView(UniqueFileHandle file, std::size_t size) : file_(std::move(file)), size_(size) {}

    std::size_t Size() const override { return size_; }

    std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t length) override {
        offset = std::min(offset, size_);
        length = std::min(length, size_ - offset);
        if (offset < start_ || offset + length > start_ + held_) Read(offset, length);
        return {buffer_.get() + (offset - start_), start_ + held_ - offset};
    }

  private:
    // A slice is this long where the file has the bytes: large enough that reading costs
    // little more than the bytes, small beside a file of many thousand tasks.
    static constexpr std::size_t kSlice = std::size_t{1} << 20;

    // Reads a slice that holds `length` bytes from `offset` on, in place of the one held.
    void Read(std::size_t offset, std::size_t length) {
        const std::size_t count = std::min(size_ - offset, std::max(length, kSlice));
        if (count > capacity_) {
            buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(count);
            capacity_ = count;
        }
        held_ = 0;
        for (std::size_t done = 0; done < count;) {
            const auto at = static_cast<std::uint64_t>(offset + done);
            OVERLAPPED place{};
            place.Offset = static_cast<DWORD>(at);
            place.OffsetHigh = static_cast<DWORD>(at >> 32);
            const auto chunk = static_cast<DWORD>(std::min(count - done, kMaxChunk));
            DWORD read = 0;
            // Past the end, a read fails with ERROR_HANDLE_EOF or gives nothing.
            if (!::ReadFile(file_.get(), buffer_.get() + done, chunk, &read, &place)) {
                ThrowLastError();
            }
            if (read == 0) ThrowFileError(kCutShortCode);
            done += read;
        }
        start_ = offset;
        held_ = count;
    }

    UniqueFileHandle file_;
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t start_ = 0;  // the file offset the buffer begins at
    std::size_t held_ = 0;
};

// A file written beside its target, removed again unless it was moved into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!moved_) ::DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    TemporaryFile(TemporaryFile&&) = delete;
    TemporaryFile& operator=(TemporaryFile&&) = delete;

    // Writes the bytes through to the disk, so that the file is whole before it replaces
    // the target.
    void Write(std::span<const std::uint8_t> bytes) {
        UniqueFileHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) ThrowLastError();
        WriteAll(file.get(), bytes);
        if (!::FlushFileBuffers(file.get())) ThrowLastError();
    }

    void MoveOnto(const std::wstring& target) {
        if (!::MoveFileExW(path_.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ThrowLastError();
        }
        moved_ = true;
    }

  private:
    std::wstring path_;
    bool moved_ = false;
};

class WindowsFileSystem final : public FileSystem {
  public:
    std::unique_ptr<FileView> ViewFile(const std::u16string& path) override {
        UniqueFileHandle file(::CreateFileW(
            ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) ThrowLastError();
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size)) ThrowLastError();
        return std::make_unique<ReadFileView>(std::move(file),
                                              static_cast<std::size_t>(size.QuadPart));
    }

    void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
        const std::wstring target = ToWide(path);
        // Renaming onto a file does not always honour its read-only mark, and the user set it
        // so that the file is not changed.
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            ThrowFileError(ERROR_ACCESS_DENIED);
        }
        TemporaryFile temporary(target + L".tmp");
        temporary.Write(bytes);
        temporary.MoveOnto(target);
    }

    void RemoveLeftovers(const std::u16string& path) override {
        ::DeleteFileW((ToWide(path) + L".tmp").c_str());
    }

    bool FileExists(const std::u16string& path) override {
        return ExistsAs(ToWide(path), /*wantFolder=*/false);
    }

    bool PathExists(const std::u16string& path) override {
        return ::GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Opened for its attributes only, which no sharing mode of another program refuses.
    std::optional<FileStamp> StampOf(const std::u16string& path) override {
        const std::wstring file = ToWide(path);
        if (!ExistsAs(file, /*wantFolder=*/false)) return std::nullopt;
        const UniqueFileHandle handle(
            ::CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) ThrowLastError();
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(handle.get(), &info)) ThrowLastError();
        const auto wide = [](DWORD high, DWORD low) {
            return static_cast<std::uint64_t>(high) << 32 | low;
        };
        return FileStamp{.size = wide(info.nFileSizeHigh, info.nFileSizeLow),
                         .writeTime = wide(info.ftLastWriteTime.dwHighDateTime,
                                           info.ftLastWriteTime.dwLowDateTime),
                         .volume = info.dwVolumeSerialNumber,
                         .index = wide(info.nFileIndexHigh, info.nFileIndexLow)};
    }

    void CopyFile(const std::u16string& from, const std::u16string& to) override {
        if (!::CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), /*bFailIfExists=*/FALSE)) {
            ThrowLastError();
        }
    }

    void CreateDirectory(const std::u16string& path) override {
        const std::wstring folder = ToWide(path);
        if (::CreateDirectoryW(folder.c_str(), nullptr)) return;
        const DWORD code = ::GetLastError();
        if (code == ERROR_ALREADY_EXISTS && ExistsAs(folder, /*wantFolder=*/true)) return;
        ThrowFileError(RuntimeCode(code));
    }
};

}  // namespace

std::unique_ptr<FileSystem> CreateWindowsFileSystem() {
    return std::make_unique<WindowsFileSystem>();
}

}  // namespace quorvel
