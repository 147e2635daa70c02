#include <gtest/gtest.h>

#include "hotkeys/hotkey.h"

namespace quorvel {
namespace {

TEST(HotKeyValue, EveryModifierFlagMapsToItsOwnBitBothWays) {
    EXPECT_EQ(MakeHotKey(kModControl | kModAlt, 0x4E), 0x4000u + 0x8000u + 0x4Eu);
    const std::pair<std::uint16_t, HotKeyValue> pairs[] = {
        {kModAlt, 0x8000}, {kModControl, 0x4000}, {kModShift, 0x2000}, {kModWin, 0x10000}};
    for (const auto& [flag, bit] : pairs) {
        EXPECT_EQ(MakeHotKey(flag, 0), bit) << flag;
        EXPECT_EQ(SplitHotKey(bit + 0x41).modifiers, flag) << flag;
    }
    EXPECT_EQ(SplitHotKey(0x10000 + 0x41).key, 0x41);
    EXPECT_EQ(SplitHotKey(0x4000 + 0x8000 + 0x4E).modifiers, kModControl | kModAlt);
}

TEST(HotKeyValue, UnknownFlagsAndBitsAreIgnoredAndAKeyAboveOneByteIsCut) {
    // MOD_NOREPEAT (0x4000) must not be read as the Ctrl bit of the value.
    EXPECT_EQ(MakeHotKey(0x4000 | kModAlt, 0x4E), 0x8000u + 0x4Eu);
    const SplitKey split = SplitHotKey(0xFFFF0000u | 0x1F00u | 0x4E);
    EXPECT_EQ(split.modifiers, kModWin);
    EXPECT_EQ(split.key, 0x4E);
    // A key above one byte does not survive a split.
    const HotKeyValue value = MakeHotKey(0, 0x141);
    EXPECT_EQ(value, 0x141u);
    EXPECT_EQ(SplitHotKey(value).key, 0x41);
}

TEST(MediaKeys, RangeIsInclusiveAndOnlyItHasNames) {
    const std::uint16_t outside[] = {0xA5, 0xB8, 0x1A6};
    for (const std::uint16_t key : outside) {
        EXPECT_FALSE(IsMediaKey(key)) << key;
        EXPECT_EQ(MediaKeyName(key), u"") << key;
    }
    EXPECT_TRUE(IsMediaKey(0xA6));
    EXPECT_TRUE(IsMediaKey(0xB7));
    EXPECT_EQ(MediaKeyName(0xA6), u"Browser Back");
    EXPECT_EQ(MediaKeyName(0xAC), u"Browser Start/Home");
    EXPECT_EQ(MediaKeyName(0xAD), u"Volume Mute");
    EXPECT_EQ(MediaKeyName(0xB3), u"Play/Pause Media");
    EXPECT_EQ(MediaKeyName(0xB7), u"Start Application 2");
}

}  // namespace
}  // namespace quorvel
