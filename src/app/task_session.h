#pragma once

#include <string>

#include "actions/action_operations.h"
#include "actions/dispatcher.h"
#include "editor/task_icons.h"
#include "editor/task_steps.h"
#include "hotkeys/dravlin.h"
#include "hotkeys/hotkey_text.h"
#include "tasks/file_system.h"
#include "tasks/task_file.h"
#include "tasks/task_table.h"

namespace quorvel {

// The program's tasks while it runs: the task table and its actions file, every row's hotkey
// bound with the registrar Dravlin1, each press handed to the dispatcher, and the rows'
// pictures. The main window shows and changes the table; the editor's OK takes its steps here.
class TaskSession final : public TaskSteps {
  public:
    // Everything given must outlive the session; from now on Dravlin1's presses run tasks.
    TaskSession(FileSystem& files, std::u16string actionsPath, const HotKeyText& hotKeyText,
                TDravlin& dravlin1, ActionOperations& operations, TaskPictures& pictures);
    ~TaskSession() override;
    TaskSession(const TaskSession&) = delete;
    TaskSession& operator=(const TaskSession&) = delete;

    // Once, after the main window is made: the actions file read into the table (a failure
    // ends it without a word and keeps the rows read: a first start has no file), every row's
    // hotkey registered, and the pictures rebuilt when the read succeeded (a failure of the
    // rebuild is silent too).
    void StartUp();

    TaskTable& NextGrid1() override { return table_; }
    // Writes the table to the actions file. Nothing is written before the start-up read, which
    // an earlier save would replace with the still empty table.
    void SaveTaskFile() override;
    // Binds every row's hotkey, enabled or not; a text that reads as no hotkey (empty, or
    // written under another keyboard layout) is skipped. Nothing is released first: a hotkey
    // held already is refused by the system and stays held once.
    void RegisterTaskHotKeys() override;
    // The task pictures made anew from the whole table (BitBtn5Click).
    void RebuildIcons() override;
    // Gives every hotkey back, at program end.
    void ReleaseHotKeys() { dravlin1_.ReleaseAll(); }

  private:
    // Whether the whole file was read.
    bool LoadTasks();
    void BuildStartPictures();

    TaskTable table_;
    TaskFile taskFile_;
    bool taskFileLoaded_ = false;
    const HotKeyText& hotKeyText_;
    TDravlin& dravlin1_;
    TaskPictures& pictures_;
    Dispatcher dispatcher_;
};

}  // namespace quorvel
