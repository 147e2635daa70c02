#include "actions/actions_win.h"

namespace quorvel {

WindowsServices::WindowsServices(const std::function<HWND()>& launchOwner, HWND clipboardOwner)
    : clipboard([clipboardOwner] { return clipboardOwner; }), shell(launchOwner) {}

WindowsActions::WindowsActions(const std::function<HWND()>& launchOwner, HWND clipboardOwner)
    : WindowsServices(launchOwner, clipboardOwner),
      SystemOperations({power, processes, cdDoors, clipboard, shell}) {}

}  // namespace quorvel
