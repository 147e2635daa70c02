#pragma once

#include <array>
#include <string_view>

namespace quorvel {

// The seventeen actions, exactly as stored in the task list, in the editor's order.
inline constexpr std::array<std::u16string_view, 17> kActionNames{
    u"Run My Computer",          u"Run My Documents",
    u"Run Calc",                 u"Run Notepad",
    u"Run Command Promt",        u"Power off computer",
    u"Reboot computer",          u"Hibernate computer",
    u"Stand by computer",        u"Log off computer",
    u"Run selected program...",  u"Close selected program...",
    u"Open Website...",          u"Open CD-Rom",
    u"Close CD-Rom",             u"Minimize/Maximaze all windows",
    u"Clear the Windows clipboard",
};

// The run types, exactly as stored.
inline constexpr std::array<std::u16string_view, 4> kRunTypes{u"Normal", u"Hide", u"Maximize",
                                                               u"Minimze"};

}  // namespace quorvel
