#include "app/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

#include "error_text.h"
#include "fake_registry.h"
#include "memory_file_system.h"

namespace quorvel {
namespace {

using testing::FakeRegistry;

const std::u16string kExe = u"C:\\Tools\\Quorvel\\Quorvel.exe";
const std::u16string kSettingsPath = u"C:\\Tools\\Quorvel\\data\\settings.cnfg";
const std::u16string kSizePath = u"C:\\Tools\\Quorvel\\data\\w_size.cnfg";
constexpr std::string_view kDefaultSettings = "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n";
using Widths = std::array<int, 4>;
constexpr Widths kDesignedWidths{27, 104, 105, 211};
const SettingsLimits kLimits{{136, 39}, {609, 449}, 20, 1920, kDesignedWidths};

// The window as it stands before a load.
Settings Shown() {
    Settings shown;
    shown.columnWidths = kDesignedWidths;
    shown.size = {609, 449};
    shown.place = {10, 20};
    return shown;
}

// Lines of a settings file as bytes.
std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() { files.AddFolder(u"C:\\Tools\\Quorvel\\data"); }

    SettingsStore Store() {
        return {files, registry, kExe, [](std::uint32_t code) {
                    return code == 2 ? u"The system cannot find the file specified."
                                     : u"Error " + std::u16string(1, char16_t(u'0' + code));
                }};
    }
    // Both files, as the window reads them.
    std::u16string LoadError() {
        return ErrorTextOf([&] {
            LoadOptions(Store(), kLimits, settings);
            LoadWindowSize(Store(), kLimits, settings, /*withPlace=*/true);
        });
    }
    void SetText(const std::u16string& path, std::string_view text) {
        files.ReplaceFile(path, Bytes(text));
    }
    std::vector<std::uint8_t> Text(const std::u16string& path) { return files.ReadFile(path); }
    std::u16string RunValue() {
        return registry.values.at(
            {u"Software\\Microsoft\\Windows\\CurrentVersion\\Run", u"Quorvel"});
    }

    MemoryFileSystem files;
    FakeRegistry registry;
    Settings settings = Shown();
};

TEST_F(SettingsTest, LoadReadsBothFilesInFull) {
    SetText(kSettingsPath, "0\r\nFalse\r\n30\r\n120\r\n90\r\n250\r\nextra\r\n");
    SetText(kSizePath, "800\r\n600\r\n2\r\n-5\r\n40\r\nextra\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_FALSE(settings.autostart);
    EXPECT_FALSE(settings.trayOnly);
    EXPECT_EQ(settings.columnWidths, (Widths{30, 120, 90, 250}));
    EXPECT_EQ(settings.size, (Settings::Size{800, 600}));
    EXPECT_EQ(settings.place, (Settings::Place{-5, 40}));
    EXPECT_EQ(settings.state, Settings::State::Maximized);
}

TEST_F(SettingsTest, OnlyStateTwoMaximizes) {
    SetText(kSettingsPath, "True\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    for (const char* state : {"0\r\n", "1\r\n", " 2\r\n", "02\r\n"}) {
        SetText(kSizePath, std::string("609\r\n449\r\n") + state + "1\r\n2\r\n");
        EXPECT_EQ(LoadError(), u"(no error)");
        EXPECT_EQ(settings.state, Settings::State::Normal) << state;
    }
    EXPECT_TRUE(settings.autostart && settings.trayOnly);
}

// Either stops the load before the size file is read, keeping what was read before.
TEST_F(SettingsTest, AnUnreadableOrFiveLineSettingsFileStopsTheLoadWithItsError) {
    SetText(kSizePath, "609\r\n449\r\n0\r\n1\r\n2\r\n");
    SetText(kSettingsPath, "-1\r\n-1\r\n30\r\n40\r\n50\r\n");
    files.SetLocked(kSettingsPath, 5);
    EXPECT_EQ(LoadError(), u"Cannot open file \"" + kSettingsPath + u"\". Error 5");
    files.ClearLocked(kSettingsPath);
    EXPECT_EQ(LoadError(), u"List index out of bounds (5)");
    EXPECT_EQ(settings.columnWidths, (Widths{30, 40, 50, 211}));
    EXPECT_EQ(files.Reads(kSizePath), 0);
}

// A first start, or a copy without its data folder: nothing to report, and the next save
// writes the files.
TEST_F(SettingsTest, MissingFilesReadAsTheDefaultsAndTheNextSaveWritesThem) {
    for (const bool folder : {false, true}) {
        MemoryFileSystem empty;
        if (folder) empty.AddFolder(u"C:\\Tools\\Quorvel\\data");
        const SettingsStore store{empty, registry, kExe, Store().systemErrorText};
        settings = Shown();
        settings.autostart = settings.trayOnly = false;
        settings.columnWidths[1] = 50;
        settings.size.width = 700;
        EXPECT_NO_THROW(LoadOptions(store, kLimits, settings));
        EXPECT_NO_THROW(LoadWindowSize(store, kLimits, settings, /*withPlace=*/true));
        EXPECT_TRUE(settings.autostart && settings.trayOnly) << folder;
        EXPECT_EQ(settings.columnWidths, kDesignedWidths);
        EXPECT_EQ(settings.size, (Settings::Size{609, 449}));
        EXPECT_EQ(settings.state, Settings::State::Normal);
        EXPECT_EQ(settings.place, (Settings::Place{10, 20}));
        SaveSettings(store, settings);
        EXPECT_EQ(empty.Files().size(), folder ? 2u : 0u);
        if (folder) {
            EXPECT_EQ(empty.ReadFile(kSettingsPath), Bytes(kDefaultSettings));
            EXPECT_EQ(empty.ReadFile(kSizePath), Bytes("609\r\n449\r\n0\r\n10\r\n20\r\n"));
        }
    }
}

// Narrower than a column can show anything, or wider than the screen: the column's default.
TEST_F(SettingsTest, ColumnWidthsOutsideTheirLimitsGiveTheDefaults) {
    SetText(kSizePath, "609\r\n449\r\n0\r\n");
    SetText(kSettingsPath, "-1\r\n-1\r\n19\r\n-100000\r\n0\r\n1921\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(settings.columnWidths, kDesignedWidths);
    SetText(kSettingsPath, "-1\r\n-1\r\n20\r\n300\r\n1920\r\n300\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(settings.columnWidths, (Widths{20, 300, 1920, 300}));
}

TEST_F(SettingsTest, BadLinesStopTheLoadWithTheirText) {
    SetText(kSettingsPath, "-1\r\nmaybe\r\n");
    EXPECT_EQ(LoadError(), u"'maybe' is not a valid boolean value");

    SetText(kSettingsPath, "-1\r\n0\r\n27\r\nwide\r\n");
    EXPECT_EQ(LoadError(), u"'wide' is not a valid integer value");

    SetText(kSettingsPath, "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    SetText(kSizePath, "700\r\ntall\r\n");
    EXPECT_EQ(LoadError(), u"'tall' is not a valid integer value");
    EXPECT_EQ(settings.size, (Settings::Size{700, 449}));
}

TEST_F(SettingsTest, ShortOrBadPositionIsIgnoredSilently) {
    SetText(kSettingsPath, "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    SetText(kSizePath, "640\r\n480\r\n2\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(settings.size.width, 640);
    EXPECT_EQ(settings.state, Settings::State::Maximized);
    EXPECT_EQ(settings.place, (Settings::Place{10, 20}));

    SetText(kSizePath, "640\r\n480\r\n0\r\n100\r\nlow\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(settings.place, (Settings::Place{10, 20}));
}

// The tray's restore reads the size alone; a length below the window's smallest grows to it.
TEST_F(SettingsTest, WindowSizeFromTheTrayKeepsThePositionAndMendsTooSmallLengths) {
    for (const auto& [text, width, height] :
         {std::tuple{"500\r\n400\r\n2\r\n300\r\n300\r\n", 500, 400},
          {"116\r\n27\r\n0\r\n", 136, 39},
          {"1200\r\n38\r\n0\r\n", 1200, 39},
          {"136\r\n39\r\n0\r\n", 136, 39}}) {
        SetText(kSizePath, text);
        LoadWindowSize(Store(), kLimits, settings, /*withPlace=*/false);
        EXPECT_EQ(settings.size, (Settings::Size{width, height})) << text;
    }
    EXPECT_EQ(settings.state, Settings::State::Maximized);
    EXPECT_EQ(settings.place, (Settings::Place{10, 20}));
}

TEST_F(SettingsTest, SaveWritesTheWindowAsItIs) {
    settings.autostart = false;
    settings.columnWidths[3] = 300;
    settings.state = Settings::State::Maximized;
    settings.place.left = -8;
    SaveSettings(Store(), settings);
    EXPECT_EQ(Text(kSettingsPath), Bytes("0\r\n-1\r\n27\r\n104\r\n105\r\n300\r\n"));
    EXPECT_EQ(Text(kSizePath), Bytes("609\r\n449\r\n2\r\n-8\r\n20\r\n"));
    // A file that holds the lines already is not written again.
    settings.columnWidths[0] = 30;
    SaveSettings(Store(), settings);
    EXPECT_EQ(files.Writes(kSettingsPath), 2);
    EXPECT_EQ(files.Writes(kSizePath), 1);
}

TEST_F(SettingsTest, AutostartValueHoldsThePathInQuotesOrAnEmptyText) {
    SaveSettings(Store(), settings);
    EXPECT_EQ(RunValue(), u'"' + kExe + u'"');
    settings.autostart = false;
    SaveSettings(Store(), settings);
    EXPECT_EQ(RunValue(), u"") << "the value stays, with empty data";
}

TEST_F(SettingsTest, SaveIgnoresFailuresAndSkipsTheSizeFileAfterASettingsFailure) {
    registry.readOnly = true;
    files.SetLocked(kSettingsPath, 3);
    EXPECT_NO_THROW(SaveSettings(Store(), settings));
    EXPECT_EQ(files.Writes(kSizePath), 0);

    files.ClearLocked(kSettingsPath);
    files.SetLocked(kSizePath, 3);
    EXPECT_NO_THROW(SaveSettings(Store(), settings));
    EXPECT_EQ(files.Writes(kSettingsPath), 1);
}

}  // namespace
}  // namespace quorvel
