// Quorvel.exe against the floor (startup_floor.exe), each started under Wine from a scratch
// folder of its own with a prepared task list, as a user with "Always start in system tray
// only" on starts it, in alternating runs, medians:
//  - the time from CreateProcess until the last task's hotkey is registered, seen from outside
//    as the hotkey's global atom "DravlinHotKey<value>" (both add it just before registering),
//    with 1,000 tasks and with 100,000 rows;
//  - the idle working set and private bytes once the start has settled, with no tasks and with
//    1,000, and the peak working set with 100,000 rows;
//  - with 1,000 tasks, a click on the tray icon until the window shows its list of the rows,
//    painted, at the first showing and at the second, and the private bytes after the first
//    showing and hiding;
//  - a press of the last task's hotkey (sent as key presses) until its action, "Clear the
//    Windows clipboard", has emptied the clipboard, with 1,000 tasks and with 100,000 rows.
//    Here both programs run at once, Quorvel with the list and the floor with a hotkey of its
//    own, and their hotkeys are pressed in turn, so that a busy moment of the machine falls
//    on both alike;
//  - the libraries mapped before the program's entry point (its imports and theirs) and the
//    libraries loaded once it idles.
//
//   startup_bench.exe [runs] [showings]      (scripts/bench.sh builds it and runs it; with
//   "showings", only the starts with no tasks and with 1,000, and their rows)

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/text.h"
#include "common/win/file_system_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "hotkeys/registrar.h"
#include "tasks/action_catalogue.h"
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
constexpr DWORD kShowLimitMs = 20000;
constexpr double kMiB = 1024.0 * 1024.0;
// The hotkey of the task the benchmark presses, the last of each list; no other row has it.
constexpr HotKeyValue kPressedHotKey = kCtrlBit | kAltBit | 'P';
// The floor's one hotkey while it runs beside Quorvel for the presses; no row has it either.
constexpr HotKeyValue kFloorPressedHotKey = kCtrlBit | kAltBit | 'O';
constexpr int kPressPairsPerStart = 100;
constexpr DWORD kPressLimitMs = 10000;
constexpr DWORD kBetweenPressesMs = 50;

// --- task lists ---------------------------------------------------------------------------

bool IsModifierKey(HotKeyValue key) {
    return (key >= VK_SHIFT && key <= VK_MENU) || (key >= VK_LSHIFT && key <= VK_RMENU) ||
           key == VK_LWIN || key == VK_RWIN;
}

bool IsReadable(HotKeyValue hotKey, const HotKeyText& text) {
    const std::u16string name = text.FormatHotKey(hotKey, true);
    return !name.empty() && text.ParseHotKey(name, true) == hotKey;
}

// Every hotkey with a modifier whose text reads back to the same hotkey on this layout, but
// the pressed ones.
std::vector<HotKeyValue> ReadableHotKeys(const HotKeyText& text) {
    std::vector<HotKeyValue> hotKeys;
    // The four modifier bits stand side by side from Shift's up.
    for (HotKeyValue modifiers = kShiftBit; modifiers < 16 * kShiftBit; modifiers += kShiftBit) {
        for (HotKeyValue key = 0x08; key < 0xFF; ++key) {
            const HotKeyValue hotKey = modifiers | key;
            if (!IsModifierKey(key) && hotKey != kPressedHotKey && hotKey != kFloorPressedHotKey &&
                IsReadable(hotKey, text)) {
                hotKeys.push_back(hotKey);
            }
        }
    }
    return hotKeys;
}

// One task list in both forms: Quorvel's actions file, and the floor's hotkey values and rows.
struct TaskList {
    int rows;
    fs::path folder;  // holds "actions.cfg", "hotkeys.txt" and "rows.txt"
    // The hotkey registered last, the pressed task's, after all others: nothing without rows.
    std::optional<HotKeyValue> lastHotKey;
};

// Each row names one of the seventeen actions in turn, with the hotkeys going round the
// readable ones; the last row empties the clipboard on the pressed hotkey.
TaskList WriteTaskList(const fs::path& folder, int rows, const std::vector<HotKeyValue>& hotKeys,
                       const HotKeyText& text, HotKeyValue pressedHotKey = kPressedHotKey) {
    TaskTable table;
    std::string values;
    std::u16string shownRows;  // the floor's: the shown texts, separated by tabs
    for (int row = 0; row < rows; ++row) {
        const bool pressed = row == rows - 1;
        const HotKeyValue hotKey = pressed ? pressedHotKey : hotKeys[row % hotKeys.size()];
        const Action action = pressed ? Action::ClearTheWindowsClipboard
                                      : static_cast<Action>(row % kActionNames.size());
        // Only the two program actions look at the destination, for their picture.
        const Task task{std::u16string(ActionName(action)), text.FormatHotKey(hotKey, true),
                        u"C:\\windows\\notepad.exe", u"Normal"};
        shownRows += task.actionName + u'\t' + task.hotKeyText + u'\t' + task.dest + u'\t' +
                     task.runType + u"\tTrue\n";
        table.AppendTask(task);
        values += std::to_string(hotKey) + "\n";
    }
    fs::create_directories(folder);
    const auto files = CreateWindowsFileSystem();
    TaskFile(*files, FromWide((folder / L"actions.cfg").wstring())).Save(table);
    WriteFile(folder / L"hotkeys.txt", values);
    WriteFile(folder / L"rows.txt", {reinterpret_cast<const char*>(shownRows.data()),
                                     shownRows.size() * sizeof(char16_t)});
    TaskList list{rows, folder, std::nullopt};
    if (rows > 0) list.lastHotKey = pressedHotKey;
    return list;
}

// --- programs -----------------------------------------------------------------------------

// A file of a task list, and where a program reads it.
struct ListFile {
    const wchar_t* name;
    fs::path path;
};

struct Program {
    const char* name;
    fs::path executable;              // in a scratch folder of its own, its working folder
    const wchar_t* windowClass;       // of the window that WM_CLOSE ends the program through
    std::vector<ListFile> listFiles;  // the forms of the task list it reads
};

// The list files' paths are within the program's folder.
Program CopyProgram(const char* name, const fs::path& builtExecutable, const fs::path& folder,
                    const wchar_t* windowClass, std::vector<ListFile> listFiles) {
    fs::create_directories(folder);
    fs::copy_file(builtExecutable, folder / builtExecutable.filename());
    for (ListFile& file : listFiles) file.path = folder / file.path;
    return {name, folder / builtExecutable.filename(), windowClass, std::move(listFiles)};
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

struct Start {
    std::optional<double> lastHotKeyMs;  // nothing without hotkeys or past the limit
    std::optional<double> readyMs;       // its window answers and it waits for input
    double workingSetMiB = 0;            // once settled
    double peakWorkingSetMiB = 0;
    double privateMiB = 0;            // once settled
    std::set<std::string> libraries;  // once settled
    // With the showings only; nothing past the limit.
    std::optional<double> firstShowingMs;
    std::optional<double> secondShowingMs;
    std::optional<double> privateAfterShowingMiB;  // settled after the first showing and hiding
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

// --- a press -------------------------------------------------------------------------------

void PutTextOnClipboard() {
    if (!::OpenClipboard(nullptr)) throw std::runtime_error("cannot open the clipboard");
    ::EmptyClipboard();
    constexpr wchar_t kText[] = L"pressed";
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(kText));
    std::copy(std::begin(kText), std::end(kText), static_cast<wchar_t*>(::GlobalLock(memory)));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
}

// Told of each change of the clipboard, so that the end of a press is waited for rather than
// polled for: on a machine of two cores a polling loop would take one from the program timed.
class ClipboardWatch {
  public:
    ClipboardWatch()
        : window_(::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr)) {
        if (window_ == nullptr || !::AddClipboardFormatListener(window_)) {
            throw std::runtime_error("cannot watch the clipboard");
        }
    }
    ~ClipboardWatch() {
        ::RemoveClipboardFormatListener(window_);
        ::DestroyWindow(window_);
    }
    ClipboardWatch(const ClipboardWatch&) = delete;
    ClipboardWatch& operator=(const ClipboardWatch&) = delete;

    // Drops the changes told so far.
    void Forget() {
        MSG message{};
        while (
            ::PeekMessageW(&message, window_, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE)) {
        }
    }

    // Waits for the next change; false when none came within the time.
    bool WaitForChange(DWORD limitMs) {
        MSG message{};
        while (
            !::PeekMessageW(&message, window_, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE)) {
            if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, limitMs, QS_POSTMESSAGE) ==
                WAIT_TIMEOUT) {
                return false;
            }
        }
        return true;
    }

  private:
    HWND window_;
};

// From the keys of a pressed hotkey until the clipboard is empty.
double PressToAction(ClipboardWatch& watch, HotKeyValue hotKey) {
    PutTextOnClipboard();
    watch.Forget();
    const SplitKey keys = SplitHotKey(hotKey);
    static_assert(((kPressedHotKey | kFloorPressedHotKey) & (kShiftBit | kWinBit)) == 0,
                  "Ctrl and Alt only");
    const Clock::time_point began = Clock::now();
    if (!SendKeysTogether({VK_CONTROL, VK_MENU, static_cast<WORD>(keys.key)})) {
        throw std::runtime_error("the keys could not be pressed");
    }
    while (::IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        if (!watch.WaitForChange(RemainingMs(began, kPressLimitMs))) {
            throw std::runtime_error("a press did not empty the clipboard");
        }
    }
    return MillisecondsSince(began);
}

// --- showings ------------------------------------------------------------------------------

// Under Wine a window hidden and shown again waits up to 2 s for the window manager to confirm
// it; the benchmark's display has none, so both programs' windows go unmanaged for the run, and
// show and hide at once, as on Windows.
constexpr wchar_t kQuorvelX11Key[] = L"Software\\Wine\\AppDefaults\\Quorvel.exe\\X11 Driver";
constexpr wchar_t kFloorX11Key[] = L"Software\\Wine\\AppDefaults\\startup_floor.exe\\X11 Driver";

// Sent rather than posted, so that the message has been handled when the call returns.
bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, kShowLimitMs,
                                 &ignored) != 0;
}

BOOL CALLBACK AddWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// Whether the window or one within it still has a part to paint.
bool AwaitsPaint(HWND window) {
    std::vector<HWND> windows{window};
    ::EnumChildWindows(window, &AddWindow, reinterpret_cast<LPARAM>(&windows));
    return std::any_of(windows.begin(), windows.end(), [](HWND each) {
        RECT part{};
        return ::GetUpdateRect(each, &part, FALSE) != FALSE;
    });
}

bool ShowsRows(HWND window, int rows) {
    const HWND list = ::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    return ::IsWindowVisible(window) && list != nullptr && ::IsWindowVisible(list) &&
           ListView_GetItemCount(list) == rows;
}

// A left click on the tray icon until the window shows its list of the rows, painted. The
// click's handler has run when the call returns; the windows paint after it. A paint takes its
// window's part to paint as it begins, so the windows count as painted when none has a part
// left both before and after a message, which the program takes only once a paint is done.
std::optional<double> TimeShowing(HWND window, int rows) {
    const Clock::time_point began = Clock::now();
    if (!SendTo(window, kTrayIconMessage, /*icon=*/1, WM_LBUTTONDOWN)) return std::nullopt;
    while (RemainingMs(began, kShowLimitMs) > 0) {
        if (ShowsRows(window, rows) && !AwaitsPaint(window) && SendTo(window, WM_NULL, 0, 0) &&
            !AwaitsPaint(window)) {
            return MillisecondsSince(began);
        }
        ::Sleep(1);
    }
    return std::nullopt;
}

// The close box.
void Hide(HWND window) {
    if (!SendTo(window, WM_SYSCOMMAND, SC_CLOSE, 0) || ::IsWindowVisible(window)) {
        throw std::runtime_error("a window did not hide");
    }
}

// --- one start ----------------------------------------------------------------------------

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / kMiB; }

PROCESS_MEMORY_COUNTERS MemoryOf(const Child& child) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(child.Process(), &memory, sizeof(memory))) {
        throw std::runtime_error("cannot read a program's memory");
    }
    return memory;
}

// The private bytes: the commit charge, which Windows gives as PagefileUsage (and again as
// PrivateUsage, which Wine 8 leaves at 0; there it is the anonymous memory in use).
double PrivateMiB(const PROCESS_MEMORY_COUNTERS& memory) { return MiB(memory.PagefileUsage); }

// The first showing, its hiding, the bytes once that has settled, the second showing.
void MeasureShowings(const Child& child, const TaskList& list, Start& start) {
    const HWND window = child.Window();
    start.firstShowingMs = TimeShowing(window, list.rows);
    Hide(window);
    ::Sleep(kSettleMs);
    start.privateAfterShowingMiB = PrivateMiB(MemoryOf(child));
    start.secondShowingMs = TimeShowing(window, list.rows);
    Hide(window);
}

// Puts the list where the program reads it at its start. Gives the name of the last hotkey's
// atom, which no program may hold yet; empty without hotkeys.
std::wstring PlaceTaskList(const Program& program, const TaskList& list) {
    for (const ListFile& file : program.listFiles) {
        // MinGW's std::filesystem cannot copy over an existing file.
        if (!::CopyFileW((list.folder / file.name).c_str(), file.path.c_str(),
                         /*bFailIfExists=*/FALSE)) {
            throw std::runtime_error("cannot copy the task list");
        }
    }
    const std::wstring atom = list.lastHotKey ? ToWide(HotKeyAtomName(*list.lastHotKey)) : L"";
    if (!atom.empty() && ::GlobalFindAtomW(atom.c_str()) != 0) {
        throw std::runtime_error(
            "the last hotkey's atom exists before the start: a program of "
            "an earlier run still holds it");
    }
    return atom;
}

Start MeasureStart(const Program& program, const TaskList& list, DWORD limitMs, bool showings) {
    const std::wstring atom = PlaceTaskList(program, list);
    Start start;
    const Clock::time_point began = Clock::now();
    const Child child(program);
    if (!atom.empty()) start.lastHotKeyMs = WaitForAtom(child, atom, began, limitMs);
    start.readyMs = WaitUntilReady(child, began, limitMs);
    ::Sleep(kSettleMs);
    const PROCESS_MEMORY_COUNTERS memory = MemoryOf(child);
    start.workingSetMiB = MiB(memory.WorkingSetSize);
    start.peakWorkingSetMiB = MiB(memory.PeakWorkingSetSize);
    start.privateMiB = PrivateMiB(memory);
    start.libraries = LoadedLibraries(child.Process());
    if (start.lastHotKeyMs) {
        const SplitKey last = SplitHotKey(*list.lastHotKey);
        if (!HotKeyTaken(last.modifiers, last.key)) {
            throw std::runtime_error(std::string(program.name) +
                                     " added the last hotkey's atom but holds no such hotkey");
        }
    }
    if (showings) MeasureShowings(child, list, start);
    return start;
}

// --- presses side by side ------------------------------------------------------------------

// Each press until its action was done.
struct Presses {
    std::vector<double> quorvelMs;
    std::vector<double> floorMs;
};

// Starts the program with the list and waits until it holds the list's last hotkey and waits
// for input.
void StartHolding(std::optional<Child>& child, const Program& program, const TaskList& list,
                  DWORD limitMs) {
    const std::wstring atom = PlaceTaskList(program, list);
    const Clock::time_point began = Clock::now();
    child.emplace(program);
    if (!WaitForAtom(*child, atom, began, limitMs) || !WaitUntilReady(*child, began, limitMs)) {
        throw std::runtime_error("a start was not done within the limit");
    }
}

// Quorvel with the list and the floor with its own hotkey run at once; their hotkeys are
// pressed in turn, each first in every other pair.
void MeasurePressesSideBySide(const Program& quorvel, const TaskList& list, const Program& floor,
                              const TaskList& floorList, DWORD limitMs, Presses& presses) {
    std::optional<Child> quorvelChild;
    std::optional<Child> floorChild;
    StartHolding(quorvelChild, quorvel, list, limitMs);
    StartHolding(floorChild, floor, floorList, limitMs);
    ::Sleep(kSettleMs);
    ClipboardWatch watch;
    const auto press = [&watch](HotKeyValue hotKey, std::vector<double>& times) {
        times.push_back(PressToAction(watch, hotKey));
        ::Sleep(kBetweenPressesMs);
    };
    for (int pair = 0; pair < kPressPairsPerStart; ++pair) {
        const bool quorvelFirst = pair % 2 == 0;
        if (quorvelFirst) press(*list.lastHotKey, presses.quorvelMs);
        press(*floorList.lastHotKey, presses.floorMs);
        if (!quorvelFirst) press(*list.lastHotKey, presses.quorvelMs);
    }
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
        if (!(start.*measure)) {
            throw std::runtime_error("a start or a showing was not done within the limit");
        }
        values.push_back(*(start.*measure));
    }
    return Median(values);
}

double MedianOf(const std::vector<Start>& starts, double Start::*measure) {
    std::vector<double> values;
    for (const Start& start : starts) values.push_back(start.*measure);
    return Median(values);
}

// One program's starts, with no tasks, with 1,000 and with 100,000 rows.
struct Starts {
    std::vector<Start> noTasks;
    std::vector<Start> tasks;
    std::vector<Start> large;
};

void MeasureAlternating(const Program& quorvel, const Program& floor, const TaskList& list,
                        int runs, DWORD limitMs, bool showings, std::vector<Start>& quorvelStarts,
                        std::vector<Start>& floorStarts) {
    // Quorvel, floor, floor, Quorvel, ...: neither always starts right after the other ends.
    for (int run = 0; run < runs; ++run) {
        const bool quorvelFirst = run % 2 == 0;
        if (quorvelFirst) quorvelStarts.push_back(MeasureStart(quorvel, list, limitMs, showings));
        floorStarts.push_back(MeasureStart(floor, list, limitMs, showings));
        if (!quorvelFirst) quorvelStarts.push_back(MeasureStart(quorvel, list, limitMs, showings));
    }
}

void PrintRow(const char* what, double quorvel, double floor, const char* unit, int decimals = 1) {
    std::printf("  %-46s %9.*f %s %9.*f %s %7.2f\n", what, decimals, quorvel, unit, decimals, floor,
                unit, quorvel / floor);
}

// Bytes, with what Quorvel holds beyond the floor.
void PrintDifference(const char* what, double quorvelMiB, double floorMiB) {
    std::printf("  %-46s %9.2f MiB %9.2f MiB %+7.2f MiB (Quorvel minus floor)\n", what, quorvelMiB,
                floorMiB, quorvelMiB - floorMiB);
}

void PrintComparison(const Starts& quorvel, const Starts& floor) {
    std::printf("  %-46s %13s %13s %7s\n", "", "Quorvel", "floor", "ratio");
    PrintRow("1,000 tasks: start to last hotkey registered",
             MedianOf(quorvel.tasks, &Start::lastHotKeyMs),
             MedianOf(floor.tasks, &Start::lastHotKeyMs), "ms ");
    PrintRow("1,000 tasks: start to waiting for input", MedianOf(quorvel.tasks, &Start::readyMs),
             MedianOf(floor.tasks, &Start::readyMs), "ms ");
    PrintRow("no tasks: start to waiting for input", MedianOf(quorvel.noTasks, &Start::readyMs),
             MedianOf(floor.noTasks, &Start::readyMs), "ms ");
    PrintRow("1,000 tasks: tray click to first showing painted",
             MedianOf(quorvel.tasks, &Start::firstShowingMs),
             MedianOf(floor.tasks, &Start::firstShowingMs), "ms ");
    PrintRow("1,000 tasks: tray click to second showing painted",
             MedianOf(quorvel.tasks, &Start::secondShowingMs),
             MedianOf(floor.tasks, &Start::secondShowingMs), "ms ");
    const double quorvelNone = MedianOf(quorvel.noTasks, &Start::workingSetMiB);
    const double floorNone = MedianOf(floor.noTasks, &Start::workingSetMiB);
    const double quorvelTasks = MedianOf(quorvel.tasks, &Start::workingSetMiB);
    const double floorTasks = MedianOf(floor.tasks, &Start::workingSetMiB);
    PrintRow("idle working set, no tasks", quorvelNone, floorNone, "MiB");
    PrintRow("idle working set, 1,000 tasks", quorvelTasks, floorTasks, "MiB");
    std::printf("  %-46s %9.2f MiB %9.2f MiB\n", "added by 1,000 tasks", quorvelTasks - quorvelNone,
                floorTasks - floorNone);
    PrintDifference("private bytes in the tray, no tasks",
                    MedianOf(quorvel.noTasks, &Start::privateMiB),
                    MedianOf(floor.noTasks, &Start::privateMiB));
    const double quorvelTray = MedianOf(quorvel.tasks, &Start::privateMiB);
    const double floorTray = MedianOf(floor.tasks, &Start::privateMiB);
    const double quorvelShown = MedianOf(quorvel.tasks, &Start::privateAfterShowingMiB);
    const double floorShown = MedianOf(floor.tasks, &Start::privateAfterShowingMiB);
    PrintDifference("private bytes in the tray, 1,000 tasks", quorvelTray, floorTray);
    PrintDifference("private bytes after a showing and hiding", quorvelShown, floorShown);
    PrintDifference("added by the showing and hiding", quorvelShown - quorvelTray,
                    floorShown - floorTray);
}

void PrintLarge(const Starts& quorvel, const Starts& floor) {
    PrintRow("100,000 rows: start to last hotkey registered",
             MedianOf(quorvel.large, &Start::lastHotKeyMs),
             MedianOf(floor.large, &Start::lastHotKeyMs), "ms ");
    PrintRow("100,000 rows: start to waiting for input", MedianOf(quorvel.large, &Start::readyMs),
             MedianOf(floor.large, &Start::readyMs), "ms ");
    PrintRow("100,000 rows: peak working set", MedianOf(quorvel.large, &Start::peakWorkingSetMiB),
             MedianOf(floor.large, &Start::peakWorkingSetMiB), "MiB");
}

void PrintLargeAndPresses(const Starts& quorvel, const Starts& floor, const Presses& tasksPresses,
                          const Presses& largePresses) {
    PrintRow("press to action, 1,000 tasks", Median(tasksPresses.quorvelMs),
             Median(tasksPresses.floorMs), "ms ", 2);
    PrintRow("press to action, 100,000 rows", Median(largePresses.quorvelMs),
             Median(largePresses.floorMs), "ms ", 2);
    PrintLarge(quorvel, floor);
}

// The libraries mapped before a program's entry point runs: its imports, theirs, and so on,
// as the files of the system folder name them.
std::set<std::string> LibrariesBeforeEntry(const fs::path& executable) {
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::set<std::string> imports = ImportedLibraries(executable);
    std::vector<std::string> pending(imports.begin(), imports.end());
    std::set<std::string> found;
    while (!pending.empty()) {
        const std::string library = pending.back();
        pending.pop_back();
        if (!found.insert(library).second) continue;
        for (const std::string& next : ImportedLibraries(fs::path(system) / library)) {
            pending.push_back(next);
        }
    }
    return found;
}

std::string Joined(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

std::set<std::string> Without(const std::set<std::string>& names,
                              const std::set<std::string>& others) {
    std::set<std::string> rest;
    std::set_difference(names.begin(), names.end(), others.begin(), others.end(),
                        std::inserter(rest, rest.end()));
    return rest;
}

void PrintLibraries(const Program& quorvel, const Program& floor, const Start& quorvelIdle,
                    const Start& floorIdle) {
    const std::set<std::string> quorvelEntry = LibrariesBeforeEntry(quorvel.executable);
    const std::set<std::string> floorEntry = LibrariesBeforeEntry(floor.executable);
    std::printf("  %-46s %9zu     %9zu\n", "libraries mapped before the entry point",
                quorvelEntry.size(), floorEntry.size());
    std::printf("  %-46s %9zu     %9zu\n", "libraries loaded, idle with 1,000 tasks",
                quorvelIdle.libraries.size(), floorIdle.libraries.size());
    std::printf(
        "Quorvel.exe imports %s; before its entry point beyond the floor's: [%s]; loaded "
        "once idle beyond the floor's: [%s]\n",
        Joined(ImportedLibraries(quorvel.executable)).c_str(),
        Joined(Without(quorvelEntry, floorEntry)).c_str(),
        Joined(Without(quorvelIdle.libraries, floorIdle.libraries)).c_str());
}

// Which starts a run makes: all, only those with no tasks and with 1,000 and their rows (the
// showings), or only those with 100,000 rows and theirs.
enum class Only { All, Showings, Large };

int Run(int runs, Only only) {
    const ScratchFolder scratch;
    WindowsKeyNames keyNames;
    const HotKeyText text(keyNames);
    const std::vector<HotKeyValue> hotKeys = ReadableHotKeys(text);
    if (hotKeys.size() < kTaskCount || !IsReadable(kPressedHotKey, text) ||
        !IsReadable(kFloorPressedHotKey, text)) {
        throw std::runtime_error("too few hotkeys on this layout");
    }
    const fs::path lists = scratch.Path() / L"lists";
    const TaskList noTasks = WriteTaskList(lists / L"0", 0, hotKeys, text);
    const TaskList tasks = WriteTaskList(lists / L"1000", kTaskCount, hotKeys, text);
    const TaskList largeList = WriteTaskList(lists / L"100000", kLargeRowCount, hotKeys, text);
    const TaskList floorPressList =
        WriteTaskList(lists / L"floor-press", 1, hotKeys, text, kFloorPressedHotKey);

    const Program quorvel =
        CopyProgram("Quorvel", PathFromBuild(QUORVEL_EXE_PATH), scratch.Path() / L"quorvel",
                    kMainWindowClass, {{L"actions.cfg", L"data\\actions.cfg"}});
    // The settings a new program folder gets: "Always start in system tray only" is on.
    fs::copy(PathFromBuild(QUORVEL_DEFAULT_DATA), scratch.Path() / L"quorvel" / L"data");
    const Program floor = CopyProgram(
        "floor", PathFromBuild(STARTUP_FLOOR_PATH), scratch.Path() / L"floor", kFloorWindowClass,
        {{L"hotkeys.txt", L"hotkeys.txt"}, {L"rows.txt", L"rows.txt"}});
    const KeptRegValue counter(kVendorKey, L"fr");
    const KeptRegValue autostart(kRunKey, L"Quorvel");
    const KeptRegValue quorvelManaged(kQuorvelX11Key, L"Managed");
    const KeptRegValue floorManaged(kFloorX11Key, L"Managed");
    // Not the first start, so the main window stays hidden.
    SetRegValue(kVendorKey, L"fr", L"41");
    SetRegValue(kQuorvelX11Key, L"Managed", L"N");
    SetRegValue(kFloorX11Key, L"Managed", L"N");

    std::printf(
        "Quorvel.exe against the floor, %d alternating runs each (the 100,000 rows a "
        "%.1f MB file), medians; %zu hotkeys read back on this layout\n",
        runs, static_cast<double>(fs::file_size(largeList.folder / L"actions.cfg")) / 1e6,
        hotKeys.size());
    Starts quorvelStarts;
    Starts floorStarts;
    if (only != Only::Large) {
        MeasureAlternating(quorvel, floor, noTasks, runs, kStartTimeoutMs, /*showings=*/false,
                           quorvelStarts.noTasks, floorStarts.noTasks);
        MeasureAlternating(quorvel, floor, tasks, runs, kStartTimeoutMs, /*showings=*/true,
                           quorvelStarts.tasks, floorStarts.tasks);
    }
    if (only == Only::Showings) {
        PrintComparison(quorvelStarts, floorStarts);
        return 0;
    }
    MeasureAlternating(quorvel, floor, largeList, runs, kLargeStartLimitMs, /*showings=*/false,
                       quorvelStarts.large, floorStarts.large);
    if (only == Only::Large) {
        PrintLarge(quorvelStarts, floorStarts);
        return 0;
    }
    Presses tasksPresses;
    Presses largePresses;
    for (int run = 0; run < runs; ++run) {
        MeasurePressesSideBySide(quorvel, tasks, floor, floorPressList, kStartTimeoutMs,
                                 tasksPresses);
        MeasurePressesSideBySide(quorvel, largeList, floor, floorPressList, kLargeStartLimitMs,
                                 largePresses);
    }
    PrintComparison(quorvelStarts, floorStarts);
    PrintLargeAndPresses(quorvelStarts, floorStarts, tasksPresses, largePresses);
    PrintLibraries(quorvel, floor, quorvelStarts.tasks.front(), floorStarts.tasks.front());
    return 0;
}

}  // namespace
}  // namespace quorvel

int wmain(int argc, wchar_t** argv) {
    try {
        const std::wstring_view only = argc > 2 ? argv[2] : L"";
        return quorvel::Run(argc > 1 ? std::max(1, _wtoi(argv[1])) : 7,
                            only == L"showings" ? quorvel::Only::Showings
                            : only == L"large"  ? quorvel::Only::Large
                                                : quorvel::Only::All);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}
