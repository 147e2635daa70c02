#include "app/registry.h"

#include <vector>

namespace quorvel {

RegString ReadRegString(RegistryApi& registry, RegistryApi::Key root, const std::u16string& key,
                        const std::u16string& valueName) {
    RegistryApi::Key opened = 0;
    if (registry.RegOpenKeyExW(root, key, kKeyQueryValue, opened) != kErrorSuccess) return {};
    RegString result;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry.RegQueryValueExW(opened, valueName, type, nullptr, size) == kErrorSuccess &&
        type == kRegSz) {
        // A spare unit of zeros beyond the data (rounded up to whole units), so that a value
        // stored without its terminator, or with an odd byte count, still ends in the buffer.
        std::vector<char16_t> units((size + 1) / 2 + 1, u'\0');
        std::uint32_t bufferSize = size;
        result.read = registry.RegQueryValueExW(opened, valueName, type,
                                                reinterpret_cast<std::uint8_t*>(units.data()),
                                                bufferSize) == kErrorSuccess &&
                      bufferSize <= size;
        if (result.read) result.text = std::u16string(units.data());
    }
    registry.RegCloseKey(opened);
    return result;
}

bool WriteRegString(RegistryApi& registry, RegistryApi::Key root, const std::u16string& key,
                    const std::u16string& valueName, std::u16string_view text) {
    RegistryApi::Key opened = 0;
    if (registry.RegCreateKeyExW(root, key, kKeyAllAccess, opened) != kErrorSuccess) return false;
    std::u16string terminated(text);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(terminated.c_str());
    const bool written = registry.RegSetValueExW(
                             opened, valueName, kRegSz,
                             {bytes, (terminated.size() + 1) * sizeof(char16_t)}) == kErrorSuccess;
    registry.RegCloseKey(opened);
    return written;
}

}  // namespace quorvel
