#include "round_trip_check.h"

#include <gtest/gtest.h>

#include "common/text.h"

namespace quorvel::testing {

int CheckFormatThenParse(const HotKeyText& text, HotKeyValue modifierBits, bool useLayoutNames) {
    int roundTrips = 0;
    for (HotKeyValue vk = 8; vk <= 0xFF; ++vk) {
        const HotKeyValue value = modifierBits + vk;
        const std::u16string formatted = text.FormatHotKey(value, useLayoutNames);
        const HotKeyValue parsed = text.ParseHotKey(formatted, useLayoutNames);
        if (parsed == value) {
            ++roundTrips;
        } else if (parsed != 0) {
            EXPECT_LT(parsed & 0xFF, vk) << ToUtf8(formatted);
            EXPECT_EQ(parsed & ~HotKeyValue{0xFF}, modifierBits) << ToUtf8(formatted);
            EXPECT_EQ(text.FormatHotKey(parsed, useLayoutNames), formatted);
        }
    }
    return roundTrips;
}

}  // namespace quorvel::testing
