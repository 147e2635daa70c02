#include "app/settings.h"

#include <gtest/gtest.h>

#include <map>
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
const std::map<Column, int> kDesignedWidths{
    {kNumberColumn, 27}, {kDescColumn, 104}, {kHotKeyColumn, 105}, {kDestColumn, 211}};

class FakeWindow final : public SettingsWindow {
  public:
    bool Autostart() const override { return autostart; }
    void SetAutostart(bool checked) override { autostart = checked; }
    bool TrayOnly() const override { return trayOnly; }
    void SetTrayOnly(bool checked) override { trayOnly = checked; }
    int ColumnWidth(Column column) const override { return widths.at(column); }
    void SetColumnWidth(Column column, int width) override { widths[column] = width; }
    WidthLimits ColumnWidthLimits(Column column) const override {
        return {20, 1920, kDesignedWidths.at(column)};
    }
    void MakeVisible() override { visible = true; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    int Left() const override { return left; }
    int Top() const override { return top; }
    State WindowState() const override { return state; }
    Size MinimumSize() const override { return {136, 39}; }
    Size DefaultSize() const override { return {609, 449}; }
    void SetWidth(int w) override { width = w; }
    void SetHeight(int h) override { height = h; }
    void Maximize() override { state = State::Maximized; }
    void MoveTo(int l, int t) override {
        left = l;
        top = t;
        ++moves;
    }

    bool autostart = true;
    bool trayOnly = true;
    std::map<Column, int> widths = kDesignedWidths;
    bool visible = false;
    int width = 609, height = 449, left = 10, top = 20, moves = 0;
    State state = State::Normal;
};

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
    std::u16string LoadError() {
        return ErrorTextOf([&] { LoadSettings(Store(), window); });
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
    FakeWindow window;
};

TEST_F(SettingsTest, LoadAppliesBothFilesInFull) {
    SetText(kSettingsPath, "0\r\nFalse\r\n30\r\n120\r\n90\r\n250\r\nextra\r\n");
    SetText(kSizePath, "800\r\n600\r\n2\r\n-5\r\n40\r\nextra\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_FALSE(window.autostart);
    EXPECT_FALSE(window.trayOnly);
    EXPECT_EQ(
        window.widths,
        (std::map<Column, int>{
            {kNumberColumn, 30}, {kDescColumn, 120}, {kHotKeyColumn, 90}, {kDestColumn, 250}}));
    EXPECT_TRUE(window.visible) << "tray-only off shows the window";
    EXPECT_EQ(std::tuple(window.width, window.height, window.left, window.top),
              std::tuple(800, 600, -5, 40));
    EXPECT_EQ(window.state, SettingsWindow::State::Maximized);
}

TEST_F(SettingsTest, TrayOnlyLeavesVisibilityAloneAndOnlyStateTwoMaximizes) {
    SetText(kSettingsPath, "True\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    for (const char* state : {"0\r\n", "1\r\n", " 2\r\n", "02\r\n"}) {
        SetText(kSizePath, std::string("609\r\n449\r\n") + state + "1\r\n2\r\n");
        EXPECT_EQ(LoadError(), u"(no error)");
        EXPECT_EQ(window.state, SettingsWindow::State::Normal) << state;
    }
    EXPECT_TRUE(window.autostart);
    EXPECT_FALSE(window.visible);
}

// Either stops the load before the size file is read.
TEST_F(SettingsTest, AnUnreadableOrFiveLineSettingsFileStopsTheLoadWithItsError) {
    SetText(kSizePath, "609\r\n449\r\n0\r\n1\r\n2\r\n");
    SetText(kSettingsPath, "-1\r\n-1\r\n30\r\n40\r\n50\r\n");
    files.SetLocked(kSettingsPath, 5);
    EXPECT_EQ(LoadError(), u"Cannot open file \"" + kSettingsPath + u"\". Error 5");
    files.ClearLocked(kSettingsPath);
    EXPECT_EQ(LoadError(), u"List index out of bounds (5)");
    EXPECT_EQ(window.widths[kHotKeyColumn], 50);
    EXPECT_EQ(window.widths[kDestColumn], 211);
    EXPECT_EQ(files.Reads(kSizePath), 0);
}

// A first start, or a copy without its data folder: nothing to report, and the next save
// writes the files.
TEST_F(SettingsTest, MissingFilesReadAsTheDefaultsAndTheNextSaveWritesThem) {
    for (const bool folder : {false, true}) {
        MemoryFileSystem empty;
        if (folder) empty.AddFolder(u"C:\\Tools\\Quorvel\\data");
        const SettingsStore store{empty, registry, kExe, Store().systemErrorText};
        window = FakeWindow{};
        window.autostart = window.trayOnly = false;
        window.widths[kDescColumn] = 50;
        window.width = 700;
        EXPECT_NO_THROW(LoadSettings(store, window));
        EXPECT_TRUE(window.autostart && window.trayOnly && !window.visible) << folder;
        EXPECT_EQ(window.widths, kDesignedWidths);
        EXPECT_EQ(std::tuple(window.width, window.height, window.state, window.moves),
                  std::tuple(609, 449, SettingsWindow::State::Normal, 0));
        window.width = 700;
        EXPECT_NO_THROW(LoadWindowSize(store, window));
        EXPECT_EQ(window.width, 609);
        SaveSettings(store, window);
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
    EXPECT_EQ(window.widths, kDesignedWidths);
    SetText(kSettingsPath, "-1\r\n-1\r\n20\r\n300\r\n1920\r\n300\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(
        window.widths,
        (std::map<Column, int>{
            {kNumberColumn, 20}, {kDescColumn, 300}, {kHotKeyColumn, 1920}, {kDestColumn, 300}}));
}

TEST_F(SettingsTest, BadLinesStopTheLoadWithTheirText) {
    SetText(kSettingsPath, "-1\r\nmaybe\r\n");
    EXPECT_EQ(LoadError(), u"'maybe' is not a valid boolean value");

    SetText(kSettingsPath, "-1\r\n0\r\n27\r\nwide\r\n");
    EXPECT_EQ(LoadError(), u"'wide' is not a valid integer value");

    SetText(kSettingsPath, "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    SetText(kSizePath, "700\r\ntall\r\n");
    EXPECT_EQ(LoadError(), u"'tall' is not a valid integer value");
    EXPECT_EQ(window.width, 700);
}

TEST_F(SettingsTest, ShortOrBadPositionIsIgnoredSilently) {
    SetText(kSettingsPath, "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    SetText(kSizePath, "640\r\n480\r\n2\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(window.width, 640);
    EXPECT_EQ(window.state, SettingsWindow::State::Maximized);
    EXPECT_EQ(window.moves, 0);

    SetText(kSizePath, "640\r\n480\r\n0\r\n100\r\nlow\r\n");
    EXPECT_EQ(LoadError(), u"(no error)");
    EXPECT_EQ(window.moves, 0);
    EXPECT_EQ(window.left, 10);
}

// The tray's restore reads the size file alone; a length below the window's smallest grows to it.
TEST_F(SettingsTest, WindowSizeFromTheTrayKeepsThePositionAndMendsTooSmallLengths) {
    for (const auto& [text, width, height] :
         {std::tuple{"500\r\n400\r\n2\r\n300\r\n300\r\n", 500, 400},
          {"116\r\n27\r\n0\r\n", 136, 39},
          {"1200\r\n38\r\n0\r\n", 1200, 39},
          {"136\r\n39\r\n0\r\n", 136, 39}}) {
        SetText(kSizePath, text);
        LoadWindowSize(Store(), window);
        EXPECT_EQ(std::pair(window.width, window.height), std::pair(width, height)) << text;
    }
    EXPECT_EQ(window.state, SettingsWindow::State::Maximized);
    EXPECT_EQ(window.moves, 0);
}

TEST_F(SettingsTest, SaveWritesTheWindowAsItIs) {
    window.autostart = false;
    window.widths[kDestColumn] = 300;
    window.state = SettingsWindow::State::Maximized;
    window.left = -8;
    SaveSettings(Store(), window);
    EXPECT_EQ(Text(kSettingsPath), Bytes("0\r\n-1\r\n27\r\n104\r\n105\r\n300\r\n"));
    EXPECT_EQ(Text(kSizePath), Bytes("609\r\n449\r\n2\r\n-8\r\n20\r\n"));
}

TEST_F(SettingsTest, AutostartValueHoldsThePathInQuotesOrAnEmptyText) {
    SaveSettings(Store(), window);
    EXPECT_EQ(RunValue(), u'"' + kExe + u'"');
    window.autostart = false;
    SaveSettings(Store(), window);
    EXPECT_EQ(RunValue(), u"") << "the value stays, with empty data";
}

TEST_F(SettingsTest, SaveIgnoresFailuresAndSkipsTheSizeFileAfterASettingsFailure) {
    registry.readOnly = true;
    files.SetLocked(kSettingsPath, 3);
    EXPECT_NO_THROW(SaveSettings(Store(), window));
    EXPECT_EQ(files.Writes(kSizePath), 0);

    files.ClearLocked(kSettingsPath);
    files.SetLocked(kSizePath, 3);
    EXPECT_NO_THROW(SaveSettings(Store(), window));
    EXPECT_EQ(files.Writes(kSettingsPath), 1);
}

}  // namespace
}  // namespace quorvel
