#include "actions/actions_win.h"

#include <memory>

#include "actions/system_calls_win.h"

namespace quorvel {

WindowsActions::WindowsActions(const std::function<HWND()>& owner)
    : SystemOperations(std::make_unique<WindowsSystemCalls>(owner, owner)) {}

}  // namespace quorvel
