#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "editor/cd_rom_drive.h"
#include "editor/hotkey_field.h"

namespace quorvel {
namespace {

// The common control's flags: Shift 0x01, Ctrl 0x02, Alt 0x04, extended key 0x08.
std::uint16_t FieldValue(std::uint8_t flags, std::uint8_t key) {
    return static_cast<std::uint16_t>(flags << 8 | key);
}

TEST(HotKeyField, ShiftAndAltSwapPlacesAndEveryModifierSetSurvivesTheRoundTrip) {
    EXPECT_EQ(ShortCutFromHotKeyField(FieldValue(0x01, 'A')), 0x2000 + 'A');
    EXPECT_EQ(ShortCutFromHotKeyField(FieldValue(0x02, 'A')), 0x4000 + 'A');
    EXPECT_EQ(ShortCutFromHotKeyField(FieldValue(0x04, 'A')), 0x8000 + 'A');
    EXPECT_EQ(ShortCutFromHotKeyField(FieldValue(0x06, 'N')), 0xC04E);
    EXPECT_EQ(HotKeyFieldFromShortCut(0xC04E), FieldValue(0x06, 'N'));
    EXPECT_EQ(HotKeyFieldFromShortCut(0x2000 + 0x70), FieldValue(0x01, 0x70));
    for (std::uint8_t flags = 0; flags < 8; ++flags) {
        const std::uint16_t field = FieldValue(flags, 0x21);
        EXPECT_EQ(HotKeyFieldFromShortCut(ShortCutFromHotKeyField(field)), field) << int{flags};
    }
}

TEST(HotKeyField, ExtendedFlagIsDroppedAndModifiersWithoutKeyAreNoHotKey) {
    EXPECT_EQ(ShortCutFromHotKeyField(FieldValue(0x0A, 0x2E)), 0x4000 + 0x2E);
    EXPECT_EQ(ShortCutFromHotKeyField(FieldValue(0x02, 0)), 0);
    EXPECT_EQ(HotKeyFieldFromShortCut(0x4000), 0);
    EXPECT_EQ(ShortCutFromHotKeyField(0), 0);
    EXPECT_TRUE(IsBareKey(FieldValue(0x08, 0x2E))) << "the extended flag is no modifier";
    EXPECT_FALSE(IsBareKey(FieldValue(0x02, 0))) << "Ctrl held, the key still to come";
    EXPECT_TRUE(IsModifiersOnly(FieldValue(0x01, 0))) << "Shift+Tab leaves Shift";
    EXPECT_FALSE(IsModifiersOnly(FieldValue(0x08, 0))) << "the extended flag is no modifier";
    EXPECT_FALSE(IsModifiersOnly(0)) << "an empty field is a whole value";
    EXPECT_FALSE(IsModifiersOnly(FieldValue(0x06, 'N')));
}

class FakeDrives : public DriveApi {
  public:
    std::map<char16_t, std::uint32_t> types;  // letter -> drive type
    std::vector<std::u16string> asked;

    std::uint32_t GetLogicalDrives() override {
        std::uint32_t mask = 0;
        for (const auto& [letter, type] : types) mask |= 1U << (letter - u'A');
        return mask;
    }
    std::uint32_t GetDriveType(std::u16string_view rootPath) override {
        asked.emplace_back(rootPath);
        return types.at(rootPath[0]);
    }
};

TEST(FirstCdRomDrive, TakesTheFirstOfExistingDrivesUpToZOrNone) {
    FakeDrives drives;
    drives.types = {{u'C', 3}, {u'F', kDriveCdRom}, {u'E', kDriveCdRom}, {u'Z', 4}};
    EXPECT_EQ(FirstCdRomDrive(drives), u"E");
    EXPECT_EQ(drives.asked, (std::vector<std::u16string>{u"C:\\", u"E:\\"}));

    drives.types = {{u'A', 2}, {u'C', 3}};
    EXPECT_EQ(FirstCdRomDrive(drives), u"");
    drives.types = {{u'C', 3}, {u'Z', kDriveCdRom}};
    EXPECT_EQ(FirstCdRomDrive(drives), u"Z");
}

}  // namespace
}  // namespace quorvel
