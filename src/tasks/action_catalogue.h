#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

// The seventeen actions, in the order the editor offers them.
enum class Action : std::uint8_t {
    RunMyComputer,
    RunMyDocuments,
    RunCalc,
    RunNotepad,
    RunCommandPromt,
    PowerOffComputer,
    RebootComputer,
    HibernateComputer,
    StandByComputer,
    LogOffComputer,
    RunSelectedProgram,
    CloseSelectedProgram,
    OpenWebsite,
    OpenCdRom,
    CloseCdRom,
    MinimizeMaximazeAllWindows,
    ClearTheWindowsClipboard,
};

// Each action's name exactly as the task list stores it, by the action's position: the one
// place where an action and its name meet.
inline constexpr std::array<std::u16string_view, 17> kActionNames{
    u"Run My Computer",
    u"Run My Documents",
    u"Run Calc",
    u"Run Notepad",
    u"Run Command Promt",
    u"Power off computer",
    u"Reboot computer",
    u"Hibernate computer",
    u"Stand by computer",
    u"Log off computer",
    u"Run selected program...",
    u"Close selected program...",
    u"Open Website...",
    u"Open CD-Rom",
    u"Close CD-Rom",
    u"Minimize/Maximaze all windows",
    u"Clear the Windows clipboard",
};

static_assert(kActionNames.size() ==
              static_cast<std::size_t>(Action::ClearTheWindowsClipboard) + 1);

constexpr std::u16string_view ActionName(Action action) {
    return kActionNames[static_cast<std::size_t>(action)];
}

// The action at a position of the editor's list; nothing for a position outside it (-1: none
// selected).
std::optional<Action> ActionAt(int position);

// The action a stored name stands for; names are matched exactly, letter case included.
std::optional<Action> FindAction(std::u16string_view name);

// The run types, exactly as stored.
inline constexpr std::array<std::u16string_view, 4> kRunTypes{u"Normal", u"Hide", u"Maximize",
                                                              u"Minimze"};

// Window show commands handed to the launches (the values of the SW_ constants).
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwMinimize = 6;

// The show command of a stored run type; any text that is not one of kRunTypes exactly
// (an empty cell, "Minimize") shows the window normally.
int ShowCommandOf(std::u16string_view runType);

// Shell folder numbers (CSIDL_) that the folder actions open.
inline constexpr int kCsidlPersonal = 5;
inline constexpr int kCsidlDrives = 17;

}  // namespace quorvel
