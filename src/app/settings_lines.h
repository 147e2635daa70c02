#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The settings files are lists of lines in the ANSI code page. The program only writes ASCII
// (digits and signs), so bytes are taken one for one as characters.
using SettingsLines = std::vector<std::u16string>;

// A line ends at CR, LF or CR LF; a last line without a break counts as a line.
SettingsLines SplitLines(std::span<const std::uint8_t> bytes);
// Every line followed by CR LF, the last one too.
std::vector<std::uint8_t> JoinLines(const SettingsLines& lines);

// The line at a 0-based index; throws Error "List index out of bounds (%d)" when missing.
const std::u16string& LineAt(const SettingsLines& lines, int index);

// Any decimal number, with a sign and a decimal point (0 false, anything else true), or
// "True"/"False" in any letter case;
// throws Error "'%s' is not a valid boolean value" otherwise.
bool BooleanLine(std::u16string_view line);
// "-1" for true, "0" for false.
std::u16string BooleanLineText(bool value);
// A signed 32-bit decimal integer; throws Error "'%s' is not a valid integer value" otherwise.
std::int32_t IntegerLine(std::u16string_view line);

}  // namespace quorvel
