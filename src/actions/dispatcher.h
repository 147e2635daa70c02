#pragma once

#include <deque>
#include <functional>
#include <optional>
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
//
// Launches that fail are told in one box for the press, listing each: shown before the next
// row that does something runs, so that a run of missing programs gives one box and what
// follows it waits until the user has seen it; or at the press's end.
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
    // The program is ending: no further row runs, not even of the press whose box is open, and
    // the waiting presses and those still to come are dropped.
    void EndPresses();

  private:
    void RunPress(HotKeyValue hotKey);
    // Whether the walk goes on past this row.
    bool RunTask(const TaskView& task);
    bool Launch(std::u16string_view operation, std::u16string_view file,
                std::u16string_view parameters, std::u16string_view directory, int show);
    std::u16string ProfileFolder();
    // Shows the failures not shown yet; whether a row may run after the box.
    bool ShowFailures();
    bool MayRun() const;

    const TaskTable& table_;
    const RowsByHotKey& rowsByHotKey_;
    ActionOperations& operations_;
    std::function<void()> reportFailure_;
    bool running_ = false;
    bool ended_ = false;
    std::deque<HotKeyValue> waiting_;
    std::vector<int> pressRows_;  // the rows of the running press
    std::uint64_t pressChangeCount_ = 0;
    std::vector<LaunchFailure> failures_;  // the running press's, not shown yet
};

// The text of a press's box about its failed launches: each reason once for the targets in a
// row that share it, the targets in quotes, and beyond the first few only how many more.
std::u16string LaunchFailuresText(const std::vector<LaunchFailure>& failures);

}  // namespace quorvel
