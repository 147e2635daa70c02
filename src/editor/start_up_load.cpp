#include "editor/start_up_load.h"

#include "common/error.h"

namespace quorvel {

void LoadTasksAndIcons(MainForm& form1, const std::function<void()>& rebuildIcons) {
    try {
        form1.LoadTaskFile();
        rebuildIcons();
    } catch (const Error&) {
        // The first start has no actions file; the program starts with what could be read.
    }
}

}  // namespace quorvel
