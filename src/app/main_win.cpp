// Program entry: one instance per folder, then the task session's start-up with its hotkeys, then
// the main window and About (the editor as it is first opened), then the message loop until an
// Exit ends it.
#include <windows.h>

#include <memory>

#include "about/about_dialog_win.h"
#include "app/main_window_win.h"
#include "app/single_instance_win.h"
#include "common/error.h"
#include "common/paths.h"
#include "common/win/error_box_win.h"
#include "common/win/file_system_win.h"
#include "common/win/system_win.h"
#include "editor/editor_dialog_win.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "session/task_session_win.h"

namespace quorvel {
namespace {

// What a launch shows (the box about a missing program, say) belongs to the program's window
// the user is in, which it holds until closed; with the user in another program, to none.
HWND ProgramWindowInFront() {
    const HWND foreground = ::GetForegroundWindow();
    const bool ours = foreground != nullptr &&
                      ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId();
    return ours && ::IsWindowVisible(foreground) && ::IsWindowEnabled(foreground) ? foreground
                                                                                  : nullptr;
}

// Every library loaded from here on, by Quorvel or by the system's own libraries on its
// behalf, comes from the system folder: one put beside Quorvel.exe or in the working folder
// never runs inside it. Windows 7 has the call only with its update KB2533623; without it, the
// working folder at least leaves the search.
void LoadLibrariesFromSystemFolderOnly() {
    try {
        const auto setDefaultDllDirectories = LateBound<decltype(::SetDefaultDllDirectories)>(
            L"kernel32.dll", "SetDefaultDllDirectories");
        if (setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    } catch (const Error&) {
        // A Windows 7 without the update: the fallback below.
    }
    ::SetDllDirectoryW(L"");
}

// What Quorvel starts without a folder of its own (a program found on the path, an address)
// starts in Quorvel's working folder: the user's profile folder, as from the Run box, and never
// the folder Quorvel happened to be started from (at log-on, the system folder).
void WorkInProfileFolder() {
    wchar_t profile[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    if (length > 0 && length < MAX_PATH && ::SetCurrentDirectoryW(profile)) return;
    ::SetCurrentDirectoryW(SystemFolder().c_str());
}

int Run(HINSTANCE instance) {
    const std::u16string executablePath = ExecutablePath();
    const SingleInstance single(executablePath);
    if (!single.IsFirst()) {
        single.ActivateFirstInstance(MainWindow::kWindowClass);
        return 0;
    }
    WindowsKeyNames keyNames;
    HotKeyText hotKeyText(keyNames);
    const auto files = CreateWindowsFileSystem();
    TaskSessionWin sessionWin(instance, *files, DataFilePath(executablePath, u"actions.cfg"),
                              hotKeyText);
    // The hotkeys first, they are what a start is for: the rows and their registrations. The
    // windows follow, and a window shown at start shows only once they are all made.
    sessionWin.StartUp();
    auto mainWindow = std::make_unique<MainWindow>(instance, *files, sessionWin);
    mainWindow->ReportInactiveHotKeys();
    mainWindow->ReportDamagedTaskFile();
    // The editor is made as Add or Edit first opens it.
    std::unique_ptr<TaskEditor> taskEditor;
    mainWindow->SetEditorMaker([&]() -> TaskEditor& {
        taskEditor = std::make_unique<TaskEditor>(instance, sessionWin.Session(), hotKeyText,
                                                  mainWindow->Handle());
        return *taskEditor;
    });
    sessionWin.SetLaunchOwner(ProgramWindowInFront);
    auto aboutBox = std::make_unique<AboutBox>(instance);
    mainWindow->SetAboutBox(aboutBox.get());
    mainWindow->FinishStartUp();

    const int exitCode = mainWindow->RunMessageLoop().value_or(0);

    // Taken down in the reverse order: the hotkeys go back with the editor, the main window
    // saves last.
    mainWindow->SetAboutBox(nullptr);
    aboutBox.reset();
    sessionWin.Session().HoldBackHotKeys();
    mainWindow->SetEditorMaker(nullptr);
    taskEditor.reset();
    mainWindow.reset();
    return exitCode;
}

}  // namespace
}  // namespace quorvel

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/) {
    quorvel::LoadLibrariesFromSystemFolderOnly();
    quorvel::WorkInProfileFolder();
    try {
        return quorvel::Run(instance);
    } catch (...) {
        // A failure outside every window's handling (a window that cannot be created, memory
        // running out) ends the program, but not without a word.
        quorvel::ShowCurrentException(nullptr);
        return 1;
    }
}
