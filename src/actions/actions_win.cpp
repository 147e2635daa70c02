#include "actions/actions_win.h"

#include <memory>
#include <utility>

#include "actions/system_calls_win.h"

namespace quorvel {

WindowsActions::WindowsActions(std::function<HWND()> editorWindow,
                               std::function<HWND()> applicationWindow)
    : SystemOperations(std::make_unique<WindowsSystemCalls>(std::move(editorWindow),
                                                            std::move(applicationWindow))) {}

WindowsActions::WindowsActions(HWND owner)
    : WindowsActions([owner] { return owner; }, [owner] { return owner; }) {}

}  // namespace quorvel
