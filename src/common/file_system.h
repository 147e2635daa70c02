#pragma once

#include <cstdint>
#include <functional>
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

    // The whole content of an existing file.
    std::vector<std::uint8_t> ReadFile(const std::u16string& path) {
        std::vector<std::uint8_t> bytes;
        bytes.resize(ReadFileInto(path, [&](std::size_t size) {
            bytes.resize(size);
            return std::span(bytes);
        }));
        return bytes;
    }
    // Reads an existing file whole into the room that `room` makes for its size in bytes, so
    // that a reader can have it where it keeps it; gives the number of bytes read, fewer when
    // the file got shorter meanwhile.
    using FileRoom = std::function<std::span<std::uint8_t>(std::size_t size)>;
    virtual std::size_t ReadFileInto(const std::u16string& path, const FileRoom& room) = 0;
    // Gives the file exactly these bytes, atomically: the bytes go to a temporary file in the
    // same folder, which then takes the place of the old file. A failure at any point leaves
    // the old file as it was.
    virtual void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) = 0;
    // True for an existing file (not a folder).
    virtual bool FileExists(const std::u16string& path) = 0;
    // Copies a file; an existing target is overwritten.
    virtual void CopyFile(const std::u16string& from, const std::u16string& to) = 0;
    // Creates one folder; succeeds when the folder exists already.
    virtual void CreateDirectory(const std::u16string& path) = 0;
};

}  // namespace quorvel
