#pragma once

#include "editor/cd_rom_drive.h"

#pragma push_macro("GetDriveType")
#undef GetDriveType

namespace quorvel {

class WindowsDrives final : public DriveApi {
  public:
    std::uint32_t GetLogicalDrives() override;
    std::uint32_t GetDriveType(std::u16string_view rootPath) override;
};

}  // namespace quorvel

#pragma pop_macro("GetDriveType")
