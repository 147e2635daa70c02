#include "app/start_counter.h"

#include <cstdint>

#include "common/text.h"

namespace quorvel {

std::u16string CountStart(RegistryApi& registry) {
    const auto previous =
        ParseInt32(registry.ReadString(kVendorKey, kStartCounterValueName).value_or(u""));
    std::u16string counter = previous ? ToText(std::int64_t{*previous} + 1) : u"1";
    if (!previous) {
        registry.WriteString(kVendorKey, kStartCounterValueName, counter);
    }
    registry.WriteString(kVendorKey, kStartCounterValueName, counter);
    return counter;
}

}  // namespace quorvel
