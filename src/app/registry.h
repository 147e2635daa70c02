#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

// The registry calls the settings need, with the Windows names and results (0 = success),
// so that the counter and the autostart value can be tested without a registry.
class RegistryApi {
  public:
    using Key = std::uintptr_t;

    virtual ~RegistryApi() = default;
    virtual long RegOpenKeyExW(Key root, const std::u16string& subKey, std::uint32_t access,
                               Key& result) = 0;
    // With data null only the type and the size in bytes are given.
    virtual long RegQueryValueExW(Key key, const std::u16string& valueName, std::uint32_t& type,
                                  std::uint8_t* data, std::uint32_t& size) = 0;
    virtual long RegCreateKeyExW(Key root, const std::u16string& subKey, std::uint32_t access,
                                 Key& result) = 0;
    virtual long RegSetValueExW(Key key, const std::u16string& valueName, std::uint32_t type,
                                std::span<const std::uint8_t> data) = 0;
    virtual long RegCloseKey(Key key) = 0;
};

inline constexpr long kErrorSuccess = 0;
inline constexpr RegistryApi::Key kHkeyCurrentUser = 0x80000001;
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kRegSz = 1;

struct RegString {
    std::u16string text;
    bool read = false;
};

// A REG_SZ value as text; a missing key or value, or another type, gives an empty text and
// "not read". Stored data need not be terminated: the text ends at the first zero or at the
// end of the data, whichever comes first.
RegString ReadRegString(RegistryApi& registry, RegistryApi::Key root, const std::u16string& key,
                        const std::u16string& valueName);

// Creates the key when needed and stores the text as REG_SZ with its terminating zero.
bool WriteRegString(RegistryApi& registry, RegistryApi::Key root, const std::u16string& key,
                    const std::u16string& valueName, std::u16string_view text);

}  // namespace quorvel
