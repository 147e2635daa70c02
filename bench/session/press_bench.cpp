// One task's hotkey pressed, from the registrar's WM_HOTKEY to the task's action, with the task
// among 10 rows and among 100,000: a press runs the rows bound to the pressed value and reads
// no other row, so its cost does not grow with the list. The system's side is the tests' fakes
// (hotkey calls, US English key names, files in memory, the fake system), whose own share is
// the same for both lists.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "session_fixture.h"

namespace quorvel {
namespace {

using testing_support::SessionFixture;

constexpr HotKeyValue kPressed = kCtrlBit | kAltBit | 'P';

// The hotkeys of the other rows: letters and digits with every set of modifiers, never the
// pressed one.
std::vector<HotKeyValue> OtherHotKeys() {
    std::vector<HotKeyValue> hotKeys;
    for (HotKeyValue modifiers = kShiftBit; modifiers < 16 * kShiftBit; modifiers += kShiftBit) {
        for (const char key : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
            const HotKeyValue hotKey = modifiers | static_cast<HotKeyValue>(key);
            if (hotKey != kPressed) hotKeys.push_back(hotKey);
        }
    }
    return hotKeys;
}

// `rows` tasks, the last of them the pressed one: it empties the clipboard.
std::u16string ActionsFile(int rows, const HotKeyText& text) {
    const std::vector<HotKeyValue> others = OtherHotKeys();
    std::u16string lines;
    for (int row = 0; row < rows; ++row) {
        const bool pressed = row == rows - 1;
        const HotKeyValue hotKey = pressed ? kPressed : others[row % others.size()];
        lines += ToText(row + 1) + u"," +
                 (pressed ? u"Clear the Windows clipboard" : u"Run selected program...") + u"," +
                 text.FormatHotKey(hotKey) + u",C:\\Tools\\tool.exe -q,Normal,0,True\r\n";
    }
    return lines;
}

void BM_PressToAction(benchmark::State& state) {
    SessionFixture fixture;
    fixture.WriteActionsFile(ActionsFile(static_cast<int>(state.range(0)), fixture.hotKeyText));
    fixture.session.StartUp();
    if (!fixture.registrar.IsBound(kPressed)) {
        state.SkipWithError("the pressed hotkey was not bound");
        return;
    }
    const SplitKey keys = SplitHotKey(kPressed);
    const std::uintptr_t pressedKeys = std::uintptr_t{keys.key} << 16 | keys.modifiers;
    for (auto _ : state) fixture.registrar.ReportPress(pressedKeys);
    if (fixture.system.clipboard.holdsData || !fixture.system.launcher.launches.empty()) {
        state.SkipWithError("the press did not run its task alone");
    }
}
BENCHMARK(BM_PressToAction)->Arg(10)->Arg(100'000);

}  // namespace
}  // namespace quorvel
