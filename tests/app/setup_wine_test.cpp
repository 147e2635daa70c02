// The setup program run silently under Wine: install, upgrade over a running Quorvel, uninstall.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "program_harness_win.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";
// One task on Ctrl+Alt+Q in the program's own form, so that its save on close writes it again.
const std::string kTaskFile = Utf16Bytes(
    L"\xFEFF"
    L"1,Clear the Windows clipboard,Control+Alt+Q,,Normal,0,True\r\n");

// Through the command interpreter, which strips the outer quotes and keeps the inner ones.
int RunToEnd(const std::wstring& commandLine) {
    return ::_wsystem((L"\"" + commandLine + L"\"").c_str());
}

DWORD UninstallDword(const wchar_t* name) {
    DWORD data = 0, size = sizeof(data);
    ::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &data, &size);
    return data;
}

fs::path KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

fs::path Shortcut() { return KnownFolder(CSIDL_PROGRAMS) / "Quorvel.lnk"; }

class SetupTest : public ::testing::Test {
  protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        DeleteRegValues();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        std::error_code ignored;
        fs::remove(Shortcut(), ignored);
        fs::remove_all(folder_, ignored);
        fs::remove_all(defaultFolder_, ignored);
    }

    static void Install(const std::wstring& options) {
        const std::wstring setup = PathFromBuild(QUORVEL_SETUP_PATH).wstring();
        EXPECT_EQ(RunToEnd(L"\"" + setup + L"\" /S" + options), 0);
    }
    // As Settings > Apps does. The uninstaller goes on from a copy of itself and removes its
    // entry last.
    static void Uninstall() {
        EXPECT_EQ(RunToEnd(RegValue(kUninstallKey, L"QuietUninstallString").value_or(L"")), 0);
        EXPECT_TRUE(WaitUntil([] { return !RegValue(kUninstallKey, L"DisplayName"); }));
    }

    const fs::path folder_ = fs::temp_directory_path() / "Quorvel setup test";
    const fs::path defaultFolder_ = KnownFolder(CSIDL_LOCAL_APPDATA) / "Programs" / "Quorvel";
};

TEST_F(SetupTest, InstallsUpgradesOverARunningQuorvelAndUninstallsKeepingTheData) {
    const fs::path exe = folder_ / "Quorvel.exe";
    const fs::path data = folder_ / "data";
    Install(L" /D=" + folder_.wstring());
    EXPECT_EQ(FileText(exe), FileText(PathFromBuild(QUORVEL_EXE_PATH)));
    EXPECT_EQ(FileText(data / "actions.cfg"), "\xFF\xFE");
    EXPECT_EQ(FileText(data / "settings.cnfg"), kDefaultSettings);
    EXPECT_TRUE(fs::exists(data / "w_size.cnfg"));
    // A shell link keeps its target's path as plain text too.
    EXPECT_NE(FileText(Shortcut()).find(exe.string()), std::string::npos);
    const std::wstring uninstaller = L"\"" + (folder_ / "Uninstall.exe").wstring() + L"\"";
    for (const auto& [name, value] : {std::pair{L"DisplayName", L"Quorvel"s},
                                      {L"DisplayVersion", QUORVEL_VERSION},
                                      {L"Publisher", L"Tessaly"},
                                      {L"DisplayIcon", exe.wstring()},
                                      {L"InstallLocation", folder_.wstring()},
                                      {L"UninstallString", uninstaller},
                                      {L"QuietUninstallString", uninstaller + L" /S"}}) {
        EXPECT_EQ(RegValue(kUninstallKey, name), value) << fs::path(name).string();
    }
    EXPECT_EQ(UninstallDword(L"NoModify"), 1u);
    EXPECT_EQ(UninstallDword(L"NoRepair"), 1u);
    EXPECT_GE(UninstallDword(L"EstimatedSize"), fs::file_size(exe) / 1024);

    WriteFile(data / "actions.cfg", kTaskFile);
    {
        Quorvel quorvel(exe);
        EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'Q'); }))
            << "the task's hotkey is registered";
        // A form the program reads but never writes: only its save on close replaces it.
        WriteFile(data / "settings.cnfg", "True\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
        Install(L"");  // over the last install, as an upgrade does
        EXPECT_EQ(quorvel.WaitForExit(0), std::optional<DWORD>(0)) << "closed, not killed";
        // The new Quorvel runs in its place and holds the task's hotkey again.
        HWND restarted = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (restarted = ::FindWindowW(kMainWindowClass, nullptr)) != nullptr; }));
        DWORD restartedId = 0;
        ::GetWindowThreadProcessId(restarted, &restartedId);
        EXPECT_NE(restartedId, quorvel.Id());
        EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'Q'); }));
        ::PostMessageW(restarted, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([] { return !::FindWindowW(kMainWindowClass, nullptr); }));
    }
    EXPECT_EQ(UserSettings(FileText(data / "settings.cnfg")), UserSettings(kDefaultSettings));
    EXPECT_EQ(FileText(data / "actions.cfg"), kTaskFile);

    const std::wstring elsewhere = L"\"C:\\Portable\\Quorvel.exe\"";
    SetRegValue(kRunKey, L"Quorvel", elsewhere);
    Uninstall();
    EXPECT_FALSE(fs::exists(exe) || fs::exists(folder_ / "Uninstall.exe") ||
                 fs::exists(Shortcut()));
    EXPECT_EQ(FileText(data / "actions.cfg"), kTaskFile);
    EXPECT_EQ(UserSettings(FileText(data / "settings.cnfg")), UserSettings(kDefaultSettings));
    EXPECT_EQ(RegValue(kRunKey, L"Quorvel"), elsewhere);
}

TEST_F(SetupTest, UninstallClosesQuorvelAndTakesBackItsAutostartValue) {
    Install(L"");
    EXPECT_EQ(RegValue(kUninstallKey, L"InstallLocation"), defaultFolder_.wstring());
    Quorvel quorvel(defaultFolder_ / "Quorvel.exe");
    // On by default, and in quotes.
    const std::wstring command = L'"' + (defaultFolder_ / "Quorvel.exe").wstring() + L'"';
    ASSERT_EQ(::lstrcmpiW(RegValue(kRunKey, L"Quorvel").value_or(L"").c_str(), command.c_str()), 0)
        << fs::path(RegValue(kRunKey, L"Quorvel").value_or(L"")).string();
    Uninstall();
    EXPECT_EQ(quorvel.WaitForExit(0), std::optional<DWORD>(0));
    EXPECT_EQ(RegValue(kRunKey, L"Quorvel"), std::nullopt);
    EXPECT_FALSE(fs::exists(defaultFolder_ / "Quorvel.exe"));
}

}  // namespace
}  // namespace quorvel
