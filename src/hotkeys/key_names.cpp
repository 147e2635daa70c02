#include "hotkeys/key_names.h"

#include "common/text.h"

namespace quorvel {

bool KeyNameProvider::EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) const {
    return EqualsIgnoreAsciiCase(a, b);
}

}  // namespace quorvel
