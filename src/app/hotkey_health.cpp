#include "app/hotkey_health.h"

#include <algorithm>

#include "common/text.h"

namespace quorvel {

namespace {

// How many of the tasks the start-up notice names; the notification area shows a few lines.
constexpr int kTasksNamed = 3;

std::u16string_view Reason(HotKeyStatus status) {
    switch (status) {
        case HotKeyStatus::kInUse:
            return u"in use by another program";
        case HotKeyStatus::kRefused:
            return u"refused by Windows";
        case HotKeyStatus::kNotOnLayout:
            return u"not a hotkey on this keyboard layout";
        case HotKeyStatus::kNoHotKey:
            return u"no hotkey";
        case HotKeyStatus::kActive:
        case HotKeyStatus::kDisabled:
            break;
    }
    return {};
}

}  // namespace

bool NeedsWarning(HotKeyStatus status) {
    return status != HotKeyStatus::kActive && status != HotKeyStatus::kDisabled;
}

std::u16string HotKeyCellText(std::u16string_view storedText, HotKeyStatus status) {
    std::u16string text(storedText);
    if (!NeedsWarning(status)) return text;
    if (!text.empty()) text += u' ';
    return text + u"(" + std::u16string(Reason(status)) + u")";
}

std::u16string_view HotKeyAdvice(HotKeyStatus status) {
    switch (status) {
        case HotKeyStatus::kInUse:
            return u"Another program has taken this hotkey, so it does not reach Quorvel. Pick "
                   u"another hotkey for this task, or close the other program: Quorvel tries "
                   u"again when its window is shown from the notification area.";
        case HotKeyStatus::kRefused:
            return u"Windows did not accept this hotkey. Pick another hotkey for this task.";
        case HotKeyStatus::kNotOnLayout:
            return u"This text names no key of the current keyboard layout (it may have been "
                   u"written under another one). Edit the task and press its hotkey again.";
        case HotKeyStatus::kNoHotKey:
            return u"This task has no hotkey, so nothing runs it. Edit the task and press a "
                   u"hotkey.";
        case HotKeyStatus::kActive:
        case HotKeyStatus::kDisabled:
            break;
    }
    return {};
}

std::u16string InactiveHotKeysNote(const TaskTable& table, std::span<const HotKeyStatus> statuses) {
    const int rows = std::min(table.RowCount(), static_cast<int>(statuses.size()));
    std::u16string lines;
    int inactive = 0;
    for (int row = 0; row < rows; ++row) {
        const HotKeyStatus status = statuses[static_cast<std::size_t>(row)];
        if (!NeedsWarning(status)) continue;
        if (++inactive > kTasksNamed) continue;
        const TaskView task = table.ViewAt(row);
        lines += u"\n" + std::u16string(task.desc) + u": " + HotKeyCellText(task.hotkey, status);
    }
    if (inactive == 0) return {};
    const std::u16string count =
        inactive == 1 ? u"1 hotkey is not active" : ToText(inactive) + u" hotkeys are not active";
    const std::u16string more = inactive > kTasksNamed ? u"\n..." : std::u16string();
    return count + lines + more;
}

}  // namespace quorvel
