// Start-up cost of the task hotkeys: how long a process takes from its start until 1,000 task
// hotkeys are registered, against a minimal program that registers the same 1,000 hotkeys.
//
//   editor_startup_bench.exe [runs]     writes a task list, times both kinds of child process
//
// Each child signals an event the moment its last hotkey is registered; the time counted is
// from CreateProcess to that signal, so process teardown is left out of both.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/task_session_win.h"
#include "common/win/wide_text_win.h"
#include "editor/editor_dialog_win.h"
#include "hotkeys/dravlin_win.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "tasks/file_system_win.h"
#include "tasks/task_file.h"

namespace quorvel {
namespace {

constexpr int kTaskCount = 1000;

struct Combination {
    UINT modifiers;  // MOD_ flags
    UINT key;
};

bool IsModifierKey(UINT key) {
    return (key >= VK_SHIFT && key <= VK_MENU) || (key >= VK_LSHIFT && key <= VK_RMENU) ||
           key == VK_LWIN || key == VK_RWIN;
}

HotKeyValue ValueOf(const Combination& c) {
    HotKeyValue value = c.key;
    if (c.modifiers & MOD_SHIFT) value |= kShiftBit;
    if (c.modifiers & MOD_CONTROL) value |= kCtrlBit;
    if (c.modifiers & MOD_ALT) value |= kAltBit;
    if (c.modifiers & MOD_WIN) value |= kWinBit;
    return value;
}

// 1,000 distinct combinations whose text reads back to the same hotkey on this layout.
std::vector<Combination> TaskCombinations(const HotKeyText& text) {
    std::vector<Combination> combinations;
    for (UINT modifiers = 1; modifiers < 16; ++modifiers) {
        for (UINT key = 0x08; key < 0xFF; ++key) {
            if (IsModifierKey(key)) continue;
            const HotKeyValue value = ValueOf({modifiers, key});
            const std::u16string name = text.FormatHotKey(value, true);
            if (name.empty() || text.ParseHotKey(name, true) != value) continue;
            combinations.push_back({modifiers, key});
            if (combinations.size() == kTaskCount) return combinations;
        }
    }
    return combinations;
}

void WriteTaskList(const std::wstring& folder, std::u16string_view action) {
    WindowsKeyNames keyNames;
    HotKeyText text(keyNames);
    const auto combinations = TaskCombinations(text);
    TaskTable table;
    std::ofstream minimalList(std::filesystem::path(folder) / L"hotkeys.txt");
    for (const auto& combination : combinations) {
        table.AppendTask({std::u16string(action), text.FormatHotKey(ValueOf(combination), true),
                          u"", u"Normal"});
        minimalList << combination.modifiers << ' ' << combination.key << '\n';
    }
    const auto files = CreateWindowsFileSystem();
    TaskFile(*files, FromWide(folder + L"\\data\\actions.cfg")).Save(table);
    std::printf("task list: %zu hotkeys\n", combinations.size());
}

// --- children -------------------------------------------------------------------------

// The program's own start-up path: key names, the task file, the registrar, every row bound.
int RegisterLikeQuorvel(const std::wstring& folder, HANDLE done) {
    WindowsKeyNames keyNames;
    HotKeyText text(keyNames);
    const auto files = CreateWindowsFileSystem();
    TaskTable table;
    TaskFile(*files, FromWide(folder + L"\\data\\actions.cfg")).Load(table);
    DravlinWindow dravlin1;
    for (int row = 0; row < table.RowCount(); ++row) {
        const HotKeyValue hotKey = text.ParseHotKey(table.ViewAt(row).hotkey, true);
        if (hotKey != 0) dravlin1.Dravlin1().BindHotKey(hotKey);
    }
    ::SetEvent(done);
    return static_cast<int>(dravlin1.Dravlin1().Bindings().size());
}

// The whole editor creation: as above, plus the task icons, the window and its controls.
int CreateEditorForm(const std::wstring& folder, HANDLE done) {
    WindowsKeyNames keyNames;
    HotKeyText text(keyNames);
    const auto files = CreateWindowsFileSystem();
    TaskSessionWin session(::GetModuleHandleW(nullptr), *files,
                           FromWide(folder + L"\\data\\actions.cfg"), text);
    session.StartUp();
    TForm2 form2(::GetModuleHandleW(nullptr), session.Tasks(), text);
    ::SetEvent(done);
    return static_cast<int>(session.Dravlin1().Bindings().size());
}

// Nothing but a message-only window and the same hotkeys.
int RegisterMinimal(const std::wstring& folder, HANDLE done) {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);
    std::ifstream list(std::filesystem::path(folder) / L"hotkeys.txt");
    UINT modifiers = 0;
    UINT key = 0;
    int registered = 0;
    while (list >> modifiers >> key) {
        if (::RegisterHotKey(window, registered + 1, modifiers, key)) ++registered;
    }
    ::SetEvent(done);
    ::DestroyWindow(window);
    return registered;
}

// --- driver -----------------------------------------------------------------------------

struct ChildResult {
    double milliseconds;
    DWORD registered;
};

ChildResult RunChild(const std::wstring& mode, const std::wstring& folder) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    UniqueKernelHandle done(::CreateEventW(&inheritable, TRUE, FALSE, nullptr));
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + mode + L" \"" + folder +
                               L"\" " +
                               std::to_wstring(reinterpret_cast<std::uintptr_t>(done.get()));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!::CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return {-1, 0};
    }
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    const HANDLE waitFor[] = {done.get(), process.hProcess};
    ::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    const auto end = std::chrono::steady_clock::now();
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    return {std::chrono::duration<double, std::milli>(end - start).count(), exitCode};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring MakeFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, base);
    const std::wstring folder = std::wstring(base) + L"quorvel-startup-bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

int Drive(int runs) {
    const std::wstring folder = MakeFolder();
    WriteTaskList(folder, u"Run Notepad");
    const std::vector<std::pair<std::wstring, const char*>> modes{
        {L"--minimal", "minimal: window + RegisterHotKey x1000"},
        {L"--quorvel", "quorvel: key names + task file + Dravlin1 + RegisterTaskHotKeys"},
        {L"--form2", "Form2 creation (adds window, controls and 1,000 task icons)"},
    };
    std::vector<std::vector<double>> times(modes.size());
    std::vector<DWORD> registered(modes.size());
    RunChild(L"--minimal", folder);  // warms Wine's caches for the first timed child
    for (int run = 0; run < runs; ++run) {
        for (std::size_t m = 0; m < modes.size(); ++m) {
            const auto result = RunChild(modes[m].first, folder);
            times[m].push_back(result.milliseconds);
            registered[m] = result.registered;
        }
    }
    std::vector<double> medians;
    std::vector<double> fastest;
    for (std::size_t m = 0; m < modes.size(); ++m) {
        medians.push_back(Median(times[m]));
        fastest.push_back(*std::min_element(times[m].begin(), times[m].end()));
        std::printf(
            "%s\n    median %.1f ms, fastest %.1f ms over %d runs, %lu hotkeys registered\n",
            modes[m].second, medians[m], fastest[m], runs,
            static_cast<unsigned long>(registered[m]));
    }
    std::printf("ratio quorvel / minimal: %.2f (median), %.2f (fastest)\n", medians[1] / medians[0],
                fastest[1] / fastest[0]);
    std::printf("ratio Form2 / minimal:   %.2f (median), %.2f (fastest)\n", medians[2] / medians[0],
                fastest[2] / fastest[0]);
    return 0;
}

}  // namespace
}  // namespace quorvel

int wmain(int argc, wchar_t** argv) {
    using namespace quorvel;
    if (argc == 4) {
        const std::wstring mode = argv[1];
        const std::wstring folder = argv[2];
        const auto done = reinterpret_cast<HANDLE>(std::wcstoull(argv[3], nullptr, 10));
        if (mode == L"--minimal") return RegisterMinimal(folder, done);
        if (mode == L"--quorvel") return RegisterLikeQuorvel(folder, done);
        if (mode == L"--form2") return CreateEditorForm(folder, done);
        return -1;
    }
    return Drive(argc > 1 ? std::max(1, _wtoi(argv[1])) : 7);
}
