// Quorvel.exe end to end: started from a scratch folder of its own, watched from outside.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "program_harness_win.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr UINT kTrayIconMessage = WM_USER + 1;
// Menu command ids of File > Exit, Help > About..., and of the tray menu's About... and Exit.
constexpr WPARAM kMainMenuExit = 2000;
constexpr WPARAM kMainMenuAbout = 2001;
constexpr WPARAM kTrayMenuAbout = 2003;
constexpr WPARAM kTrayMenuExit = 2004;

std::wstring UnixPath(const fs::path& path) {
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (unixFileName == nullptr) return {};
    char* name = unixFileName(path.c_str());
    if (name == nullptr) return {};
    const std::string text(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return fs::path(text).wstring();
}

// Runs a program of the Unix side to its end.
void RunUnixProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &info))
        << ::GetLastError();
    ::WaitForSingleObject(info.hProcess, kStartTimeoutMs);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
}

// A menu's Exit, which ends the program cleanly.
void Exit(const Quorvel& quorvel, WPARAM exitItem) {
    ::PostMessageW(quorvel.MainWindow(), WM_COMMAND, exitItem, 0);
    EXPECT_EQ(quorvel.WaitForExit(), std::optional<DWORD>(0)) << exitItem;
}

// A Unix symbolic link to a folder: under Wine a path through it leads to the folder itself,
// as a directory link does on Windows. It lies outside the test's scratch folder, whose removal
// would otherwise go through it.
class FolderLink {
  public:
    explicit FolderLink(const fs::path& folder)
        : path_(fs::temp_directory_path() / (folder.parent_path().filename().wstring() + L"-link")),
          unixPath_(UnixPath(path_.parent_path()) + L"/" + path_.filename().wstring()) {
        RunUnixProgram(L"/bin/ln -s \"" + UnixPath(folder) + L"\" \"" + unixPath_ + L"\"");
    }
    ~FolderLink() { RunUnixProgram(L"/bin/rm \"" + unixPath_ + L"\""); }
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
    std::wstring unixPath_;
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

TEST_F(QuorvelProgramTest, RunValueFollowsTheAutostartOptionAndStartsThisCopyWhole) {
    SetNotFirstStart();
    // Where Windows would look first for an unquoted "...\Jo Smith\Quorvel.exe".
    fs::copy_file(PathFromBuild(ARGDUMP_EXE_PATH), scratch_.Path() / "Jo.exe");
    {
        Quorvel on(Executable());
        const auto value = RegValue(kRunKey, L"Quorvel");
        ASSERT_TRUE(value.has_value());
        const std::wstring quoted = L'"' + Executable().wstring() + L'"';
        EXPECT_EQ(::lstrcmpiW(value->c_str(), quoted.c_str()), 0)
            << fs::path(*value).string() << " vs " << Executable().string();

        // Started as Windows starts it at log-on, from the command line alone: this copy runs,
        // finds itself running and ends.
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        std::wstring commandLine = *value;
        ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &started));
        const UniqueKernelHandle process(started.hProcess);
        ::CloseHandle(started.hThread);
        EXPECT_EQ(::WaitForSingleObject(process.get(), kStartTimeoutMs), WAIT_OBJECT_0);
        EXPECT_FALSE(fs::exists(scratch_.Path() / "argdump.txt")) << "Jo.exe ran";
        on.Close();
    }
    WriteFile(Data() / "settings.cnfg", "0\r\n-1\r\n27\r\n104\r\n105\r\n211\r\n");
    Quorvel off(Executable());
    EXPECT_EQ(RegValue(kRunKey, L"Quorvel"), L""s) << "the value stays, empty";
    off.Close();
}

// At log-off Windows ends the process after WM_ENDSESSION, its windows never destroyed.
TEST_F(QuorvelProgramTest, EveryWayOutWritesAllThreeFiles) {
    SetNotFirstStart();
    const std::pair<const char*, std::function<void(const Quorvel&)>> waysOut[] = {
        {"end of session",
         [](const Quorvel& quorvel) {
             const HWND window = quorvel.MainWindow();
             EXPECT_NE(::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
             ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         }},
        {"close request", [](const Quorvel& quorvel) { quorvel.Close(); }},
        {"File > Exit", [](const Quorvel& quorvel) { Exit(quorvel, kMainMenuExit); }},
        {"tray Exit", [](const Quorvel& quorvel) { Exit(quorvel, kTrayMenuExit); }},
    };
    for (const auto& [way, goOut] : waysOut) {
        const Quorvel quorvel(Executable());
        RemoveDataFiles();
        goOut(quorvel);
        EXPECT_EQ(FileText(Data() / "actions.cfg"), "\xFF\xFE") << way;
        EXPECT_EQ(FileText(Data() / "settings.cnfg"), kDefaultSettings) << way;
        EXPECT_EQ(FileText(Data() / "w_size.cnfg").rfind("609\r\n449\r\n0\r\n", 0), 0u) << way;
    }
}

TEST_F(QuorvelProgramTest, SizeAndPlaceOffEveryMonitorAreMendedAndMinimisedExitKeepsTheBounds) {
    // What an exit while minimised used to write.
    WriteFile(Data() / "w_size.cnfg", "160\r\n24\r\n1\r\n-32000\r\n-32000\r\n");
    RECT bounds{};
    {
        Quorvel first(Executable());  // shown, as on every first start
        const HWND window = first.MainWindow();
        ::GetWindowRect(window, &bounds);
        EXPECT_NE(::MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL), nullptr) << bounds.left;
        // A size below the window's smallest: the default one instead, at 96 DPI.
        EXPECT_EQ(bounds.right - bounds.left, 609);
        EXPECT_EQ(bounds.bottom - bounds.top, 449);
        ::SetWindowPos(window, nullptr, 100, 80, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(window) != FALSE; }, 5000));
        ::PostMessageW(window, WM_COMMAND, kMainMenuExit, 0);
        ASSERT_EQ(first.WaitForExit(), std::optional<DWORD>(0));
    }
    EXPECT_EQ(FileText(Data() / "w_size.cnfg"), "500\r\n400\r\n1\r\n100\r\n80\r\n");
    Quorvel second(Executable());
    ::GetWindowRect(second.MainWindow(), &bounds);
    EXPECT_TRUE(bounds.left == 100 && bounds.top == 80 && bounds.right == 600 &&
                bounds.bottom == 480);
    second.Close();
}

TEST_F(QuorvelProgramTest, ReturnsFromAnotherProgramAndFromAboutThatWasAskedForTwice) {
    Quorvel quorvel(Executable());  // shown and active, as at every first start
    const HWND window = quorvel.MainWindow();
    const HWND trayOnlyBox =
        ::FindWindowExW(window, nullptr, L"Button", L"Always start in system &tray only");
    ::SendMessageW(trayOnlyBox, BM_SETCHECK, BST_UNCHECKED, 0);
    const UniqueWindow otherProgram(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0,
                                                      0, 50, 50, nullptr, nullptr, nullptr,
                                                      nullptr));
    for (const HWND active : {otherProgram.get(), window}) {
        ::SetForegroundWindow(active);
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == active; }, 5000));
    }
    EXPECT_EQ(::SendMessageW(trayOnlyBox, BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "settings read again";

    // About takes the activation (saving the tasks) and the input; the tray About... finds it.
    const auto abouts = [&] {
        return TopLevelWindows(quorvel.Id(), L"QuorvelTessalyAboutBox", L"About...");
    };
    fs::remove(Data() / "actions.cfg");
    ::PostMessageW(window, WM_COMMAND, kMainMenuAbout, 0);
    ASSERT_TRUE(WaitUntil([&] { return abouts().size() == 1 && !IsWindowEnabled(window); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(Data() / "actions.cfg"); }, 5000));
    ::PostMessageW(window, WM_COMMAND, kTrayMenuAbout, 0);
    EXPECT_FALSE(WaitUntil([&] { return abouts().size() > 1; }, 1500));
    ::PostMessageW(abouts().front(), WM_COMMAND, IDOK, 0);
    quorvel.Close();
}

TEST_F(QuorvelProgramTest, LeftClickOnTheTrayIconShowsTheWindowAtTheSavedSizeWithItsControls) {
    SetNotFirstStart();
    Quorvel quorvel(Executable());
    const HWND window = quorvel.MainWindow();
    ASSERT_FALSE(::IsWindowVisible(window));
    // In the tray the window has made no controls, and nothing has loaded the common controls.
    EXPECT_EQ(::GetWindow(window, GW_CHILD), nullptr);
    const auto commonControlsLoaded = [&] {
        return LoadedLibraries(quorvel.Process()).contains("comctl32.dll");
    };
    EXPECT_FALSE(commonControlsLoaded());
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
    EXPECT_TRUE(WaitUntil(shownAtSavedSize, 8000));
    EXPECT_NE(::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr), nullptr);
    EXPECT_TRUE(commonControlsLoaded());
    quorvel.Close();
}

// A copy started without its data folder is at its first start, not at a failure: nothing to
// report, and the files are there once it ends.
TEST_F(QuorvelProgramTest, ACopyWithoutItsDataFolderStartsWithoutAWordAndWritesTheFiles) {
    fs::remove_all(Data());
    {
        const Quorvel quorvel(Executable());
        EXPECT_EQ(WaitForBox(quorvel.Id(), 3000), nullptr);
        quorvel.Close();
    }
    EXPECT_EQ(UserSettings(FileText(Data() / "settings.cnfg")), UserSettings(kDefaultSettings));
    EXPECT_EQ(FileText(Data() / "w_size.cnfg").rfind("609\r\n449\r\n0\r\n", 0), 0u);
}

TEST_F(QuorvelProgramTest, AnUnreadableSettingsFileShowsOneErrorBoxAndTheProgramGoesOn) {
    fs::remove(Data() / "settings.cnfg");
    fs::create_directory(Data() / "settings.cnfg");  // there, and no file to read
    Quorvel quorvel(Executable());
    std::set<HWND> boxesSeen;
    const auto collectBoxes = [&](DWORD forMs) {
        for (DWORD waited = 0; waited < forMs; waited += 50) {
            for (const HWND box : VisibleBoxes(quorvel.Id())) {
                if (boxesSeen.insert(box).second) {
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
    // the failure once; dismissing that box loads nothing again.
    const HWND window = quorvel.MainWindow();
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::Sleep(500);
    ::PostMessageW(window, kTrayIconMessage, 1, WM_LBUTTONDOWN);
    collectBoxes(6000);
    EXPECT_EQ(boxesSeen.size(), 2u);
    EXPECT_TRUE(quorvel.Running());
    quorvel.Close();
}

TEST_F(QuorvelProgramTest, SecondStartShowsTheRunningInstanceAndEndsByAnyPath) {
    SetNotFirstStart();
    Quorvel first(Executable());
    const HWND window = first.MainWindow();
    const FolderLink link(folder_);
    for (const fs::path& executable : {Executable(), link.Path() / "Quorvel.exe"}) {
        // The system's Close only hides the window; the program goes on in the tray.
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) == FALSE; }, 5000));
        EXPECT_TRUE(first.Running());
        Quorvel second(executable);
        EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0)) << executable.string();
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 5000))
            << executable.string();
        EXPECT_EQ(RegValue(kVendorKey, L"fr"), L"42"s) << "the second start counts nothing";
    }
    first.Close();
}

// What a start needs before its hotkeys are live, all of them known system libraries that
// Windows takes from its own folder whatever lies beside a program; the rest is loaded at its
// first use.
TEST(QuorvelExecutable, ImportsOnlyTheSystemLibrariesItsStartNeeds) {
    const fs::path executable = PathFromBuild(QUORVEL_EXE_PATH);
    EXPECT_EQ(ImportedLibraries(executable),
              (std::set<std::string>{"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
                                     "user32.dll"}));

    const HMODULE resources =
        ::LoadLibraryExW(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(resources, nullptr);
    const HRSRC manifest = ::FindResourceW(resources, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    const std::string_view text(
        static_cast<const char*>(::LockResource(::LoadResource(resources, manifest))),
        ::SizeofResource(resources, manifest));
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string_view::npos);
    ::FreeLibrary(resources);
}

TEST_F(QuorvelProgramTest, AnExitThatCannotSaveAsksOnceAndOnlyYesEnds) {
    SetNotFirstStart();
    // A list saved as it stands loses nothing at an exit; one the start could not read whole
    // still has its save ahead of it.
    const fs::path actions = Data() / "actions.cfg";
    const std::string damaged = Utf16Bytes(
        L"\xFEFF"
        L"1,Run Calc,,,Normal,x,True\r\n");
    WriteFile(actions, damaged);
    ::SetFileAttributesW(actions.c_str(), FILE_ATTRIBUTE_READONLY);
    Quorvel quorvel(Executable());
    const HWND window = quorvel.MainWindow();
    const HWND note = WaitForBox(quorvel.Id());
    ASSERT_NE(note, nullptr);
    ::PostMessageW(note, WM_COMMAND, IDOK, 0);  // the damage note
    ASSERT_TRUE(WaitUntil([&] { return VisibleBoxes(quorvel.Id()).empty(); }, 5000));
    // Each About saves as it takes the activation from the window, and as it gives it back
    // the window is activated again: ten changes, and not one box.
    ::PostMessageW(window, kTrayIconMessage, 1, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 5000));
    const auto about = [&] {
        const auto abouts = TopLevelWindows(quorvel.Id(), L"QuorvelTessalyAboutBox", L"About...");
        return abouts.empty() || !::IsWindowVisible(abouts.front()) ? nullptr : abouts.front();
    };
    for (int change = 0; change < 10; change += 2) {
        ::PostMessageW(window, WM_COMMAND, kMainMenuAbout, 0);
        ASSERT_TRUE(WaitUntil([&] { return about() != nullptr; }, 5000));
        ::PostMessageW(about(), WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(
            WaitUntil([&] { return about() == nullptr && ::IsWindowEnabled(window); }, 5000));
    }
    EXPECT_FALSE(WaitUntil([&] { return !VisibleBoxes(quorvel.Id()).empty(); }, 1500));
    const auto askExit = [&](UINT message, WPARAM item, int answer) {
        ::PostMessageW(window, message, item, 0);
        const HWND box = WaitForBox(quorvel.Id());
        ASSERT_NE(box, nullptr);
        EXPECT_NE(BoxText(box).find(L'"' + actions.wstring() + L'"'), std::wstring::npos)
            << fs::path(BoxText(box)).string();
        ::PostMessageW(box, WM_COMMAND, answer, 0);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(box) == FALSE; }, 5000));
    };
    // No, on every road out: the program goes on, and asks nothing more.
    const std::pair<UINT, WPARAM> roads[] = {
        {WM_COMMAND, kTrayMenuExit}, {WM_COMMAND, kMainMenuExit}, {WM_CLOSE, 0}};
    for (const auto& [message, item] : roads) {
        ASSERT_NO_FATAL_FAILURE(askExit(message, item, IDNO));
        EXPECT_FALSE(WaitUntil(
            [&] { return !quorvel.Running() || !VisibleBoxes(quorvel.Id()).empty(); }, 1500))
            << message << " " << item;
    }
    ASSERT_NO_FATAL_FAILURE(askExit(WM_COMMAND, kTrayMenuExit, IDYES));
    EXPECT_EQ(quorvel.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(FileText(actions), damaged);
    ::SetFileAttributesW(actions.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace quorvel
