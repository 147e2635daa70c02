#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// <windows.h> makes GetDriveType a macro for its A/W forms; keep the member's name the same in
// every translation unit whatever was included before.
#pragma push_macro("GetDriveType")
#undef GetDriveType

namespace quorvel {

// The drive queries FirstCdRomDrive needs, named as Windows names them.
class DriveApi {
  public:
    virtual ~DriveApi() = default;
    // Bit 0 set for drive A, bit 1 for B, and so on.
    virtual std::uint32_t GetLogicalDrives() = 0;
    // The type of the drive with this root path ("E:\"); kDriveCdRom for a CD-ROM drive.
    virtual std::uint32_t GetDriveType(std::u16string_view rootPath) = 0;
};

inline constexpr std::uint32_t kDriveCdRom = 5;

// The letter of the first CD-ROM drive from A to Z, or the empty text when there is none.
std::u16string FirstCdRomDrive(DriveApi& drives);

}  // namespace quorvel

#pragma pop_macro("GetDriveType")
