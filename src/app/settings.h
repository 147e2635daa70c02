#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/registry.h"
#include "app/settings_lines.h"
#include "common/file_system.h"
#include "tasks/task_table.h"

namespace quorvel {

// The main window as the settings see it. Sizes and positions are screen pixels.
class SettingsWindow {
  public:
    enum class State { Normal = 0, Minimized = 1, Maximized = 2 };
    struct Size {
        int width = 0;
        int height = 0;
    };

    virtual ~SettingsWindow() = default;
    virtual bool Autostart() const = 0;  // "Auto start with Windows "
    virtual void SetAutostart(bool checked) = 0;
    virtual bool TrayOnly() const = 0;  // "Always start in system tray only"
    virtual void SetTrayOnly(bool checked) = 0;
    struct WidthLimits {
        int minimum = 0;
        int maximum = 0;
        int byDefault = 0;
    };

    // Grid column widths by the column's storage index.
    virtual int ColumnWidth(Column column) const = 0;
    virtual void SetColumnWidth(Column column, int width) = 0;
    // The widths a column takes from the file: narrower, it shows nothing of its text (or
    // nothing at all); wider, it reaches beyond the screen. And the width it is made with.
    virtual WidthLimits ColumnWidthLimits(Column column) const = 0;
    virtual void MakeVisible() = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual State WindowState() const = 0;
    // The smallest size the window takes at the DPI it shows at, and the size it is made with.
    virtual Size MinimumSize() const = 0;
    virtual Size DefaultSize() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual void Maximize() = 0;
    // Moves the window keeping its size and brings it to the top of the window order.
    virtual void MoveTo(int left, int top) = 0;
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

// Reads settings.cnfg and w_size.cnfg and applies them to the window, stopping at the first bad
// or missing line with its Error; only a failure of the final move is ignored. A file that does
// not exist, or whose folder does not, reads as the defaults: both options on, the columns and
// the window as made. A width or height below the window's smallest grows to it; a column width
// outside the column's limits gives the column's default.
void LoadSettings(const SettingsStore& store, SettingsWindow& window);
// Writes the autostart value and both files; every failure is ignored.
void SaveSettings(const SettingsStore& store, const SettingsWindow& window);
// The size and maximised state from w_size.cnfg (the defaults when it does not exist), without
// the position; throws Error.
void LoadWindowSize(const SettingsStore& store, SettingsWindow& window);

}  // namespace quorvel
