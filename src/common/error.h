#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace quorvel {

// A failure whose text reaches the user, in the standard error box or a caller's handling.
class Error : public std::exception {
  public:
    explicit Error(std::u16string message);

    const std::u16string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    std::u16string message_;
    std::string utf8_;
};

// A file operation that failed; Code() is the system's error code behind the text.
class FileError : public Error {
  public:
    FileError(std::u16string message, std::uint32_t code)
        : Error(std::move(message)), code_(code) {}
    std::uint32_t Code() const noexcept { return code_; }

  private:
    std::uint32_t code_;
};

// The runtime's texts, filled in. A value %s is quoted as VisibleText shows it.
std::u16string ListIndexErrorText(std::int64_t index);     // "List index out of bounds (%d)"
std::u16string InvalidIntegerText(std::u16string_view s);  // "'%s' is not a valid integer value"
std::u16string InvalidBooleanText(std::u16string_view s);  // "'%s' is not a valid boolean value"
// The input/output error text for a system error code: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 101 "Disk full"; the reason in words for
// the other codes a file operation meets often (a file another program holds, a cut-short
// read, a disk that cannot be written or read), else "I/O error %d".
std::u16string IoErrorText(std::uint32_t code);
// "Cannot open file "%s". %s" with the file name and the reason.
std::u16string CannotOpenFileText(std::u16string_view fileName, std::u16string_view reason);

// The text shown in the standard error box: a full stop is added when the last character
// sorts after ".".
std::u16string ErrorBoxText(std::u16string_view message);

}  // namespace quorvel
