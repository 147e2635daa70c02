#include "session/hotkey_health.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace quorvel {

namespace {

// How many of the tasks the start-up notice names; the notification area shows a few lines.
constexpr int kTasksNamed = 3;
// How much of a stored text a warning line shows: the longest real hotkey ("Control+Shift+
// Alt+Win+Scroll Lock") and action name whole. Such a line does not wrap, and its box is as
// wide as it.
constexpr std::size_t kLongestWarnedText = 40;

struct StatusTexts {
    std::u16string_view reason;  // as the Hotkey cell appends it
    std::u16string_view advice;  // the cell's tip
};

// By status, in the order HotKeyStatus declares them; active and disabled rows say nothing.
constexpr std::array<StatusTexts, 7> kStatusTexts{{
    {},
    {u"in use by another program",
     u"Another program has taken this hotkey, so it does not reach Quorvel. Pick another hotkey "
     u"for this task, or close the other program: Quorvel takes the hotkey as soon as the other "
     u"program lets it go."},
    {u"refused by Windows",
     u"Windows did not accept this hotkey. Pick another hotkey for this task."},
    {u"not a hotkey on this keyboard layout",
     u"This text names no key of the current keyboard layout (it may have been written under "
     u"another one). Edit the task and press its hotkey again."},
    {u"no hotkey",
     u"This task has no hotkey, so nothing runs it. Edit the task and press a hotkey."},
    {u"paused",
     u"Quorvel's hotkeys are paused, so other programs get these keys. Choose \"Pause hotkeys\" "
     u"again in the menu of Quorvel's icon in the notification area to take them back."},
    {},
}};
static_assert(static_cast<std::size_t>(HotKeyStatus::kDisabled) + 1 == kStatusTexts.size());

const StatusTexts& TextsOf(HotKeyStatus status) {
    return kStatusTexts[static_cast<std::size_t>(status)];
}

// "N hotkeys are not active", the first line of the warnings that count them.
std::u16string InactiveCountText(int inactive) {
    return inactive == 1 ? u"1 hotkey is not active"
                         : ToText(inactive) + u" hotkeys are not active";
}

}  // namespace

bool NeedsWarning(HotKeyStatus status) {
    return status != HotKeyStatus::kActive && status != HotKeyStatus::kDisabled;
}

std::u16string HotKeyCellText(std::u16string_view storedText, HotKeyStatus status) {
    std::u16string text(storedText);
    if (!NeedsWarning(status)) return text;
    if (!text.empty()) text += u' ';
    return text + u"(" + std::u16string(TextsOf(status).reason) + u")";
}

std::u16string HotKeyWarningText(std::u16string_view storedText, HotKeyStatus status) {
    return HotKeyCellText(VisibleText(storedText, kLongestWarnedText), status);
}

std::u16string_view HotKeyAdvice(HotKeyStatus status) { return TextsOf(status).advice; }

std::u16string InactiveHotKeysNote(const TaskTable& table, std::span<const HotKeyStatus> statuses) {
    const int rows = std::min(table.RowCount(), static_cast<int>(statuses.size()));
    std::u16string lines;
    int inactive = 0;
    for (int row = 0; row < rows; ++row) {
        const HotKeyStatus status = statuses[static_cast<std::size_t>(row)];
        if (!NeedsWarning(status)) continue;
        if (++inactive > kTasksNamed) continue;
        const TaskView task = table.ViewAt(row);
        lines += u"\n" + VisibleText(task.actionName, kLongestWarnedText) + u": " +
                 HotKeyWarningText(task.hotKeyText, status);
    }
    if (inactive == 0) return {};
    const std::u16string more = inactive > kTasksNamed ? u"\n..." : std::u16string();
    return InactiveCountText(inactive) + lines + more;
}

std::u16string TrayIconTip(std::span<const HotKeyStatus> statuses, bool paused) {
    if (paused) return u"Quorvel\nHotkeys are paused";
    const auto inactive = std::count_if(statuses.begin(), statuses.end(), NeedsWarning);
    if (inactive == 0) return u"Quorvel";
    return u"Quorvel\n" + InactiveCountText(static_cast<int>(inactive));
}

}  // namespace quorvel
