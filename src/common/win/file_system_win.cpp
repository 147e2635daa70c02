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
    std::size_t ReadFileInto(const std::u16string& path, const FileRoom& room) override {
        UniqueFileHandle file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) ThrowLastError();
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size)) ThrowLastError();
        const std::span<std::uint8_t> bytes = room(static_cast<std::size_t>(size.QuadPart));
        std::size_t total = 0;
        while (total < bytes.size()) {
            const auto chunk = static_cast<DWORD>(std::min(bytes.size() - total, kMaxChunk));
            DWORD read = 0;
            if (!::ReadFile(file.get(), bytes.data() + total, chunk, &read, nullptr)) {
                ThrowLastError();
            }
            if (read == 0) break;  // the file got shorter since its size was taken
            total += read;
        }
        return total;
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
