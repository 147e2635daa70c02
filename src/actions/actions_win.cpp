#include "actions/actions_win.h"

namespace quorvel {

WindowsServices::WindowsServices(const std::function<HWND()>& owner)
    : clipboard(owner), shell(owner) {}

WindowsActions::WindowsActions(const std::function<HWND()>& owner)
    : WindowsServices(owner), SystemOperations({power, processes, cdDoors, clipboard, shell}) {}

}  // namespace quorvel
