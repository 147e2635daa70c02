#include "editor/drive_api_win.h"

#include <windows.h>

#include "common/win/wide_text_win.h"

// Defines the member named like the A/W macro and calls the W function.
#undef GetDriveType

namespace quorvel {

static_assert(kDriveCdRom == DRIVE_CDROM);

std::uint32_t WindowsDrives::GetLogicalDrives() { return ::GetLogicalDrives(); }

std::uint32_t WindowsDrives::GetDriveType(std::u16string_view rootPath) {
    return ::GetDriveTypeW(ToWide(rootPath).c_str());
}

}  // namespace quorvel
