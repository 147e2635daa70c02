// Time per ParseHotKey call over the text of every key with modifiers, asking the system for
// each key name (a conversion new at every call, whose name table is still to be made) versus
// the program's conversion, which keeps its table of names per layout. Prints one summary line.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"

namespace {

using quorvel::HotKeyText;
using quorvel::HotKeyValue;

constexpr auto kMinimumTime = std::chrono::milliseconds(1000);

std::vector<std::u16string> EveryKeyText(const HotKeyText& text) {
    std::vector<std::u16string> texts;
    for (const HotKeyValue modifiers : {0x0u, 0x4000u, 0x4000u + 0x8000u, 0x2000u + 0x10000u}) {
        for (HotKeyValue vk = 8; vk <= 0xFF; ++vk)
            texts.push_back(text.FormatHotKey(modifiers + vk));
    }
    return texts;
}

struct Timing {
    double nanosecondsPerCall;
    std::vector<HotKeyValue> results;
};

// Whole passes over the texts until the minimum time is spent; the first pass also fills the
// name table, as the program's first registration does.
Timing TimeParsing(const HotKeyText& text, const std::vector<std::u16string>& texts) {
    using Clock = std::chrono::steady_clock;
    Timing timing{0, std::vector<HotKeyValue>(texts.size())};
    long long calls = 0;
    const Clock::time_point start = Clock::now();
    Clock::duration elapsed{};
    do {
        for (std::size_t i = 0; i < texts.size(); ++i)
            timing.results[i] = text.ParseHotKey(texts[i]);
        calls += static_cast<long long>(texts.size());
        elapsed = Clock::now() - start;
    } while (elapsed < kMinimumTime);
    timing.nanosecondsPerCall =
        static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count()) /
        static_cast<double>(calls);
    return timing;
}

// One pass: each text read by a conversion made for it, made outside the time.
Timing TimeAskingTheSystem(quorvel::KeyNameProvider& keyNames,
                           const std::vector<std::u16string>& texts) {
    using Clock = std::chrono::steady_clock;
    Timing timing{0, std::vector<HotKeyValue>(texts.size())};
    Clock::duration elapsed{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const HotKeyText fresh(keyNames);
        const Clock::time_point start = Clock::now();
        timing.results[i] = fresh.ParseHotKey(texts[i]);
        elapsed += Clock::now() - start;
    }
    timing.nanosecondsPerCall =
        static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count()) /
        static_cast<double>(texts.size());
    return timing;
}

}  // namespace

int main() {
    quorvel::WindowsKeyNames keyNames;
    std::vector<std::u16string> texts;
    {
        const HotKeyText text(keyNames);
        texts = EveryKeyText(text);
    }
    const Timing asking = TimeAskingTheSystem(keyNames, texts);
    const HotKeyText text(keyNames);
    const Timing table = TimeParsing(text, texts);
    const bool same = asking.results == table.results;
    std::printf(
        "ParseHotKey over %zu key texts: asking the system %.0f ns/call, name table %.0f "
        "ns/call, ratio %.1f; results %s\n",
        texts.size(), asking.nanosecondsPerCall, table.nanosecondsPerCall,
        asking.nanosecondsPerCall / table.nanosecondsPerCall, same ? "identical" : "DIFFER");
    return same ? 0 : 1;
}
