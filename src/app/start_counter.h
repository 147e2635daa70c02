#pragma once

#include <string>

#include "app/registry.h"

namespace quorvel {

inline constexpr char16_t kVendorKey[] = u"Software\\Tessaly\\Dravlin";
inline constexpr char16_t kStartCounterValueName[] = u"fr";

// Counts this start in the registry value "fr" and gives the new count as decimal text
// ("1" on the first start: no value yet, or one that is not a whole number).
std::u16string CountStart(RegistryApi& registry);

}  // namespace quorvel
