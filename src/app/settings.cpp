#include "app/settings.h"

#include <array>

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"

namespace quorvel {

namespace {

constexpr char16_t kSettingsFile[] = u"settings.cnfg";
constexpr char16_t kWindowSizeFile[] = u"w_size.cnfg";
// The grid's first four columns in its column list, whose widths the settings file keeps.
constexpr std::array<Column, 4> kStoredWidths{kNumberColumn, kDescColumn, kHotkeyColumn,
                                              kDestColumn};
constexpr int kFirstWidthLine = 2;

std::u16string DataFile(const SettingsStore& store, std::u16string_view name) {
    return DataFilePath(store.executablePath, name);
}

SettingsLines ReadLines(const SettingsStore& store, std::u16string_view name) {
    const std::u16string path = DataFile(store, name);
    try {
        return SplitLines(store.files.ReadFile(path));
    } catch (const FileError& e) {
        throw Error(CannotOpenFileText(path, store.systemErrorText(e.Code())));
    }
}

// A length the window cannot take (the system would make it the window's smallest, which would
// then be saved) gives the window's default length instead.
int UsableLength(int stored, int minimum, int byDefault) {
    return stored < minimum ? byDefault : stored;
}

void ApplyWindowSize(const SettingsLines& lines, SettingsWindow& window) {
    window.SetWidth(UsableLength(IntegerLine(LineAt(lines, 0)), window.MinimumSize().width,
                                 window.DefaultSize().width));
    window.SetHeight(UsableLength(IntegerLine(LineAt(lines, 1)), window.MinimumSize().height,
                                  window.DefaultSize().height));
    if (LineAt(lines, 2) == u"2") window.Maximize();
}

SettingsLines SettingsFileLines(const SettingsWindow& window) {
    SettingsLines lines{BooleanLineText(window.CheckBox1()), BooleanLineText(window.CheckBox2())};
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
    const SettingsLines settings = ReadLines(store, kSettingsFile);
    window.SetCheckBox1(BooleanLine(LineAt(settings, 0)));
    window.SetCheckBox2(BooleanLine(LineAt(settings, 1)));
    for (int i = 0; i < static_cast<int>(kStoredWidths.size()); ++i) {
        window.SetColumnWidth(kStoredWidths[i], IntegerLine(LineAt(settings, kFirstWidthLine + i)));
    }
    if (!window.CheckBox2()) window.MakeVisible();

    const SettingsLines size = ReadLines(store, kWindowSizeFile);
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
        window.CheckBox1() ? AutostartCommand(store.executablePath) : std::u16string());
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
    ApplyWindowSize(ReadLines(store, kWindowSizeFile), window);
}

}  // namespace quorvel
