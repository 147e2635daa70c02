#pragma once

#include "tasks/task_table.h"

namespace quorvel {

// The program's tasks as the editor's OK changes them. Once OK has written its row, the table
// is saved, every row's hotkey registered and the task pictures rebuilt, in this order; the
// task session takes each step.
class TaskSteps {
  public:
    virtual ~TaskSteps() = default;
    virtual TaskTable& NextGrid1() = 0;
    // Each step throws Error when it fails.
    virtual void SaveTaskFile() = 0;
    virtual void RegisterTaskHotKeys() = 0;
    virtual void RebuildIcons() = 0;
};

}  // namespace quorvel
