#include "hotkeys/hotkey.h"

#include <array>
#include <string_view>

namespace quorvel {

namespace {

constexpr std::array<std::u16string_view, kLastMediaKey - kFirstMediaKey + 1> kMediaKeyNames = {
    u"Browser Back",        u"Browser Forward",     u"Browser Refresh",    u"Browser Stop",
    u"Browser Search",      u"Browser Favorites",   u"Browser Start/Home", u"Volume Mute",
    u"Volume Down",         u"Volume Up",           u"Next Track",         u"Previous Track",
    u"Stop Media",          u"Play/Pause Media",    u"Start Mail",         u"Select Media",
    u"Start Application 1", u"Start Application 2",
};

}  // namespace

SplitKey SplitHotKey(HotKeyValue value) {
    std::uint16_t modifiers = 0;
    if (value & kWinBit) modifiers |= kModWin;
    if (value & kAltBit) modifiers |= kModAlt;
    if (value & kCtrlBit) modifiers |= kModControl;
    if (value & kShiftBit) modifiers |= kModShift;
    return {modifiers, static_cast<std::uint16_t>(value & 0xFF)};
}

bool IsMediaKey(std::uint16_t virtualKey) {
    return virtualKey >= kFirstMediaKey && virtualKey <= kLastMediaKey;
}

std::u16string MediaKeyName(std::uint16_t virtualKey) {
    if (!IsMediaKey(virtualKey)) return {};
    return std::u16string(kMediaKeyNames[virtualKey - kFirstMediaKey]);
}

}  // namespace quorvel
