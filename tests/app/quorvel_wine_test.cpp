// Quorvel.exe end to end: started from a scratch folder of its own, watched from outside.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
constexpr WPARAM kAddButton = 1002;

// The test sees the screen in pixels at every DPI, as Quorvel does; an unaware program would be
// shown scaled coordinates.
[[maybe_unused]] const bool kDpiAware = ::SetProcessDPIAware() != FALSE;

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

int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int Scaled(int pixelsAt96) { return ::MulDiv(pixelsAt96, ScreenDpi(), 96); }

RECT ClientOnScreen(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Every control, shown or on the other page, lies whole inside the window's client area.
void ExpectControlsInside(HWND window, const std::string& what) {
    const RECT client = ClientOnScreen(window);
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        ::GetWindowRect(child, &bounds);
        wchar_t text[64] = L"";
        ::GetWindowTextW(child, text, 64);
        EXPECT_TRUE(Inside(bounds, client))
            << what << ": " << fs::path(text).string() << " " << bounds.left << "," << bounds.top
            << "-" << bounds.right << "," << bounds.bottom << " in " << client.right << ","
            << client.bottom;
    }
}

// The screen's pixels under a rectangle, top row first, as the user sees them.
std::vector<COLORREF> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::SelectObject(memory, old);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
    ::GetDIBits(memory, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    for (COLORREF& pixel : pixels) {  // BGRA as the system's RGB
        pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
    }
    return pixels;
}

// A picture of the window as it shows, frame and all, as "<dpi>-<name>.png" in the folder
// QUORVEL_SHOTS names (a Unix path), when it names one.
void SaveShot(HWND window, const char* name) {
    const char* folder = std::getenv("QUORVEL_SHOTS");
    if (folder == nullptr) return;
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ::Sleep(4000);  // Wine has shown what the window painted
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    const RECT workArea = WorkArea();
    RECT area{};
    ::IntersectRect(&area, &bounds, &workArea);
    const std::string crop = std::to_string(area.right - area.left) + "x" +
                             std::to_string(area.bottom - area.top) + "+" +
                             std::to_string(area.left) + "+" + std::to_string(area.top);
    const std::string picture =
        std::string(folder) + "/" + std::to_string(ScreenDpi()) + "-" + name + ".png";
    const fs::path windowsPath("Z:" + picture);
    fs::remove(windowsPath);
    // Wine does not wait for a Unix program, so the picture gets its name only once whole, and
    // the test goes on only then: clicks that follow would otherwise land in the picture.
    RunUnixProgram(fs::path("/bin/sh -c \"/usr/bin/import -window root -crop " + crop + " '" +
                            picture + ".part.png' && mv '" + picture + ".part.png' '" + picture +
                            "'\"")
                       .wstring());
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(windowsPath); })) << picture;
}

HWND WaitForWindow(DWORD processId, const wchar_t* windowClass) {
    HWND window = nullptr;
    WaitUntil([&] {
        const auto windows = TopLevelWindows(processId, windowClass);
        window = windows.empty() || !::IsWindowVisible(windows.front()) ? nullptr : windows.front();
        return window != nullptr;
    });
    return window;
}

// The Options tab, clicked as a user would.
void ShowOptions(const Quorvel& quorvel) {
    const HWND tabs = ::FindWindowExW(quorvel.MainWindow(), nullptr, WC_TABCONTROLW, nullptr);
    ASSERT_NE(tabs, nullptr);
    RECT tab{};
    const RemoteCopy remote(quorvel.Process(), &tab, sizeof(tab));
    ::SendMessageW(tabs, TCM_GETITEMRECT, 1, remote.Address());
    remote.Read(&tab, sizeof(tab));
    const LPARAM point = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ::PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(tabs, WM_LBUTTONUP, 0, point);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 1; }, 5000));
}

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
        // A size below the window's smallest grows to it, where every control fits.
        EXPECT_LT(bounds.right - bounds.left, Scaled(609));
        EXPECT_LT(bounds.bottom - bounds.top, Scaled(449));
        ExpectControlsInside(window, "grown to the smallest");
        ::SetWindowPos(window, nullptr, 100, 80, 560, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(window) != FALSE; }, 5000));
        ::PostMessageW(window, WM_COMMAND, kMainMenuExit, 0);
        ASSERT_EQ(first.WaitForExit(), std::optional<DWORD>(0));
    }
    EXPECT_EQ(FileText(Data() / "w_size.cnfg"), "560\r\n400\r\n1\r\n100\r\n80\r\n");
    Quorvel second(Executable());
    ::GetWindowRect(second.MainWindow(), &bounds);
    EXPECT_TRUE(bounds.left == 100 && bounds.top == 80 && bounds.right == 660 &&
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
    const auto settingsWritten = fs::last_write_time(Data() / "settings.cnfg");
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
    // The click is posted: watch for the end state.
    const auto shownAtSavedSize = [&] {
        RECT bounds{};
        ::GetWindowRect(window, &bounds);
        return ::IsWindowVisible(window) && bounds.right - bounds.left == 640 &&
               bounds.bottom - bounds.top == 480;
    };
    EXPECT_TRUE(WaitUntil(shownAtSavedSize, 8000));
    EXPECT_NE(::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr), nullptr);
    EXPECT_TRUE(commonControlsLoaded());
    // The editor waits for Add or Edit, and settings read unchanged are not written again.
    EXPECT_TRUE(TopLevelWindows(quorvel.Id(), L"TForm2").empty());
    EXPECT_EQ(fs::last_write_time(Data() / "settings.cnfg"), settingsWritten);
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
    EXPECT_NE(text.find(">PerMonitorV2, System</dpiAwareness>"), std::string_view::npos);
    // Every icon has images from 16 to 256 pixels: Windows draws none scaled up at any DPI.
    const auto iconSizes = [&](LPWSTR name) {
        const HRSRC group = ::FindResourceW(resources, name, RT_GROUP_ICON);
        const auto* directory =
            static_cast<const BYTE*>(::LockResource(::LoadResource(resources, group)));
        std::set<int> sizes;
        const int count = directory[4] | directory[5] << 8;
        for (int i = 0; i < count; ++i)
            sizes.insert(directory[6 + 14 * i] ? directory[6 + 14 * i] : 256);
        return sizes;
    };
    std::vector<LPWSTR> icons;
    ::EnumResourceNamesW(
        resources, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<LPWSTR>*>(found)->push_back(name);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&icons));
    EXPECT_GE(icons.size(), 10u);
    for (const LPWSTR icon : icons) {
        const std::set<int> sizes = iconSizes(icon);
        EXPECT_TRUE(sizes.contains(16) && sizes.contains(32) && sizes.contains(48) &&
                    sizes.contains(256))
            << reinterpret_cast<UINT_PTR>(icon);
    }
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

// Windows at the DPI and in the colours the prefix was started with: tests/app/look_test.sh runs
// these two again at 144 and 192 DPI, and without a visual style in high-contrast colours.

// Starting from the shipped w_size.cnfg (609 x 449, made at 96 DPI): the window grows to hold
// its controls; the editor opens centred over it inside the work area, and About inside it too.
// A move to a monitor of twice the scaling lays everything out again at the suggested size.
TEST_F(QuorvelProgramTest, EveryWindowHoldsItsControlsAndFitsTheWorkAreaAtThisDpi) {
    // A row with a picture: the icon of the system's Notepad.
    WriteFile(Data() / "actions.cfg",
              Utf16Bytes(L"\xFEFF"
                         L"1,Run Notepad,Control+Alt+M,,Normal,0,True\r\n"));
    Quorvel quorvel(Executable());
    const HWND window = quorvel.MainWindow();
    ASSERT_TRUE(::IsWindowVisible(window));
    ExpectControlsInside(window, "main window");
    const HWND grid = ::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    SaveShot(window, "main");
    ShowOptions(quorvel);
    SaveShot(window, "options");

    ::PostMessageW(window, WM_COMMAND, kAddButton, 0);
    const HWND editor = WaitForWindow(quorvel.Id(), L"TForm2");
    ASSERT_NE(editor, nullptr);
    RECT bounds{};
    RECT main{};
    ::GetWindowRect(editor, &bounds);
    ::GetWindowRect(window, &main);
    EXPECT_TRUE(Inside(bounds, WorkArea())) << bounds.right << " " << bounds.bottom;
    EXPECT_LE(std::abs((bounds.top + bounds.bottom) - (main.top + main.bottom)), 2);
    ExpectControlsInside(editor, "editor");
    SaveShot(editor, "editor");
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); }, 5000));

    ::PostMessageW(window, WM_COMMAND, kMainMenuAbout, 0);
    const HWND about = WaitForWindow(quorvel.Id(), L"QuorvelTessalyAboutBox");
    ASSERT_NE(about, nullptr);
    ::GetWindowRect(about, &bounds);
    EXPECT_TRUE(Inside(bounds, WorkArea()));
    ExpectControlsInside(about, "About");
    SaveShot(about, "about");
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }, 5000));

    // Windows suggests the window at twice the scaling: twice the size, at the same place.
    const HWND save = ::FindWindowExW(window, nullptr, WC_BUTTONW, L"&Save");
    ASSERT_NE(save, nullptr);
    RECT before{};
    ::GetWindowRect(save, &before);
    const int dpi = ScreenDpi() * 2;
    RECT suggested{main.left, main.top, main.left + 2 * (main.right - main.left),
                   main.top + 2 * (main.bottom - main.top)};
    const RemoteCopy remote(quorvel.Process(), &suggested, sizeof(suggested));
    const auto rowHeight = [&] {
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        const RemoteCopy item(quorvel.Process(), &row, sizeof(row));
        ::SendMessageW(grid, LVM_GETITEMRECT, 0, item.Address());
        item.Read(&row, sizeof(row));
        return row.bottom - row.top;
    };
    EXPECT_GE(rowHeight(), Scaled(32));
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), remote.Address());
    ::GetWindowRect(window, &main);
    // As large as the screen lets it be.
    EXPECT_TRUE(main.left == suggested.left && main.top == suggested.top &&
                main.right > suggested.left + (suggested.right - suggested.left) / 2);
    ExpectControlsInside(window, "main window at twice the scaling");
    RECT after{};
    ::GetWindowRect(save, &after);
    EXPECT_EQ(after.bottom - after.top, 2 * (before.bottom - before.top));
    // The rows and their pictures grow with the text.
    EXPECT_GE(rowHeight(), 2 * Scaled(32));
    quorvel.Close();
}

// The captions on the Options page, in whatever colours and visual style the prefix has: each
// shows the button text colour over the page, also after the system says its colours, visual
// style or settings changed.
TEST_F(QuorvelProgramTest, OptionCaptionsShowTheirTextInTheSystemColours) {
    Quorvel quorvel(Executable());
    const HWND window = quorvel.MainWindow();
    ShowOptions(quorvel);
    const auto expectCaptionsShown = [&](const char* when) {
        ::Sleep(700);
        for (const wchar_t* caption :
             {L"General", L"Auto sta&rt with Windows ", L"Always start in system &tray only"}) {
            const HWND control = ::FindWindowExW(window, nullptr, WC_BUTTONW, caption);
            ASSERT_NE(control, nullptr) << fs::path(caption).string();
            RECT area{};
            ::GetWindowRect(control, &area);
            area.bottom = std::min(area.bottom, area.top + Scaled(16));  // a group box's caption
            const std::vector<COLORREF> pixels = ScreenPixels(area);
            const auto text =
                std::count(pixels.begin(), pixels.end(), ::GetSysColor(COLOR_BTNTEXT));
            EXPECT_GE(text, 10) << when << ": " << fs::path(caption).string();
            EXPECT_NE(std::count(pixels.begin(), pixels.end(), pixels.front()),
                      static_cast<std::ptrdiff_t>(pixels.size()))
                << when << ": a solid block under " << fs::path(caption).string();
        }
    };
    expectCaptionsShown("at start");
    SaveShot(window, "options-colours");
    for (const UINT change : {WM_SYSCOLORCHANGE, WM_THEMECHANGED, WM_SETTINGCHANGE}) {
        ::SendMessageW(window, change, 0, 0);
        expectCaptionsShown(change == WM_SYSCOLORCHANGE ? "colours changed"
                            : change == WM_THEMECHANGED ? "style changed"
                                                        : "settings changed");
    }
    quorvel.Close();
}

}  // namespace
}  // namespace quorvel
