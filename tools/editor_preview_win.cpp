// Shows the task editor filled in for a few seconds, for screenshots:
//   cmake/wine-run.sh <build> <build>/tools/editor_preview.exe [seconds [actions]]
// or, with tools/screenshot.sh, straight to a picture.
// With "actions" the action list is shown open.

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string_view>

#include "editor/editor_dialog_win.h"
#include "hotkeys/key_names_win.h"
#include "memory_file_system.h"
#include "session/task_session_win.h"
#include "tasks/action_catalogue.h"

int wmain(int argc, wchar_t** argv) {
    using namespace quorvel;
    const UINT seconds = argc > 1 ? static_cast<UINT>(std::wcstoul(argv[1], nullptr, 10)) : 5;
    WindowsKeyNames keyNames;
    HotKeyText hotKeyText(keyNames);
    MemoryFileSystem files;  // the task list is written in memory only
    files.AddFolder(u"Q:");
    TaskSessionWin session(::GetModuleHandleW(nullptr), files, u"Q:\\actions.cfg", hotKeyText);
    session.StartUp();
    session.Session().AddTask({std::u16string(ActionName(Action::RunSelectedProgram)), u"",
                               u"C:\\Tools\\zip.exe -d archive", u"Normal"},
                              0x4000 | 0x8000 | 'N' | kWinBit);
    {
        TaskEditor taskEditor(::GetModuleHandleW(nullptr), session.Session(), hotKeyText);
        static HWND dialog = taskEditor.Handle();
        if (argc > 2 && std::wstring_view(argv[2]) == L"actions") {
            // The controls are made as the dialog shows.
            ::SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR timer, DWORD) {
                ::KillTimer(nullptr, timer);
                ::SendMessageW(::GetDlgItem(dialog, TaskEditor::kActionList), CB_SHOWDROPDOWN, TRUE,
                               0);
            });
        }
        ::SetTimer(nullptr, 0, seconds * 1000,
                   [](HWND, UINT, UINT_PTR, DWORD) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); });
        taskEditor.Edit(0);
    }
    return 0;
}
