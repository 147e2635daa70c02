#pragma once

#include "app/registry.h"

// The member names are the Windows calls' own; <windows.h> makes them A/W macros.
#pragma push_macro("RegOpenKeyEx")
#pragma push_macro("RegQueryValueEx")
#pragma push_macro("RegCreateKeyEx")
#pragma push_macro("RegSetValueEx")
#undef RegOpenKeyEx
#undef RegQueryValueEx
#undef RegCreateKeyEx
#undef RegSetValueEx

namespace quorvel {

// The registry through the wide calls; keys are HKEY values.
class WindowsRegistry final : public RegistryApi {
  public:
    long RegOpenKeyEx(Key root, const std::u16string& subKey, std::uint32_t access,
                      Key& result) override;
    long RegQueryValueEx(Key key, const std::u16string& valueName, std::uint32_t& type,
                         std::uint8_t* data, std::uint32_t& size) override;
    long RegCreateKeyEx(Key root, const std::u16string& subKey, std::uint32_t access,
                        Key& result) override;
    long RegSetValueEx(Key key, const std::u16string& valueName, std::uint32_t type,
                       std::span<const std::uint8_t> data) override;
    long RegCloseKey(Key key) override;
};

}  // namespace quorvel

#pragma pop_macro("RegSetValueEx")
#pragma pop_macro("RegCreateKeyEx")
#pragma pop_macro("RegQueryValueEx")
#pragma pop_macro("RegOpenKeyEx")
