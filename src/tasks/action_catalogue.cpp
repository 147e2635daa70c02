#include "tasks/action_catalogue.h"

#include <algorithm>

namespace quorvel {

std::optional<Action> FindAction(std::u16string_view name) {
    const auto found = std::find(kActionNames.begin(), kActionNames.end(), name);
    if (found == kActionNames.end()) return std::nullopt;
    return static_cast<Action>(found - kActionNames.begin());
}

std::optional<Action> ActionAt(int position) {
    if (position < 0 || position >= static_cast<int>(kActionNames.size())) return std::nullopt;
    return static_cast<Action>(position);
}

int ShowCommandOf(std::u16string_view runType) {
    static constexpr std::array<int, kRunTypes.size()> kShowCommands{kSwShowNormal, kSwHide,
                                                                     kSwShowMaximized, kSwMinimize};
    const auto found = std::find(kRunTypes.begin(), kRunTypes.end(), runType);
    if (found == kRunTypes.end()) return kSwShowNormal;
    return kShowCommands[static_cast<std::size_t>(found - kRunTypes.begin())];
}

}  // namespace quorvel
