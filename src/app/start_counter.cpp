#include "app/start_counter.h"

#include <cstdint>

#include "common/text.h"

namespace quorvel {

std::u16string CountStart(RegistryApi& registry) {
    const RegString stored =
        ReadRegString(registry, kHkeyCurrentUser, kVendorKey, kStartCounterValueName);
    const auto previous = ParseInt32(stored.text);
    std::u16string counter = previous ? ToText(std::int64_t{*previous} + 1) : u"1";
    if (!previous) {
        WriteRegString(registry, kHkeyCurrentUser, kVendorKey, kStartCounterValueName, counter);
    }
    WriteRegString(registry, kHkeyCurrentUser, kVendorKey, kStartCounterValueName, counter);
    return counter;
}

}  // namespace quorvel
