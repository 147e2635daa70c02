// Quorvel.exe end to end: started from a scratch folder of its own, watched from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/unique_handle_win.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr wchar_t kMainWindowClass[] = L"QuorvelTessalyMainWindow";
constexpr wchar_t kVendorKey[] = L"Software\\Tessaly\\Dravlin";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kStartTimeoutMs = 20000;
constexpr UINT kTrayIconMessage = WM_USER + 1;
// Menu command ids of File > Exit and of the tray menu's Exit.
constexpr WPARAM kMainMenuExit = 2000;
constexpr WPARAM kTrayMenuExit = 2004;
constexpr std::string_view kDefaultSettings = "-1\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n";

// The build gives the executable's path as the build machine sees it; under Wine a Unix path
// is reached through drive Z:.
fs::path BuiltExecutable() {
    std::wstring path = ToWide(std::u16string(u"" QUORVEL_EXE_PATH));
    if (!path.empty() && path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

std::optional<std::wstring> RegValue(const wchar_t* key, const wchar_t* name) {
    wchar_t data[1024];
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void SetRegValue(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void DeleteRegValues() {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kVendorKey, L"fr");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Quorvel");
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;
    const wchar_t* title;  // null: any
    std::vector<HWND> found;
};

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* windowClass,
                                  const wchar_t* title = nullptr) {
    WindowSearch search{processId, windowClass, title, {}};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<WindowSearch*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[256] = L"";
            ::GetClassNameW(window, name, 256);
            wchar_t text[256] = L"";
            ::GetWindowTextW(window, text, 256);
            if (owner == s.processId && std::wstring(name) == s.windowClass &&
                (s.title == nullptr || std::wstring(text) == s.title)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One Quorvel process started from the scratch folder.
class Quorvel {
  public:
    explicit Quorvel(const fs::path& executable) {
        const auto counterBefore = RegValue(kVendorKey, L"fr");
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::wstring commandLine = L"\"" + executable.wstring() + L"\"";
        const std::wstring folder = executable.parent_path().wstring();
        if (!::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, folder.c_str(), &startup, &info)) {
            ADD_FAILURE() << "CreateProcessW failed: " << ::GetLastError();
            return;
        }
        process_.reset(info.hProcess);
        ::CloseHandle(info.hThread);
        id_ = info.dwProcessId;
        WaitForStartUp(counterBefore);
    }
    ~Quorvel() {
        if (process_ && Running()) ::TerminateProcess(process_.get(), 99);
    }

    DWORD Id() const { return id_; }
    HWND MainWindow() const {
        for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 50) {
            const auto windows = TopLevelWindows(id_, kMainWindowClass);
            if (!windows.empty()) return windows.front();
            ::Sleep(50);
        }
        return nullptr;
    }
    bool Running() const { return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    // The exit code once it ended within the time, nothing otherwise.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kStartTimeoutMs) const {
        if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.get(), &code);
        return code;
    }
    void Close() const {
        ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(), std::optional<DWORD>(0));
    }

  private:
    // Counting the start is the main window's first step with an effect outside; the window
    // answers a message once the rest of its creation is done and the program waits for input.
    void WaitForStartUp(const std::optional<std::wstring>& counterBefore) const {
        ::WaitForInputIdle(process_.get(), kStartTimeoutMs);
        for (DWORD waited = 0; waited < kStartTimeoutMs && Running(); waited += 50) {
            if (RegValue(kVendorKey, L"fr") != counterBefore) break;
            ::Sleep(50);
        }
        if (!Running()) return;  // a second start hands over to the first and ends
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_BLOCK, kStartTimeoutMs, &ignored);
    }

    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

class QuorvelProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = fs::path(temp) / (L"quorvel-test-" + std::to_wstring(::GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(Data());
        fs::copy_file(BuiltExecutable(), Executable());
        WriteFile(Data() / "actions.cfg", "\xFF\xFE");
        WriteFile(Data() / "settings.cnfg", kDefaultSettings);
        WriteFile(Data() / "w_size.cnfg", "609\r\n449\r\n0\r\n207\r\n159\r\n");
        DeleteRegValues();
    }
    void TearDown() override {
        DeleteRegValues();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path Data() const { return folder_ / "data"; }
    fs::path Executable() const { return folder_ / "Quorvel.exe"; }
    void SetNotFirstStart() { SetRegValue(kVendorKey, L"fr", L"41"); }

    fs::path folder_;
};

TEST_F(QuorvelProgramTest, FirstStartShowsTheWindowAndTheNextStaysInTheTray) {
    {
        Quorvel first(Executable());
        EXPECT_EQ(RegValue(kVendorKey, L"fr"), L"1"s);
        EXPECT_TRUE(::IsWindowVisible(first.MainWindow()));
        wchar_t caption[64] = L"";
        ::GetWindowTextW(first.MainWindow(), caption, 64);
        EXPECT_STREQ(caption, L"Quorvel Tessaly");
        first.Close();
    }
    Quorvel second(Executable());
    EXPECT_EQ(RegValue(kVendorKey, L"fr"), L"2"s);
    EXPECT_FALSE(::IsWindowVisible(second.MainWindow()));
    second.Close();
}

TEST_F(QuorvelProgramTest, CounterThatIsNoNumberCountsAsAFirstStart) {
    SetRegValue(kVendorKey, L"fr", L"abc");
    Quorvel quorvel(Executable());
    EXPECT_EQ(RegValue(kVendorKey, L"fr"), L"1"s);
    EXPECT_TRUE(::IsWindowVisible(quorvel.MainWindow()));
    quorvel.Close();
}

TEST_F(QuorvelProgramTest, RunValueFollowsTheAutostartOption) {
    SetNotFirstStart();
    {
        Quorvel on(Executable());
        const auto value = RegValue(kRunKey, L"Quorvel");
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(::lstrcmpiW(value->c_str(), Executable().c_str()), 0)
            << fs::path(*value).string() << " vs " << Executable().string();
        on.Close();
    }
    WriteFile(Data() / "settings.cnfg", "0\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    Quorvel off(Executable());
    EXPECT_EQ(RegValue(kRunKey, L"Quorvel"), L""s) << "the value stays, empty";
    off.Close();
}

TEST_F(QuorvelProgramTest, CloseRequestWritesAllThreeFilesAndEndsTheProgram) {
    SetNotFirstStart();
    Quorvel quorvel(Executable());
    ASSERT_NE(quorvel.MainWindow(), nullptr);
    for (const char* name : {"actions.cfg", "settings.cnfg", "w_size.cnfg"}) {
        fs::remove(Data() / name);
    }
    quorvel.Close();
    EXPECT_EQ(FileText(Data() / "actions.cfg"), "\xFF\xFE");
    EXPECT_EQ(FileText(Data() / "settings.cnfg"), kDefaultSettings);
    EXPECT_EQ(FileText(Data() / "w_size.cnfg").rfind("609\r\n449\r\n0\r\n", 0), 0u)
        << FileText(Data() / "w_size.cnfg");
    EXPECT_TRUE(TopLevelWindows(quorvel.Id(), kMainWindowClass).empty());
}

TEST_F(QuorvelProgramTest, BothExitItemsEndTheProgramAndSaveEverything) {
    SetNotFirstStart();
    for (const WPARAM exitItem : {kMainMenuExit, kTrayMenuExit}) {
        Quorvel quorvel(Executable());
        ASSERT_NE(quorvel.MainWindow(), nullptr);
        for (const char* name : {"actions.cfg", "settings.cnfg", "w_size.cnfg"}) {
            fs::remove(Data() / name);
        }
        ::PostMessageW(quorvel.MainWindow(), WM_COMMAND, exitItem, 0);
        EXPECT_EQ(quorvel.WaitForExit(), std::optional<DWORD>(0)) << exitItem;
        EXPECT_EQ(FileText(Data() / "actions.cfg"), "\xFF\xFE") << exitItem;
        EXPECT_EQ(FileText(Data() / "settings.cnfg"), kDefaultSettings) << exitItem;
        EXPECT_TRUE(fs::exists(Data() / "w_size.cnfg")) << exitItem;
    }
}

TEST_F(QuorvelProgramTest, LeftClickOnTheTrayIconShowsTheWindowAtTheSavedSize) {
    SetNotFirstStart();
    Quorvel quorvel(Executable());
    const HWND window = quorvel.MainWindow();
    ASSERT_FALSE(::IsWindowVisible(window));
    WriteFile(Data() / "w_size.cnfg", "640\r\n480\r\n0\r\n5\r\n5\r\n");
    ::PostMessageW(window, kTrayIconMessage, 1, WM_LBUTTONUP);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(window)) << "releasing the button does nothing";
    ::PostMessageW(window, kTrayIconMessage, 1, WM_LBUTTONDOWN);
    // The sequence hides the window for a moment on the way (and Wine without a window
    // manager waits for the hide): watch for the end state.
    const auto shownAtSavedSize = [&] {
        RECT bounds{};
        ::GetWindowRect(window, &bounds);
        return ::IsWindowVisible(window) && bounds.right - bounds.left == 640 &&
               bounds.bottom - bounds.top == 480;
    };
    for (DWORD waited = 0; waited < 8000 && !shownAtSavedSize(); waited += 50) ::Sleep(50);
    EXPECT_TRUE(shownAtSavedSize());
    quorvel.Close();
}

TEST_F(QuorvelProgramTest, SystemCloseOnlyHidesTheWindow) {
    Quorvel quorvel(Executable());
    const HWND window = quorvel.MainWindow();
    ASSERT_TRUE(::IsWindowVisible(window));
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(quorvel.WaitForExit(1500), std::nullopt) << "the program goes on in the tray";
    EXPECT_FALSE(::IsWindowVisible(window));
    quorvel.Close();
}

TEST_F(QuorvelProgramTest, MissingSettingsFileShowsOneErrorBoxAndTheProgramGoesOn) {
    fs::remove(Data() / "settings.cnfg");
    Quorvel quorvel(Executable());
    std::set<HWND> boxesSeen;
    const auto collectBoxes = [&](DWORD forMs) {
        for (DWORD waited = 0; waited < forMs; waited += 50) {
            for (const HWND box : TopLevelWindows(quorvel.Id(), L"#32770", L"Quorvel")) {
                if (::IsWindowVisible(box) && boxesSeen.insert(box).second) {
                    ::PostMessageW(box, WM_COMMAND, IDOK, 0);  // dismiss, as a user would
                }
            }
            ::Sleep(50);
        }
    };
    collectBoxes(4000);
    ASSERT_EQ(boxesSeen.size(), 1u);
    collectBoxes(3000);  // closing the box activates the main window again
    EXPECT_EQ(boxesSeen.size(), 1u);
    EXPECT_TRUE(quorvel.Running());
    EXPECT_TRUE(::IsWindowVisible(quorvel.MainWindow()));

    // Hidden and shown again from the tray, the window reads the settings anew and reports
    // the failure; dismissing that box must not bring it back for ever.
    const HWND window = quorvel.MainWindow();
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::Sleep(500);
    ::PostMessageW(window, kTrayIconMessage, 1, WM_LBUTTONDOWN);
    collectBoxes(6000);
    EXPECT_GE(boxesSeen.size(), 2u);
    EXPECT_LE(boxesSeen.size(), 3u);
    EXPECT_TRUE(quorvel.Running());
    quorvel.Close();
    EXPECT_EQ(FileText(Data() / "settings.cnfg"), kDefaultSettings);
}

TEST_F(QuorvelProgramTest, SecondStartShowsTheRunningInstanceAndEnds) {
    SetNotFirstStart();
    Quorvel first(Executable());
    const HWND window = first.MainWindow();
    ASSERT_FALSE(::IsWindowVisible(window));
    Quorvel second(Executable());
    EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
    for (DWORD waited = 0; waited < 5000 && !::IsWindowVisible(window); waited += 50) ::Sleep(50);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(RegValue(kVendorKey, L"fr"), L"42"s) << "the second start counts nothing";
    first.Close();
}

}  // namespace
}  // namespace quorvel
