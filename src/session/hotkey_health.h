#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tasks/task_table.h"

namespace quorvel {

// Whether a task's hotkey works, as the last registration found it. Kept beside the task
// table, never in the file.
enum class HotKeyStatus : std::uint8_t {
    kActive,       // registered: a press anywhere runs the task
    kInUse,        // another program holds the combination, so the system refused it
    kRefused,      // the system refused it for another reason
    kNotOnLayout,  // a text that reads as no hotkey on this keyboard layout
    kNoHotKey,     // an empty text
    kPaused,       // the user paused every hotkey, so it is given back to other programs
    kDisabled,     // the task does not run, whatever its hotkey
};

// An enabled task whose hotkey does not work: the grid marks its Hotkey cell.
bool NeedsWarning(HotKeyStatus status);

// What the Hotkey cell reads: the stored text, and for a marked row the reason in parentheses
// after it ("Ctrl+Alt+Q (in use by another program)").
std::u16string HotKeyCellText(std::u16string_view storedText, HotKeyStatus status);

// The cell's text as the warnings show it on one line (the tip's title, the start-up notice):
// a long stored text cut and its control characters written out, so that a warning keeps a
// sensible width whatever the task file holds.
std::u16string HotKeyWarningText(std::u16string_view storedText, HotKeyStatus status);

// The tip on a marked Hotkey cell: what is wrong and what to do about it; empty for the rest.
std::u16string_view HotKeyAdvice(HotKeyStatus status);

// The start-up notice: "N hotkeys are not active" and the first few of those tasks, one a
// line; empty when every enabled task's hotkey works.
std::u16string InactiveHotKeysNote(const TaskTable& table, std::span<const HotKeyStatus> statuses);

// The notification-area icon's tip: "Quorvel", with a second line that says how many hotkeys
// are not active, or that they are paused.
std::u16string TrayIconTip(std::span<const HotKeyStatus> statuses, bool paused);

}  // namespace quorvel
