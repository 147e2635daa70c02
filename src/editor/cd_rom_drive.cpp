#include "editor/cd_rom_drive.h"

namespace quorvel {

std::u16string FirstCdRomDrive(DriveApi& drives) {
    const std::uint32_t mask = drives.GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask >> i & 1U) == 0) continue;
        const char16_t letter = static_cast<char16_t>(u'A' + i);
        const std::u16string root{letter, u':', u'\\'};
        if (drives.GetDriveType(root) == kDriveCdRom) return std::u16string(1, letter);
    }
    return {};
}

}  // namespace quorvel
