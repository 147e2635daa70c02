#pragma once

#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "actions/action_operations.h"
#include "actions/dispatcher.h"
#include "app/hotkey_health.h"
#include "editor/task_icons.h"
#include "editor/task_steps.h"
#include "hotkeys/dravlin.h"
#include "hotkeys/hotkey_text.h"
#include "tasks/file_system.h"
#include "tasks/task_file.h"
#include "tasks/task_table.h"

namespace quorvel {

// The program's tasks while it runs: the task table and its actions file, the enabled rows'
// hotkeys bound with the registrar Dravlin1 and each row's hotkey status, each press handed to
// the dispatcher, and the rows' pictures. The main window shows and changes the table; the
// editor's OK takes its steps here.
class TaskSession final : public TaskSteps {
  public:
    // Everything given must outlive the session; from now on Dravlin1's presses run tasks.
    TaskSession(FileSystem& files, std::u16string actionsPath, const HotKeyText& hotKeyText,
                TDravlin& dravlin1, ActionOperations& operations, TaskPictures& pictures);
    ~TaskSession() override;
    TaskSession(const TaskSession&) = delete;
    TaskSession& operator=(const TaskSession&) = delete;

    // Once, after the main window is made: the actions file read into the table (a failure
    // ends it without a word and keeps the rows read: a first start has no file), the hotkeys
    // registered, and the pictures rebuilt when the read succeeded (a failure of the rebuild is
    // silent too).
    void StartUp();

    TaskTable& NextGrid1() override { return table_; }
    // Writes the table to the actions file. Nothing is written before the start-up read, which
    // an earlier save would replace with the still empty table.
    void SaveTaskFile() override;
    // Makes the registrations follow the table, after every change to it: each enabled row's
    // hotkey is bound, once per value, and a value no enabled row uses any more is released
    // (its atom given up). A value the system refused is tried again, so calling this alone
    // retries the refused ones. Then every row's status is set and the view repainted.
    void RegisterTaskHotKeys() override;
    // The task pictures made anew from the whole table (BitBtn5Click).
    void RebuildIcons() override;
    // Gives every hotkey back, at program end.
    void ReleaseHotKeys() { dravlin1_.ReleaseAll(); }

    // What the start-up read found besides the rows: damage, and where the file is kept.
    const TaskFileLoad& TaskFileRead() const { return taskFile_.LastLoad(); }

    // Each row's status as the last registration found it, in row order.
    std::span<const HotKeyStatus> HotKeyStatuses() const { return hotKeyStatuses_; }
    // A row added since then (it is registered at once after the change) reads as active.
    HotKeyStatus HotKeyStatusAt(int row) const;

  private:
    // The system's refusal of each value it did not take.
    using Refusals = std::unordered_map<HotKeyValue, std::uint32_t>;

    // Whether the whole file was read.
    bool LoadTasks();
    void BuildStartPictures();
    std::vector<HotKeyValue> RowHotKeys() const;
    void ReleaseUnwanted(const std::unordered_set<HotKeyValue>& wanted);
    Refusals BindWanted(const std::vector<HotKeyValue>& wanted);
    void SetStatuses(const std::vector<HotKeyValue>& rowHotKeys, const Refusals& refusals);

    TaskTable table_;
    TaskFile taskFile_;
    bool taskFileLoaded_ = false;
    const HotKeyText& hotKeyText_;
    TDravlin& dravlin1_;
    TaskPictures& pictures_;
    Dispatcher dispatcher_;
    std::vector<HotKeyStatus> hotKeyStatuses_;
};

}  // namespace quorvel
