#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quorvel {

// The file-open dialog for a program file ("All (*.exe, *.bat, *.com)"), opened
// with `initialName` filled in. The chosen full path, or nothing when the user cancels.
std::optional<std::u16string> ChooseProgramFile(HWND owner, const std::u16string& initialName);

}  // namespace quorvel
