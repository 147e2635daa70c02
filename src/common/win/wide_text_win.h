#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// UTF-16 text between the portable core (char16_t) and the wide Windows calls (wchar_t).
static_assert(sizeof(wchar_t) == sizeof(char16_t));
inline std::wstring ToWide(std::u16string_view s) { return {s.begin(), s.end()}; }
inline std::u16string FromWide(std::wstring_view s) { return {s.begin(), s.end()}; }

}  // namespace quorvel
