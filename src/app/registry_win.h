#pragma once

#include "app/registry.h"

namespace quorvel {

// The registry through the wide calls; keys are HKEY values.
class WindowsRegistry final : public RegistryApi {
  public:
    long RegOpenKeyExW(Key root, const std::u16string& subKey, std::uint32_t access,
                       Key& result) override;
    long RegQueryValueExW(Key key, const std::u16string& valueName, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& size) override;
    long RegCreateKeyExW(Key root, const std::u16string& subKey, std::uint32_t access,
                         Key& result) override;
    long RegSetValueExW(Key key, const std::u16string& valueName, std::uint32_t type,
                        std::span<const std::uint8_t> data) override;
    long RegCloseKey(Key key) override;
};

}  // namespace quorvel
