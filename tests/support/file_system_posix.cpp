#include "file_system_posix.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/error.h"
#include "common/text.h"

namespace quorvel {

namespace {

// The runtime's code for an errno value; `missing` is the code for ENOENT, which stands for a
// missing file when reading and for a missing folder when creating.
std::uint32_t RuntimeCode(int error, std::uint32_t missing) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return missing;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
        case EROFS:
            return 5;
        case ENOSPC:
        case EDQUOT:
            return 101;
        default:
            return static_cast<std::uint32_t>(error);
    }
}

[[noreturn]] void ThrowErrno(std::uint32_t missing = 3) {
    const std::uint32_t code = RuntimeCode(errno, missing);
    throw FileError(IoErrorText(code), code);
}

// Owns a file descriptor.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

void WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            ThrowErrno();
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

// A file's bytes mapped into memory whole; an empty file maps to nothing. (Another program that cut
// the file short while it is viewed would make reading its lost end fault: fine for tests.)
class MappedFile final : public FileSystem::FileView {
  public:
    MappedFile(int fd, std::size_t size) : size_(size) {
        if (size_ == 0) return;
        void* bytes = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (bytes == MAP_FAILED) ThrowErrno();
        bytes_ = static_cast<const std::uint8_t*>(bytes);
    }
    ~MappedFile() override {
        if (bytes_ != nullptr) ::munmap(const_cast<std::uint8_t*>(bytes_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&&) = delete;
    MappedFile& operator=(MappedFile&&) = delete;

    std::size_t Size() const override { return size_; }
    std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t) override {
        return std::span(bytes_, bytes_ == nullptr ? 0 : size_).subspan(offset);
    }

  private:
    std::size_t size_;
    const std::uint8_t* bytes_ = nullptr;
};

bool IsType(const std::string& path, mode_t type) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

class PosixFileSystem final : public FileSystem {
  public:
    std::unique_ptr<FileView> ViewFile(const std::u16string& path) override {
        const Descriptor file(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
        if (file.get() < 0) ThrowErrno(/*missing=*/2);
        struct stat info {};
        if (::fstat(file.get(), &info) != 0) ThrowErrno();
        return std::make_unique<MappedFile>(file.get(), static_cast<std::size_t>(info.st_size));
    }

    void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
        const std::string target = ToUtf8(path);
        const std::string temporary = target + ".tmp";
        try {
            const Descriptor file(
                ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
            if (file.get() < 0) ThrowErrno();
            WriteAll(file.get(), bytes);
            if (::fsync(file.get()) != 0) ThrowErrno();
            if (::rename(temporary.c_str(), target.c_str()) != 0) ThrowErrno();
        } catch (...) {
            ::unlink(temporary.c_str());
            throw;
        }
    }

    void RemoveLeftovers(const std::u16string& path) override {
        ::unlink((ToUtf8(path) + ".tmp").c_str());
    }

    bool FileExists(const std::u16string& path) override { return IsType(ToUtf8(path), S_IFREG); }

    bool PathExists(const std::u16string& path) override {
        struct stat info {};
        return ::stat(ToUtf8(path).c_str(), &info) == 0;
    }

    std::optional<FileStamp> StampOf(const std::u16string& path) override {
        struct stat info {};
        if (::stat(ToUtf8(path).c_str(), &info) != 0 || (info.st_mode & S_IFMT) != S_IFREG) {
            return std::nullopt;
        }
        const auto nanoseconds = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
                                 static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
        return FileStamp{.size = static_cast<std::uint64_t>(info.st_size),
                         .writeTime = nanoseconds,
                         .volume = static_cast<std::uint64_t>(info.st_dev),
                         .index = static_cast<std::uint64_t>(info.st_ino)};
    }

    void CopyFile(const std::u16string& from, const std::u16string& to) override {
        const std::vector<std::uint8_t> bytes = ReadFile(from);
        const Descriptor file(
            ::open(ToUtf8(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (file.get() < 0) ThrowErrno();
        WriteAll(file.get(), bytes);
    }

    void CreateDirectory(const std::u16string& path) override {
        const std::string folder = ToUtf8(path);
        if (::mkdir(folder.c_str(), 0755) == 0) return;
        if (errno == EEXIST && IsType(folder, S_IFDIR)) return;
        ThrowErrno();
    }
};

}  // namespace

std::unique_ptr<FileSystem> CreatePosixFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace quorvel
