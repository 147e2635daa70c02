#pragma once

#include <deque>
#include <functional>
#include <unordered_map>
#include <vector>

#include "actions/action_operations.h"
#include "hotkeys/hotkey.h"
#include "tasks/task_table.h"

namespace quorvel {

// For each bound hotkey value, the enabled rows that asked for it, top row first: what a press
// of that value runs. The registrations keep it as they bind.
using RowsByHotKey = std::unordered_map<HotKeyValue, std::vector<int>>;

// Runs the tasks of a pressed hotkey: the rows bound to the pressed value, top row first, all
// within the one press. A press reads no hotkey text: the value was matched when it was bound.
class Dispatcher {
  public:
    // `reportFailure` is called inside the handler of what an action threw, to show it; the
    // table and the rows must outlive the dispatcher.
    Dispatcher(const TaskTable& table, const RowsByHotKey& rowsByHotKey,
               ActionOperations& operations, std::function<void()> reportFailure);

    // A failing action ends its press (the rows below are not visited) and is reported. A press
    // that arrives while an action runs (its box open, say) waits until the running press
    // ends, once per hotkey however often it was pressed: presses never nest.
    void OnHotKeyPressed(HotKeyValue hotKey);

  private:
    void RunPress(HotKeyValue hotKey);
    void RunTask(const TaskView& task);

    const TaskTable& table_;
    const RowsByHotKey& rowsByHotKey_;
    ActionOperations& operations_;
    std::function<void()> reportFailure_;
    bool running_ = false;
    std::deque<HotKeyValue> waiting_;
    std::vector<int> pressRows_;  // the rows of the running press
};

}  // namespace quorvel
