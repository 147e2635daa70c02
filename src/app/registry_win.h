#pragma once

#include "app/registry.h"

namespace quorvel {

// The per-user registry through the wide calls.
class WindowsRegistry final : public RegistryApi {
  public:
    std::optional<std::u16string> ReadString(const std::u16string& key,
                                             const std::u16string& valueName) override;
    bool WriteString(const std::u16string& key, const std::u16string& valueName,
                     std::u16string_view text) override;
};

}  // namespace quorvel
