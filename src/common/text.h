#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Decimal form of a number as UTF-16 text.
std::u16string ToText(std::int64_t value);

// A signed 32-bit integer in decimal notation (optional sign, digits only); nothing otherwise.
// Inline: a large task file reads one per row.
inline std::optional<std::int32_t> ParseInt32(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        value = value * 10 + (text[i] - u'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

char16_t AsciiLower(char16_t c);
char16_t AsciiUpper(char16_t c);
std::u16string AsciiLower(std::u16string_view text);
std::u16string AsciiUpper(std::u16string_view text);
bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);

// A caption's access key, as Windows underlines it: the character after the first single "&"
// ("&&" is an ampersand), in capitals; 0 for none.
char16_t AccessKeyOf(std::u16string_view caption);

// At most the first `length` characters of a text, one fewer where the cut would part a
// surrogate pair.
std::u16string_view LeadingText(std::u16string_view text, std::size_t length);

// A text from a file or a task, as a message shows it: its control characters written as
// "\xNN" (a line break or a NUL would cut the message or break its lines), and anything past
// the first `longest` characters left out, with "..." in its place.
std::u16string VisibleText(std::u16string_view text, std::size_t longest);

}  // namespace quorvel
