// Quorvel.exe against the floor (startup_floor.exe), each started under Wine from a scratch
// folder of its own with a prepared task list, as a user with "Always start in system tray
// only" on starts it:
//  - the time from CreateProcess until the last task's hotkey is registered, seen from outside
//    as the hotkey's global atom "DravlinHotKey<value>" (both add it just before registering),
//    median of alternating runs, with 1,000 tasks;
//  - the idle working set once the start has settled, with no tasks and with 1,000;
//  - one start of Quorvel.exe with 100,000 rows: its time and peak working set.
//
//   startup_bench.exe [runs]      (scripts/bench-startup.sh builds it and runs it)

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/action_catalogue.h"
#include "common/text.h"
#include "common/win/file_system_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "hotkeys/dravlin.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "tasks/task_file.h"

#include "program_watch_win.h"
#include "startup_floor.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTaskCount = 1000;
constexpr int kLargeRowCount = 100000;
constexpr DWORD kSettleMs = 2000;  // from the end of the start until the working set is read
constexpr DWORD kLargeStartLimitMs = 180000;
constexpr DWORD kCloseLimitMs = 60000;
constexpr double kMiB = 1024.0 * 1024.0;

// --- task lists ---------------------------------------------------------------------------

bool IsModifierKey(HotKeyValue key) {
    return (key >= VK_SHIFT && key <= VK_MENU) || (key >= VK_LSHIFT && key <= VK_RMENU) ||
           key == VK_LWIN || key == VK_RWIN;
}

// Every hotkey with a modifier whose text reads back to the same hotkey on this layout.
std::vector<HotKeyValue> ReadableHotKeys(const HotKeyText& text) {
    std::vector<HotKeyValue> hotKeys;
    // The four modifier bits stand side by side from Shift's up.
    for (HotKeyValue modifiers = kShiftBit; modifiers < 16 * kShiftBit; modifiers += kShiftBit) {
        for (HotKeyValue key = 0x08; key < 0xFF; ++key) {
            if (IsModifierKey(key)) continue;
            const std::u16string name = text.FormatHotKey(modifiers | key, true);
            if (!name.empty() && text.ParseHotKey(name, true) == (modifiers | key)) {
                hotKeys.push_back(modifiers | key);
            }
        }
    }
    return hotKeys;
}

// One task list in both forms: Quorvel's actions file and the floor's hotkey values.
struct TaskList {
    int rows;
    fs::path folder;  // holds "actions.cfg" and "hotkeys.txt"
    // The hotkey registered last: further rows only repeat earlier hotkeys.
    std::optional<HotKeyValue> lastHotKey;
};

// Each row names one of the seventeen actions in turn; the hotkeys go round the readable ones.
TaskList WriteTaskList(const fs::path& folder, int rows, const std::vector<HotKeyValue>& hotKeys,
                       const HotKeyText& text) {
    TaskTable table;
    std::string values;
    for (int row = 0; row < rows; ++row) {
        const HotKeyValue hotKey = hotKeys[row % hotKeys.size()];
        // Only the two program actions look at the destination, for their picture.
        table.AppendTask({std::u16string(kActionNames[row % kActionNames.size()]),
                          text.FormatHotKey(hotKey, true), u"C:\\windows\\notepad.exe", u"Normal"});
        values += std::to_string(hotKey) + "\n";
    }
    fs::create_directories(folder);
    const auto files = CreateWindowsFileSystem();
    TaskFile(*files, FromWide((folder / L"actions.cfg").wstring())).Save(table);
    WriteFile(folder / L"hotkeys.txt", values);
    TaskList list{rows, folder, std::nullopt};
    if (rows > 0) list.lastHotKey = hotKeys[std::min<std::size_t>(rows, hotKeys.size()) - 1];
    return list;
}

// --- programs -----------------------------------------------------------------------------

struct Program {
    const char* name;
    fs::path executable;          // in a scratch folder of its own, its working folder
    const wchar_t* windowClass;   // of the window that WM_CLOSE ends the program through
    const wchar_t* taskListName;  // the form of the task list it reads,
    fs::path taskListPath;        // and where it reads it
};

Program CopyProgram(const char* name, const fs::path& builtExecutable, const fs::path& folder,
                    const wchar_t* windowClass, const wchar_t* taskListName,
                    const fs::path& taskListPath) {
    fs::create_directories(folder);
    fs::copy_file(builtExecutable, folder / builtExecutable.filename());
    return {name, folder / builtExecutable.filename(), windowClass, taskListName,
            folder / taskListPath};
}

// A started program. Closing asks its window with WM_CLOSE; only a program that does not end
// within the limit is terminated (it is one this benchmark started).
class Child {
  public:
    explicit Child(const Program& program) : windowClass_(program.windowClass) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::wstring commandLine = L"\"" + program.executable.wstring() + L"\"";
        const std::wstring folder = program.executable.parent_path().wstring();
        if (!::CreateProcessW(program.executable.c_str(), commandLine.data(), nullptr, nullptr,
                              FALSE, 0, nullptr, folder.c_str(), &startup, &info)) {
            throw std::runtime_error("cannot start " + program.executable.string());
        }
        process_.reset(info.hProcess);
        ::CloseHandle(info.hThread);
        id_ = info.dwProcessId;
    }
    ~Child() { Close(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    HANDLE Process() const { return process_.get(); }
    bool EndsWithin(DWORD milliseconds) const {
        return ::WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
    }
    HWND Window() const {
        const auto windows = TopLevelWindows(id_, windowClass_);
        return windows.empty() ? nullptr : windows.front();
    }

    void Close() const {
        if (EndsWithin(0)) return;
        if (const HWND window = Window()) ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (EndsWithin(kCloseLimitMs)) return;
        std::fprintf(stderr, "a started program did not end when asked: terminated\n");
        ::TerminateProcess(process_.get(), 1);
        EndsWithin(kCloseLimitMs);
    }

  private:
    const wchar_t* windowClass_;
    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// --- one start ----------------------------------------------------------------------------

struct Start {
    std::optional<double> lastHotKeyMs;  // nothing without hotkeys or past the limit
    std::optional<double> readyMs;       // its window answers and it waits for input
    double workingSetMiB = 0;            // once settled
    double peakWorkingSetMiB = 0;
};

double MillisecondsSince(Clock::time_point began) {
    return std::chrono::duration<double, std::milli>(Clock::now() - began).count();
}

DWORD RemainingMs(Clock::time_point began, DWORD limitMs) {
    return static_cast<DWORD>(std::max(0.0, limitMs - MillisecondsSince(began)));
}

std::optional<double> WaitForAtom(const Child& child, const std::wstring& atom,
                                  Clock::time_point began, DWORD limitMs) {
    while (::GlobalFindAtomW(atom.c_str()) == 0) {
        if (child.EndsWithin(1)) throw std::runtime_error("a program ended during its start");
        if (RemainingMs(began, limitMs) == 0) return std::nullopt;
    }
    return MillisecondsSince(began);
}

// Done with the start: waiting for input, its window there and answering a message, which
// the window does only from its message loop.
std::optional<double> WaitUntilReady(const Child& child, Clock::time_point began, DWORD limitMs) {
    if (::WaitForInputIdle(child.Process(), RemainingMs(began, limitMs)) != 0) return std::nullopt;
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = child.Window()) != nullptr; },
                   RemainingMs(began, limitMs))) {
        return std::nullopt;
    }
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, RemainingMs(began, limitMs),
                               &ignored)) {
        return std::nullopt;
    }
    return MillisecondsSince(began);
}

Start MeasureStart(const Program& program, const TaskList& list, DWORD limitMs) {
    // MinGW's std::filesystem cannot copy over an existing file.
    if (!::CopyFileW((list.folder / program.taskListName).c_str(), program.taskListPath.c_str(),
                     /*bFailIfExists=*/FALSE)) {
        throw std::runtime_error("cannot copy the task list");
    }
    const std::wstring atom = list.lastHotKey ? ToWide(HotKeyAtomName(*list.lastHotKey)) : L"";
    if (!atom.empty() && ::GlobalFindAtomW(atom.c_str()) != 0) {
        throw std::runtime_error(
            "the last hotkey's atom exists before the start: a program of "
            "an earlier run still holds it");
    }
    Start start;
    const Clock::time_point began = Clock::now();
    const Child child(program);
    if (!atom.empty()) start.lastHotKeyMs = WaitForAtom(child, atom, began, limitMs);
    start.readyMs = WaitUntilReady(child, began, limitMs);
    ::Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(child.Process(), &memory, sizeof(memory))) {
        throw std::runtime_error("cannot read a program's memory");
    }
    start.workingSetMiB = static_cast<double>(memory.WorkingSetSize) / kMiB;
    start.peakWorkingSetMiB = static_cast<double>(memory.PeakWorkingSetSize) / kMiB;
    if (start.lastHotKeyMs) {
        const SplitKey last = SplitHotKey(*list.lastHotKey);
        if (!HotKeyTaken(last.modifiers, last.key)) {
            throw std::runtime_error(std::string(program.name) +
                                     " added the last hotkey's atom but holds no such hotkey");
        }
    }
    return start;
}

// --- the runs and the report ----------------------------------------------------------------

// The scratch folder of the run, emptied before and removed after.
class ScratchFolder {
  public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        path_ = fs::path(temp) / L"quorvel-startup-bench";
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// A registry value the runs change, put back as it was.
class KeptRegValue {
  public:
    KeptRegValue(const wchar_t* key, const wchar_t* name)
        : key_(key), name_(name), before_(RegValue(key, name)) {}
    ~KeptRegValue() {
        if (before_) {
            SetRegValue(key_, name_, *before_);
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, name_);
        }
    }
    KeptRegValue(const KeptRegValue&) = delete;
    KeptRegValue& operator=(const KeptRegValue&) = delete;

  private:
    const wchar_t* key_;
    const wchar_t* name_;
    std::optional<std::wstring> before_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MedianOf(const std::vector<Start>& starts, std::optional<double> Start::*measure) {
    std::vector<double> values;
    for (const Start& start : starts) {
        if (!(start.*measure)) throw std::runtime_error("a start was not done within the limit");
        values.push_back(*(start.*measure));
    }
    return Median(values);
}

double MedianOf(const std::vector<Start>& starts, double Start::*measure) {
    std::vector<double> values;
    for (const Start& start : starts) values.push_back(start.*measure);
    return Median(values);
}

// One program's starts, with no tasks and with 1,000.
struct Starts {
    std::vector<Start> noTasks;
    std::vector<Start> tasks;
};

void MeasureAlternating(const Program& quorvel, const Program& floor, const TaskList& list,
                        int runs, std::vector<Start>& quorvelStarts,
                        std::vector<Start>& floorStarts) {
    // Quorvel, floor, floor, Quorvel, ...: neither always starts right after the other ends.
    for (int run = 0; run < runs; ++run) {
        const bool quorvelFirst = run % 2 == 0;
        if (quorvelFirst) quorvelStarts.push_back(MeasureStart(quorvel, list, kStartTimeoutMs));
        floorStarts.push_back(MeasureStart(floor, list, kStartTimeoutMs));
        if (!quorvelFirst) quorvelStarts.push_back(MeasureStart(quorvel, list, kStartTimeoutMs));
    }
}

void PrintRow(const char* what, double quorvel, double floor, const char* unit) {
    std::printf("  %-44s %9.1f %s %9.1f %s %7.2f\n", what, quorvel, unit, floor, unit,
                quorvel / floor);
}

void PrintComparison(const Starts& quorvel, const Starts& floor) {
    std::printf("  %-44s %12s %12s %7s\n", "", "Quorvel", "floor", "ratio");
    PrintRow("1,000 tasks: start to last hotkey registered",
             MedianOf(quorvel.tasks, &Start::lastHotKeyMs),
             MedianOf(floor.tasks, &Start::lastHotKeyMs), "ms ");
    PrintRow("1,000 tasks: start to waiting for input", MedianOf(quorvel.tasks, &Start::readyMs),
             MedianOf(floor.tasks, &Start::readyMs), "ms ");
    PrintRow("no tasks: start to waiting for input", MedianOf(quorvel.noTasks, &Start::readyMs),
             MedianOf(floor.noTasks, &Start::readyMs), "ms ");
    const double quorvelNone = MedianOf(quorvel.noTasks, &Start::workingSetMiB);
    const double floorNone = MedianOf(floor.noTasks, &Start::workingSetMiB);
    const double quorvelTasks = MedianOf(quorvel.tasks, &Start::workingSetMiB);
    const double floorTasks = MedianOf(floor.tasks, &Start::workingSetMiB);
    PrintRow("idle working set, no tasks", quorvelNone, floorNone, "MiB");
    PrintRow("idle working set, 1,000 tasks", quorvelTasks, floorTasks, "MiB");
    std::printf("  %-44s %9.2f MiB %9.2f MiB\n", "added by 1,000 tasks", quorvelTasks - quorvelNone,
                floorTasks - floorNone);
}

std::string Seconds(std::optional<double> milliseconds) {
    if (!milliseconds) return "a miss (over " + std::to_string(kLargeStartLimitMs / 1000) + " s)";
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f s", *milliseconds / 1000);
    return text;
}

void PrintLargeStart(const Start& start, const TaskList& list) {
    const auto fileSize = fs::file_size(list.folder / L"actions.cfg");
    std::printf(
        "Quorvel.exe with %d rows (%.1f MB file): last hotkey registered after %s, waiting for "
        "input after %s; peak working set %.1f MiB, idle %.1f MiB\n",
        list.rows, static_cast<double>(fileSize) / 1e6, Seconds(start.lastHotKeyMs).c_str(),
        Seconds(start.readyMs).c_str(), start.peakWorkingSetMiB, start.workingSetMiB);
}

int Run(int runs) {
    const ScratchFolder scratch;
    WindowsKeyNames keyNames;
    const HotKeyText text(keyNames);
    const std::vector<HotKeyValue> hotKeys = ReadableHotKeys(text);
    if (hotKeys.size() < kTaskCount) throw std::runtime_error("too few hotkeys on this layout");
    const fs::path lists = scratch.Path() / L"lists";
    const TaskList noTasks = WriteTaskList(lists / L"0", 0, hotKeys, text);
    const TaskList tasks = WriteTaskList(lists / L"1000", kTaskCount, hotKeys, text);
    const TaskList largeList = WriteTaskList(lists / L"100000", kLargeRowCount, hotKeys, text);

    const Program quorvel =
        CopyProgram("Quorvel", PathFromBuild(QUORVEL_EXE_PATH), scratch.Path() / L"quorvel",
                    kMainWindowClass, L"actions.cfg", L"data\\actions.cfg");
    // The settings a new program folder gets: "Always start in system tray only" is on.
    fs::copy(PathFromBuild(QUORVEL_DEFAULT_DATA), scratch.Path() / L"quorvel" / L"data");
    const Program floor =
        CopyProgram("floor", PathFromBuild(STARTUP_FLOOR_PATH), scratch.Path() / L"floor",
                    kFloorWindowClass, L"hotkeys.txt", L"hotkeys.txt");
    const KeptRegValue counter(kVendorKey, L"fr");
    const KeptRegValue autostart(kRunKey, L"Quorvel");
    // Not the first start, so the main window stays hidden.
    SetRegValue(kVendorKey, L"fr", L"41");

    std::printf(
        "Quorvel.exe against the floor, %d alternating runs each, medians; %zu hotkeys "
        "read back on this layout\n",
        runs, hotKeys.size());
    Starts quorvelStarts;
    Starts floorStarts;
    MeasureAlternating(quorvel, floor, noTasks, runs, quorvelStarts.noTasks, floorStarts.noTasks);
    MeasureAlternating(quorvel, floor, tasks, runs, quorvelStarts.tasks, floorStarts.tasks);
    PrintComparison(quorvelStarts, floorStarts);
    PrintLargeStart(MeasureStart(quorvel, largeList, kLargeStartLimitMs), largeList);
    return 0;
}

}  // namespace
}  // namespace quorvel

int wmain(int argc, wchar_t** argv) {
    try {
        return quorvel::Run(argc > 1 ? std::max(1, _wtoi(argv[1])) : 7);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}
