#pragma once

#include <cstdint>
#include <memory>
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

    // An existing file's bytes in place, for as long as the view lives: mapped into memory
    // where the system can, so that a large file is read without a copy first.
    class FileView {
      public:
        virtual ~FileView() = default;
        virtual std::span<const std::uint8_t> Bytes() const = 0;
    };
    virtual std::unique_ptr<FileView> ViewFile(const std::u16string& path) = 0;
    // The whole content of an existing file.
    std::vector<std::uint8_t> ReadFile(const std::u16string& path) {
        const std::unique_ptr<FileView> view = ViewFile(path);
        return {view->Bytes().begin(), view->Bytes().end()};
    }
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
