// The setup program run silently under Wine: install, upgrade over a running Quorvel, uninstall.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "actions/com_ptr_win.h"
#include "program_harness_win.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";
// One task on Ctrl+Alt+Q in the program's own form, so that its save on close gives the same
// bytes back.
const std::wstring kTaskList = L"\xFEFF" L"1,Clear the Windows clipboard,Control+Alt+Q,,Normal,0,True\r\n";

std::string Bytes(const std::wstring& text) {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

// Another program's registration makes ours fail.
bool CtrlAltQTaken() {
    if (!::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'Q')) return true;
    ::UnregisterHotKey(nullptr, 1);
    return false;
}

DWORD RunToEnd(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        return ::GetLastError();
    }
    const UniqueKernelHandle process(info.hProcess);
    ::CloseHandle(info.hThread);
    DWORD code = 0;
    ::WaitForSingleObject(process.get(), kStartTimeoutMs);
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

std::optional<DWORD> RegDword(const wchar_t* name) {
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &data,
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

fs::path KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

fs::path Shortcut() { return KnownFolder(CSIDL_PROGRAMS) / "Quorvel.lnk"; }

fs::path ShortcutTarget() {
    const ScopedCoInitialize com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = L"";
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(link.put()))) &&
        SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(file.put()))) &&
        SUCCEEDED(file->Load(Shortcut().c_str(), STGM_READ))) {
        link->GetPath(target, MAX_PATH, nullptr, 0);
    }
    return target;
}

class SetupTest : public ::testing::Test {
  protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        DeleteRegValues();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        std::error_code ignored;
        fs::remove(Shortcut(), ignored);
        fs::remove_all(scratch_, ignored);
        fs::remove_all(defaultFolder_, ignored);
    }

    void Install(const std::wstring& options = L"") {
        const auto setup = PathFromBuild(QUORVEL_SETUP_PATH).wstring();
        EXPECT_EQ(RunToEnd(L"\"" + setup + L"\" /S" + options), 0u);
    }
    // As "Apps & features" would, by the entry's own command line. The uninstaller goes on from
    // a copy of itself and removes the entry last.
    void Uninstall() {
        const auto command = RegValue(kUninstallKey, L"QuietUninstallString");
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(RunToEnd(*command), 0u);
        EXPECT_TRUE(WaitUntil([] { return !RegValue(kUninstallKey, L"DisplayName"); }));
    }

    const fs::path scratch_ = fs::temp_directory_path() / "quorvel-setup-test";
    const fs::path defaultFolder_ = KnownFolder(CSIDL_LOCAL_APPDATA) / "Programs" / "Quorvel";
};

TEST_F(SetupTest, InstallsUpgradesOverARunningQuorvelAndUninstallsKeepingTheData) {
    const fs::path folder = scratch_ / "Tools (mine)";
    const fs::path exe = folder / "Quorvel.exe";
    const fs::path data = folder / "data";
    Install(L" /D=" + folder.wstring());
    EXPECT_EQ(FileText(exe), FileText(PathFromBuild(QUORVEL_EXE_PATH)));
    EXPECT_EQ(FileText(data / "actions.cfg"), "\xFF\xFE");
    EXPECT_EQ(FileText(data / "settings.cnfg"), kDefaultSettings);
    EXPECT_TRUE(fs::exists(data / "w_size.cnfg"));
    EXPECT_EQ(ShortcutTarget(), exe);
    const std::wstring uninstaller = L"\"" + (folder / "Uninstall.exe").wstring() + L"\"";
    EXPECT_EQ(RegValue(kUninstallKey, L"DisplayName"), L"Quorvel"s);
    EXPECT_EQ(RegValue(kUninstallKey, L"DisplayVersion"), std::wstring(QUORVEL_VERSION));
    EXPECT_EQ(RegValue(kUninstallKey, L"Publisher"), L"Tessaly"s);
    EXPECT_EQ(RegValue(kUninstallKey, L"DisplayIcon"), exe.wstring());
    EXPECT_EQ(RegValue(kUninstallKey, L"InstallLocation"), folder.wstring());
    EXPECT_EQ(RegValue(kUninstallKey, L"UninstallString"), uninstaller);
    EXPECT_EQ(RegValue(kUninstallKey, L"QuietUninstallString"), uninstaller + L" /S");
    EXPECT_EQ(RegDword(L"NoModify"), 1u);
    EXPECT_EQ(RegDword(L"NoRepair"), 1u);
    EXPECT_GE(RegDword(L"EstimatedSize").value_or(0), fs::file_size(exe) / 1024);

    WriteFile(data / "actions.cfg", Bytes(kTaskList));
    {
        Quorvel quorvel(exe);
        EXPECT_TRUE(WaitUntil(CtrlAltQTaken)) << "the task's hotkey is registered";
        // A form the program reads but never writes: only its save on close replaces it.
        WriteFile(data / "settings.cnfg", "True\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
        Install();  // over the last install, as an upgrade does
        EXPECT_EQ(quorvel.WaitForExit(0), std::optional<DWORD>(0)) << "closed, not killed";
    }
    EXPECT_EQ(FileText(data / "settings.cnfg"), kDefaultSettings);
    EXPECT_EQ(FileText(data / "actions.cfg"), Bytes(kTaskList));
    EXPECT_FALSE(CtrlAltQTaken());

    const std::wstring elsewhere = L"C:\\Portable\\Quorvel.exe";
    SetRegValue(kRunKey, L"Quorvel", elsewhere);
    Uninstall();
    EXPECT_FALSE(fs::exists(exe));
    EXPECT_FALSE(fs::exists(folder / "Uninstall.exe"));
    EXPECT_FALSE(fs::exists(Shortcut()));
    EXPECT_EQ(FileText(data / "actions.cfg"), Bytes(kTaskList));
    EXPECT_EQ(FileText(data / "settings.cnfg"), kDefaultSettings);
    EXPECT_EQ(RegValue(kRunKey, L"Quorvel"), elsewhere);
}

TEST_F(SetupTest, UninstallClosesQuorvelAndTakesBackItsAutostartValue) {
    Install();
    EXPECT_EQ(RegValue(kUninstallKey, L"InstallLocation"), defaultFolder_.wstring());
    Quorvel quorvel(defaultFolder_ / "Quorvel.exe");
    ASSERT_TRUE(RegValue(kRunKey, L"Quorvel").has_value()) << "autostart is on by default";
    Uninstall();
    EXPECT_EQ(quorvel.WaitForExit(0), std::optional<DWORD>(0));
    EXPECT_EQ(RegValue(kRunKey, L"Quorvel"), std::nullopt);
    EXPECT_FALSE(fs::exists(defaultFolder_ / "Quorvel.exe"));
}

}  // namespace
}  // namespace quorvel
