#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/registry.h"
#include "app/settings_lines.h"
#include "common/file_system.h"
#include "tasks/task_table.h"

namespace quorvel {

// What the settings files hold, as the main window shows it: the two options, the widths of
// the grid's stored columns (at 96 DPI) and the window's size, state and place (screen pixels).
struct Settings {
    enum class State { Normal = 0, Minimized = 1, Maximized = 2 };
    struct Size {
        int width = 0;
        int height = 0;
        bool operator==(const Size&) const = default;
    };
    struct Place {
        int left = 0;
        int top = 0;
        bool operator==(const Place&) const = default;
    };
    // The grid's first four columns in its column list, whose widths the settings file keeps.
    static constexpr std::array<Column, 4> kStoredWidths{kNumberColumn, kDescColumn, kHotKeyColumn,
                                                         kDestColumn};

    bool autostart = true;  // "Auto start with Windows "
    bool trayOnly = true;   // "Always start in system tray only"
    std::array<int, kStoredWidths.size()> columnWidths{};
    Size size;
    State state = State::Normal;
    Place place;
};

// What the window takes, at the DPI it shows at: its smallest size and the size it is made
// with; the widths a column takes from the file (narrower, it shows nothing of its text, or
// nothing at all; wider, it reaches beyond the screen) and the widths the columns are made
// with.
struct SettingsLimits {
    Settings::Size minimumSize;
    Settings::Size defaultSize;
    int narrowestColumn = 0;
    int widestColumn = 0;
    std::array<int, Settings::kStoredWidths.size()> designedWidths{};
};

// Where the settings live: the data folder's files and the per-user registry.
struct SettingsStore {
    FileSystem& files;
    RegistryApi& registry;
    std::u16string executablePath;
    // The system's description of an error code, for "Cannot open file" messages.
    std::function<std::u16string(std::uint32_t)> systemErrorText;
};

inline constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRunValueName[] = u"Quorvel";

// The autostart value for a "Auto start with Windows " that is on: the executable's path in
// quotes, so that Windows reads a path with spaces whole and never starts a "C:\Users\Jo.exe"
// for "C:\Users\Jo Smith\Quorvel.exe".
std::u16string AutostartCommand(std::u16string_view executablePath);

// The loads read a file into `settings`, line by line, and stop at the first bad or missing
// line with its Error, `settings` keeping what was read before it. A file that does not exist,
// or whose folder does not, reads as the defaults: both options on, the columns and the window
// as made. A width or height below the window's smallest grows to it; a column width outside
// the limits gives the column's designed width.
// settings.cnfg: the options and the column widths.
void LoadOptions(const SettingsStore& store, const SettingsLimits& limits, Settings& settings);
// w_size.cnfg: the size and the maximised state, and with `withPlace` the position, which a
// file without a usable one leaves as it is.
void LoadWindowSize(const SettingsStore& store, const SettingsLimits& limits, Settings& settings,
                    bool withPlace);
// Writes the autostart value and both files; every failure is ignored.
void SaveSettings(const SettingsStore& store, const Settings& settings);

}  // namespace quorvel
