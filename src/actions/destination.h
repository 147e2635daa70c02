#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// The longest destination the task editor takes: what Windows can start, a program with its
// parameters or an address whose path is as long as the shell allows (INTERNET_MAX_PATH_LENGTH).
inline constexpr std::size_t kLongestDestination = 2048;

// The 1-based position of the last occurrence of `find` in `text`, 0 when there is none.
// The comparison is exact: letter case counts.
std::size_t LastPos(std::u16string_view find, std::u16string_view text);

// The text after the last "\" or ":" of a path, the whole text when it has neither.
std::u16string_view FileNamePart(std::u16string_view path);

// A task's destination taken apart into the program and the parameters that follow it.
struct ProgramCommand {
    std::u16string program;
    std::u16string parameters;
};

// Splits a destination into the program and the parameters that follow it, letter case kept:
// - A destination that starts with a double-quoted path is that path; the parameters are the
//   rest after the closing quote and one space: "C:\Program Files\Tool\tool.exe" -x.
// - Otherwise the extensions ".exe", ".bat" and ".com" (in any ASCII letter case) are tried in
//   turn, each on what the one before left; one splits only when its last occurrence lies in
//   the file-name part and a space follows it, so a space in a folder name never splits
//   ("C:\Tools\Zip.EXE -d Archive").
// - Where that finds nothing, the destination splits after the first of those extensions
//   that a space follows, so parameters may hold paths and extensions of their own
//   ("notepad.exe c:\notes\plan.txt", "c:\tools\app.exe -o out.exe").
// The one character after the extension is the separator and belongs to neither part.
ProgramCommand SplitParameters(std::u16string_view destination);

// A path from a drive's or a server's root: "C:\...", "C:/...", "\\server\...".
bool IsFullPath(std::u16string_view path);

// The folder a program or document given by a full path starts in, its own ("C:\Tools" for
// "C:\Tools\zip.exe", "C:\" for "C:\zip.exe"); empty for a bare name found on the path, a
// relative path or an address, which get no folder of their own.
std::u16string_view OwnFolder(std::u16string_view path);

// What "Open Website..." hands the shell: the whole destination, an address whose query holds
// spaces and ".com" included; a destination in double quotes is the text inside them.
std::u16string_view WebAddress(std::u16string_view destination);

}  // namespace quorvel
