#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

// The few file operations the task file and the settings need, so that they can be tested
// without a disk.
// Failures throw FileError(IoErrorText(code), code) with the system's error code.
//
// <windows.h> turns CopyFile, CreateDirectory and ReplaceFile into macros for the W calls. A
// file that includes both headers includes <windows.h> first, so that the names change alike
// throughout it, or undefines the three macros after it.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // One state of a file: its size, when it was last written and which file it is on its
    // volume. A file replaced by another of the same name is another file.
    struct FileStamp {
        std::uint64_t size = 0;
        std::uint64_t writeTime = 0;
        std::uint64_t volume = 0;
        std::uint64_t index = 0;
        bool operator==(const FileStamp&) const = default;
    };

    // An existing file's bytes, for as long as the view lives, read a part at a time, so that
    // reading a large file through never holds the whole file beside what is made of it.
    // While the view lives other programs may read the file but not write it.
    class FileView {
      public:
        virtual ~FileView() = default;
        // The size the file had when the view was made.
        virtual std::size_t Size() const = 0;
        // The bytes from `offset` on: at least `length` of them, or all there are up to the end
        // of the file. They stay valid until the next call. Throws FileError when they cannot
        // be read, as when another program cut the file short meanwhile.
        virtual std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t length) = 0;
    };
    virtual std::unique_ptr<FileView> ViewFile(const std::u16string& path) = 0;
    // The whole content of an existing file.
    std::vector<std::uint8_t> ReadFile(const std::u16string& path) {
        const std::unique_ptr<FileView> view = ViewFile(path);
        std::vector<std::uint8_t> content(view->Size());
        CopyAll(*view, content);
        return content;
    }
    // Copies all the view's bytes into `out`, which has room for them, a part at a time.
    static void CopyAll(FileView& view, std::span<std::uint8_t> out) {
        constexpr std::size_t kPart = std::size_t{1} << 16;
        for (std::size_t at = 0; at < view.Size();) {
            const std::span<const std::uint8_t> bytes =
                view.BytesFrom(at, std::min(kPart, view.Size() - at));
            std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
            at += bytes.size();
        }
    }
    // Whether two views hold the same bytes; views of different sizes are not read.
    static bool SameBytes(FileView& a, FileView& b) {
        if (a.Size() != b.Size()) return false;
        constexpr std::size_t kPart = std::size_t{1} << 16;
        for (std::size_t at = 0; at < a.Size();) {
            const std::size_t length = std::min(kPart, a.Size() - at);
            const std::span<const std::uint8_t> first = a.BytesFrom(at, length);
            const std::span<const std::uint8_t> second = b.BytesFrom(at, length);
            if (!std::equal(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(length),
                            second.begin())) {
                return false;
            }
            at += length;
        }
        return true;
    }
    // Gives the file exactly these bytes, atomically: the bytes go to the temporary file
    // "<path>.tmp" beside it, which then takes the place of the old file. A failure at any
    // point leaves the old file as it was.
    virtual void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) = 0;
    // Removes the temporary file of a ReplaceFile that was killed part way; none is no failure.
    virtual void RemoveLeftovers(const std::u16string& path) = 0;
    // True for an existing file (not a folder).
    virtual bool FileExists(const std::u16string& path) = 0;
    // True when anything, a file or a folder, is at the path.
    virtual bool PathExists(const std::u16string& path) = 0;
    // The state of an existing file, also while another program holds it open; nothing when
    // no file is at the path.
    virtual std::optional<FileStamp> StampOf(const std::u16string& path) = 0;
    // Copies a file; an existing target is overwritten.
    virtual void CopyFile(const std::u16string& from, const std::u16string& to) = 0;
    // Creates one folder; succeeds when the folder exists already.
    virtual void CreateDirectory(const std::u16string& path) = 0;
};

}  // namespace quorvel
