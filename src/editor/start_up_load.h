#pragma once

#include <functional>

#include "app/main_form.h"

namespace quorvel {

// The start-up read of the actions file and the icon rebuild after it, guarded together: a
// missing or unreadable file, or a field that cannot be read, ends both without a message and
// leaves the rows read so far. The icons are rebuilt only after a load without failure.
void LoadTasksAndIcons(MainForm& form1, const std::function<void()>& rebuildIcons);

}  // namespace quorvel
