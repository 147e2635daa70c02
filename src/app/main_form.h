#pragma once

#include "tasks/task_table.h"

namespace quorvel {

// What the other windows need of the main window, without its window.
class MainForm {
  public:
    virtual ~MainForm() = default;
    virtual TaskTable& NextGrid1() = 0;
    // Writes the task table to data\actions.cfg; throws Error when it cannot.
    virtual void SaveTaskFile() = 0;
    // Reads data\actions.cfg into the task table (once, at start); throws Error.
    virtual void LoadTaskFile() = 0;
};

}  // namespace quorvel
