#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "actions/action_operations.h"
#include "hotkeys/hotkey.h"
#include "tasks/task_table.h"

namespace quorvel {

// Runs the tasks of a pressed hotkey: every enabled row whose Hotkey text is the pressed
// hotkey's text performs its action, top row first, all within the one press.
class Dispatcher {
  public:
    Dispatcher(TaskTable& table, std::function<std::u16string(HotKeyValue)> formatHotKey,
               ActionOperations& operations);

    // The hotkey component's press event. `index` (the registration id) is not needed here.
    // An error thrown by an operation ends the press: the rows below are not visited.
    void Dravlin1HotKeyPressed(HotKeyValue hotKey, std::uint16_t index);

  private:
    void RunTask(const Task& task);

    TaskTable& table_;
    std::function<std::u16string(HotKeyValue)> formatHotKey_;
    ActionOperations& operations_;
};

}  // namespace quorvel
