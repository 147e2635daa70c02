#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Decimal form of a number as UTF-16 text.
std::u16string ToText(std::int64_t value);

// A signed 32-bit integer in decimal notation (optional sign, digits only); nothing otherwise.
std::optional<std::int32_t> ParseInt32(std::u16string_view text);

char16_t AsciiLower(char16_t c);
char16_t AsciiUpper(char16_t c);
std::u16string AsciiLower(std::u16string_view text);
std::u16string AsciiUpper(std::u16string_view text);
bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace quorvel
