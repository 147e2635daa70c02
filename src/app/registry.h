#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

// The per-user registry's text values (REG_SZ), which is all the settings keep there.
class RegistryApi {
  public:
    virtual ~RegistryApi() = default;
    // The text of a REG_SZ value under HKEY_CURRENT_USER; nothing when the key or the value is
    // missing, of another type or cannot be read.
    virtual std::optional<std::u16string> ReadString(const std::u16string& key,
                                                     const std::u16string& valueName) = 0;
    // Creates the key when needed and stores the text as REG_SZ with its terminating zero;
    // false when either cannot be done.
    virtual bool WriteString(const std::u16string& key, const std::u16string& valueName,
                             std::u16string_view text) = 0;
};

// The text that REG_SZ data holds. Stored data need not be terminated: the text ends at the
// first zero or at the end of the data, whichever comes first; an odd last byte is no part
// of it.
std::u16string RegStringText(std::span<const std::uint8_t> data);

}  // namespace quorvel
