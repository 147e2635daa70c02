#include "app/settings_lines.h"

#include <optional>

#include "common/error.h"
#include "common/text.h"

namespace quorvel {

SettingsLines SplitLines(std::span<const std::uint8_t> bytes) {
    SettingsLines lines;
    std::u16string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char16_t c = bytes[i];
        if (c != u'\r' && c != u'\n') {
            current += c;
            continue;
        }
        if (c == u'\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lines.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::vector<std::uint8_t> JoinLines(const SettingsLines& lines) {
    std::vector<std::uint8_t> bytes;
    for (const auto& line : lines) {
        // Characters beyond one byte cannot come from this program; '?' is what the code page
        // conversion would give them.
        for (const char16_t c : line)
            bytes.push_back(c < 0x100 ? static_cast<std::uint8_t>(c) : '?');
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

const std::u16string& LineAt(const SettingsLines& lines, int index) {
    if (index < 0 || index >= static_cast<int>(lines.size()))
        throw Error(ListIndexErrorText(index));
    return lines[index];
}

namespace {

// Whether a line is a number other than zero: a sign, then digits with at most one decimal
// point among them. Nothing for a line that is no such number.
std::optional<bool> NonZeroNumber(std::u16string_view line) {
    if (!line.empty() && (line.front() == u'-' || line.front() == u'+')) line.remove_prefix(1);
    bool digits = false;
    bool point = false;
    bool nonZero = false;
    for (const char16_t c : line) {
        if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            digits = true;
            nonZero = nonZero || c != u'0';
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return nonZero;
}

}  // namespace

bool BooleanLine(std::u16string_view line) {
    if (EqualsIgnoreAsciiCase(line, u"true")) return true;
    if (EqualsIgnoreAsciiCase(line, u"false")) return false;
    const auto nonZero = NonZeroNumber(line);
    if (!nonZero) throw Error(InvalidBooleanText(line));
    return *nonZero;
}

std::u16string BooleanLineText(bool value) { return value ? u"-1" : u"0"; }

std::int32_t IntegerLine(std::u16string_view line) {
    const auto number = ParseInt32(line);
    if (!number) throw Error(InvalidIntegerText(line));
    return *number;
}

}  // namespace quorvel
