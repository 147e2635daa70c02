#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tasks/action_catalogue.h"

namespace quorvel {

// One task, a row of the task table: its action's stored name (the Desc column), its hotkey's
// text, its destination, its run type, its picture's position and whether it runs. The row
// number, the table's seventh column, is the task's position and is not stored.
template <typename Text>
struct BasicTask {
    Text actionName{};
    Text hotKeyText{};
    Text dest{};
    Text runType{};
    std::int32_t image = 0;  // the defaults are a new row's
    bool enabled = true;

    bool operator==(const BasicTask&) const = default;
};

// A task of its own, to build a row from or to keep beyond the table's next change.
using Task = BasicTask<std::u16string>;
// A task read in place: its texts stay valid until the table changes.
using TaskView = BasicTask<std::u16string_view>;

// What the program acts on for a row, resolved from its stored texts when the row is read or
// changed, so that a press and a registration read no text: its action (none for a name that
// is not one of the seventeen), the show command of its run type and the hotkey value its text
// stands for on the keyboard layout (0: none).
struct ResolvedTask {
    std::optional<Action> action;
    int showCommand = kSwShowNormal;
    std::uint32_t hotKey = 0;
};

}  // namespace quorvel
