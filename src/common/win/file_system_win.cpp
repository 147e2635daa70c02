#include "common/win/file_system_win.h"

#include <windows.h>

#include <algorithm>

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
// One WriteFile call moves at most this many bytes.
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

// A file's bytes mapped into memory a slice at a time, so that a large file read through
// never counts in the working set whole; an empty file, which cannot be mapped, maps to
// nothing. The mapping keeps the file open: while it lives the file cannot be cut short.
class MappedFile final : public FileSystem::FileView {
  public:
    MappedFile(HANDLE file, std::size_t size) : size_(size) {
        if (size == 0) return;
        mapping_.reset(::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping_) ThrowLastError();
        SYSTEM_INFO system{};
        ::GetSystemInfo(&system);
        granularity_ = system.dwAllocationGranularity;
    }
    ~MappedFile() override { Unmap(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&&) = delete;
    MappedFile& operator=(MappedFile&&) = delete;

    std::size_t Size() const override { return size_; }

    std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t length) override {
        offset = std::min(offset, size_);
        length = std::min(length, size_ - offset);
        if (offset < start_ || offset + length > start_ + mapped_) Map(offset, length);
        return {view_ + (offset - start_), start_ + mapped_ - offset};
    }

  private:
    // A slice is this long where the file has the bytes: large enough that mapping costs
    // nothing beside reading, small beside a file of many thousand tasks.
    static constexpr std::size_t kSlice = std::size_t{1} << 20;

    // Maps a slice that holds `length` bytes from `offset` on, in place of the one mapped.
    // A view begins at a multiple of the allocation granularity.
    void Map(std::size_t offset, std::size_t length) {
        Unmap();
        const std::size_t start = offset - offset % granularity_;
        const std::size_t mapped =
            std::min(size_ - start, std::max(offset - start + length, kSlice));
        const auto at = static_cast<std::uint64_t>(start);
        view_ = static_cast<const std::uint8_t*>(::MapViewOfFile(mapping_.get(), FILE_MAP_READ,
                                                                 static_cast<DWORD>(at >> 32),
                                                                 static_cast<DWORD>(at), mapped));
        if (view_ == nullptr) ThrowLastError();
        start_ = start;
        mapped_ = mapped;
    }

    void Unmap() {
        if (view_ != nullptr) ::UnmapViewOfFile(view_);
        view_ = nullptr;
        start_ = 0;
        mapped_ = 0;
    }

    std::size_t size_;
    UniqueKernelHandle mapping_;
    std::size_t granularity_ = 1;
    const std::uint8_t* view_ = nullptr;
    std::size_t start_ = 0;  // the file offset the view begins at
    std::size_t mapped_ = 0;
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
        const UniqueFileHandle file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) ThrowLastError();
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size)) ThrowLastError();
        return std::make_unique<MappedFile>(file.get(), static_cast<std::size_t>(size.QuadPart));
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

    bool FileExists(const std::u16string& path) override {
        return ExistsAs(ToWide(path), /*wantFolder=*/false);
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
