#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

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

// Splits "C:\Tools\Zip.EXE -d Archive" into the program "C:\Tools\Zip.EXE" and the
// parameters "-d Archive". The extensions ".exe", ".bat" and ".com" (in any ASCII letter
// case) are tried in turn, each on what the one before left; a split happens only when a
// space follows the extension's last occurrence, so a space in a folder name never splits.
// The character right after the extension is the separator and belongs to neither part.
ProgramCommand SplitParameters(std::u16string_view destination);

}  // namespace quorvel
