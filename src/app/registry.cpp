#include "app/registry.h"

#include <algorithm>

namespace quorvel {

std::u16string RegStringText(std::span<const std::uint8_t> data) {
    std::u16string units(data.size() / sizeof(char16_t), u'\0');
    std::copy_n(data.begin(), units.size() * sizeof(char16_t),
                reinterpret_cast<std::uint8_t*>(units.data()));
    return units.substr(0, units.find(u'\0'));
}

}  // namespace quorvel
