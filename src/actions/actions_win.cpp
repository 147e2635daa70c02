#include "actions/actions_win.h"

#include <memory>

#include "actions/system_calls_win.h"

namespace quorvel {

WindowsActions::WindowsActions(const std::function<HWND()>& launchOwner, HWND clipboardOwner)
    : SystemOperations(std::make_unique<WindowsSystemCalls>(
          launchOwner, [clipboardOwner] { return clipboardOwner; })) {}

}  // namespace quorvel
