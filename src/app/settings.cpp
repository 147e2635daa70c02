#include "app/settings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"

namespace quorvel {

namespace {

constexpr char16_t kSettingsFile[] = u"settings.cnfg";
constexpr char16_t kWindowSizeFile[] = u"w_size.cnfg";
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

SettingsLines DefaultOptionLines(const SettingsLimits& limits) {
    SettingsLines lines{BooleanLineText(true), BooleanLineText(true)};
    for (const int width : limits.designedWidths) lines.push_back(ToText(width));
    return lines;
}

// The window's default size, not maximised, where it is.
SettingsLines DefaultWindowSizeLines(const SettingsLimits& limits) {
    return {ToText(limits.defaultSize.width), ToText(limits.defaultSize.height),
            ToText(static_cast<int>(Settings::State::Normal))};
}

// A length the window or a column cannot usefully take (a column of no width stays hidden, a
// size saved at a lower DPI may not hold every control) gives another instead.
int UsableLength(int stored, int minimum, int replacement,
                 int maximum = std::numeric_limits<int>::max()) {
    return stored < minimum || stored > maximum ? replacement : stored;
}

SettingsLines OptionLines(const Settings& settings) {
    SettingsLines lines{BooleanLineText(settings.autostart), BooleanLineText(settings.trayOnly)};
    for (const int width : settings.columnWidths) lines.push_back(ToText(width));
    return lines;
}

SettingsLines WindowSizeLines(const Settings& settings) {
    return {ToText(settings.size.width), ToText(settings.size.height),
            ToText(static_cast<int>(settings.state)), ToText(settings.place.left),
            ToText(settings.place.top)};
}

// A file that holds these lines already is left alone: a start or an exit that changed no
// setting writes nothing.
void ReplaceUnlessSame(const SettingsStore& store, std::u16string_view name,
                       const SettingsLines& lines) {
    const std::u16string path = DataFile(store, name);
    const std::vector<std::uint8_t> bytes = JoinLines(lines);
    try {
        if (store.files.ReadFile(path) == bytes) return;
    } catch (const Error&) {
        // Not there, or not readable: the write says what is wrong.
    }
    store.files.ReplaceFile(path, bytes);
}

}  // namespace

void LoadOptions(const SettingsStore& store, const SettingsLimits& limits, Settings& settings) {
    const SettingsLines lines = ReadLines(store, kSettingsFile, DefaultOptionLines(limits));
    settings.autostart = BooleanLine(LineAt(lines, 0));
    settings.trayOnly = BooleanLine(LineAt(lines, 1));
    for (std::size_t i = 0; i < settings.columnWidths.size(); ++i) {
        const int stored = IntegerLine(LineAt(lines, kFirstWidthLine + static_cast<int>(i)));
        settings.columnWidths[i] = UsableLength(stored, limits.narrowestColumn,
                                                limits.designedWidths[i], limits.widestColumn);
    }
}

void LoadWindowSize(const SettingsStore& store, const SettingsLimits& limits, Settings& settings,
                    bool withPlace) {
    const SettingsLines lines = ReadLines(store, kWindowSizeFile, DefaultWindowSizeLines(limits));
    settings.size.width = std::max(IntegerLine(LineAt(lines, 0)), limits.minimumSize.width);
    settings.size.height = std::max(IntegerLine(LineAt(lines, 1)), limits.minimumSize.height);
    if (LineAt(lines, 2) == u"2") settings.state = Settings::State::Maximized;
    if (!withPlace) return;
    try {
        settings.place = {IntegerLine(LineAt(lines, 3)), IntegerLine(LineAt(lines, 4))};
    } catch (const Error&) {
        // A file without a usable position keeps the window where it is.
    }
}

std::u16string AutostartCommand(std::u16string_view executablePath) {
    return u"\"" + std::u16string(executablePath) + u"\"";
}

void SaveSettings(const SettingsStore& store, const Settings& settings) {
    store.registry.WriteString(
        kRunKey, kRunValueName,
        settings.autostart ? AutostartCommand(store.executablePath) : std::u16string());
    try {
        ReplaceUnlessSame(store, kSettingsFile, OptionLines(settings));
        ReplaceUnlessSame(store, kWindowSizeFile, WindowSizeLines(settings));
    } catch (const Error&) {
        // Settings are a convenience: a data folder that cannot be written must not stop the
        // program, and the next save tries again.
    }
}

}  // namespace quorvel
