#include "app/settings.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"

namespace quorvel {

namespace {

constexpr char16_t kSettingsFile[] = u"settings.cnfg";
constexpr char16_t kWindowSizeFile[] = u"w_size.cnfg";
// The grid's first four columns in its column list, whose widths the settings file keeps.
constexpr std::array<Column, 4> kStoredWidths{kNumberColumn, kDescColumn, kHotKeyColumn,
                                              kDestColumn};
constexpr int kFirstWidthLine = 2;

// The system's codes for a file that does not exist, and for one whose folder does not.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;

std::u16string DataFile(const SettingsStore& store, std::u16string_view name) {
    return DataFilePath(store.executablePath, name);
}

// A file that is not there yet (a first start, a copy without its data folder) is no failure:
// it reads as the defaults, which the next save writes.
SettingsLines ReadLines(const SettingsStore& store, std::u16string_view name,
                        SettingsLines defaults) {
    const std::u16string path = DataFile(store, name);
    try {
        return SplitLines(store.files.ReadFile(path));
    } catch (const FileError& e) {
        if (e.Code() == kFileNotFound || e.Code() == kPathNotFound) return defaults;
        throw Error(CannotOpenFileText(path, store.systemErrorText(e.Code())));
    }
}

SettingsLines DefaultSettingsLines(const SettingsWindow& window) {
    SettingsLines lines{BooleanLineText(true), BooleanLineText(true)};
    for (const Column column : kStoredWidths) {
        lines.push_back(ToText(window.ColumnWidthLimits(column).byDefault));
    }
    return lines;
}

// The window's default size, not maximised, where it is.
SettingsLines DefaultWindowSizeLines(const SettingsWindow& window) {
    return {ToText(window.DefaultSize().width), ToText(window.DefaultSize().height),
            ToText(static_cast<int>(SettingsWindow::State::Normal))};
}

SettingsLines WindowSizeLines(const SettingsStore& store, const SettingsWindow& window) {
    return ReadLines(store, kWindowSizeFile, DefaultWindowSizeLines(window));
}

// A width a column cannot usefully take (a column of no width stays hidden) gives the default
// width instead.
int UsableLength(int stored, int minimum, int byDefault,
                 int maximum = std::numeric_limits<int>::max()) {
    return stored < minimum || stored > maximum ? byDefault : stored;
}

// A length the window cannot take, one saved at a lower DPI say, grows to the window's smallest
// at the DPI it shows at, where every control fits.
void ApplyWindowSize(const SettingsLines& lines, SettingsWindow& window) {
    window.SetWidth(std::max(IntegerLine(LineAt(lines, 0)), window.MinimumSize().width));
    window.SetHeight(std::max(IntegerLine(LineAt(lines, 1)), window.MinimumSize().height));
    if (LineAt(lines, 2) == u"2") window.Maximize();
}

void ApplyColumnWidth(Column column, int stored, SettingsWindow& window) {
    const SettingsWindow::WidthLimits limits = window.ColumnWidthLimits(column);
    window.SetColumnWidth(column,
                          UsableLength(stored, limits.minimum, limits.byDefault, limits.maximum));
}

SettingsLines SettingsFileLines(const SettingsWindow& window) {
    SettingsLines lines{BooleanLineText(window.Autostart()), BooleanLineText(window.TrayOnly())};
    for (const Column column : kStoredWidths) lines.push_back(ToText(window.ColumnWidth(column)));
    return lines;
}

SettingsLines WindowSizeFileLines(const SettingsWindow& window) {
    return {ToText(window.Width()), ToText(window.Height()),
            ToText(static_cast<int>(window.WindowState())), ToText(window.Left()),
            ToText(window.Top())};
}

}  // namespace

void LoadSettings(const SettingsStore& store, SettingsWindow& window) {
    const SettingsLines settings = ReadLines(store, kSettingsFile, DefaultSettingsLines(window));
    window.SetAutostart(BooleanLine(LineAt(settings, 0)));
    window.SetTrayOnly(BooleanLine(LineAt(settings, 1)));
    for (int i = 0; i < static_cast<int>(kStoredWidths.size()); ++i) {
        ApplyColumnWidth(kStoredWidths[i], IntegerLine(LineAt(settings, kFirstWidthLine + i)),
                         window);
    }
    if (!window.TrayOnly()) window.MakeVisible();

    const SettingsLines size = WindowSizeLines(store, window);
    ApplyWindowSize(size, window);
    try {
        window.MoveTo(IntegerLine(LineAt(size, 3)), IntegerLine(LineAt(size, 4)));
    } catch (const Error&) {
        // A file without a usable position keeps the window where it is.
    }
}

std::u16string AutostartCommand(std::u16string_view executablePath) {
    return u"\"" + std::u16string(executablePath) + u"\"";
}

void SaveSettings(const SettingsStore& store, const SettingsWindow& window) {
    store.registry.WriteString(
        kRunKey, kRunValueName,
        window.Autostart() ? AutostartCommand(store.executablePath) : std::u16string());
    const SettingsLines settings = SettingsFileLines(window);
    const SettingsLines size = WindowSizeFileLines(window);
    try {
        store.files.ReplaceFile(DataFile(store, kSettingsFile), JoinLines(settings));
        store.files.ReplaceFile(DataFile(store, kWindowSizeFile), JoinLines(size));
    } catch (const Error&) {
        // Settings are a convenience: a data folder that cannot be written must not stop the
        // program, and the next save tries again.
    }
}

void LoadWindowSize(const SettingsStore& store, SettingsWindow& window) {
    ApplyWindowSize(WindowSizeLines(store, window), window);
}

}  // namespace quorvel
