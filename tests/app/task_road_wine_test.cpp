// The whole road of a task through the real Quorvel.exe: a task list prepared on disk, a task
// added, edited and deleted through the editor's own controls, its hotkey pressed at the
// system's keyboard input and its program seen running.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"
#include "input_win.h"
#include "program_harness_win.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Under Wine the keyboard layout names the keys as X11 does ("Control"), and the editor writes
// a task's hotkey text with those names (checked below).
constexpr wchar_t kCtrlAlt1[] = L"Control+Alt+1";
constexpr wchar_t kCtrlAltD[] = L"Control+Alt+D";
constexpr wchar_t kCtrlAltWinJ[] = L"Control+Alt+Win+J";
constexpr wchar_t kCtrlAltK[] = L"Control+Alt+K";
constexpr wchar_t kCtrlAltL[] = L"Control+Alt+L";
constexpr wchar_t kCtrlAltN[] = L"Control+Alt+N";
constexpr wchar_t kCtrlAltQ[] = L"Control+Alt+Q";
constexpr wchar_t kRunSelectedProgram[] = L"Run selected program...";
constexpr wchar_t kEditorClass[] = L"TForm2";
constexpr wchar_t kEditorCaption[] = L"Add task";
// How long a task's program may take to leave its report, and how long a press that should
// run nothing is given to show the opposite.
constexpr DWORD kRunTimeoutMs = 15000;
constexpr DWORD kQuietMs = 1500;
constexpr UINT kTrayIconMessage = WM_USER + 1;
constexpr WPARAM kShowMainWindowItem = 2002;  // the tray menu's "Show Main Window"
constexpr WPARAM kTrayMenuExit = 2004;
constexpr WPARAM kTrayMenuPause = 2005;  // the command of the tray menu's "Pause hotkeys"
// How long Quorvel waits between its tries of a hotkey another program holds, and how long
// it is given to take one at a moment that retries it.
constexpr DWORD kRetryPeriodMs = 5000;
constexpr DWORD kMomentMs = 2000;
// The grid's shown columns as the list view numbers them.
constexpr int kShownDescColumn = 2;
constexpr int kShownHotKeyColumn = 3;
constexpr int kShownDestColumn = 4;
constexpr int kShownEnabledColumn = 6;

// A task as the actions file holds it, without its row number and picture index.
struct Task {
    std::wstring actionName;
    std::wstring hotKeyText;
    std::wstring dest;
    std::wstring runType;
    bool enabled = true;

    bool operator==(const Task&) const = default;
};

void PrintTo(const Task& task, std::ostream* out) {
    *out << fs::path(task.actionName + L',' + task.hotKeyText + L',' + task.dest + L',' +
                     task.runType)
                .string()
         << (task.enabled ? ",True" : ",False");
}

// The file in the program's own form: a byte-order mark, then one CR LF ended line per task.
// The texts used here hold no comma or quote, so no field needs quoting.
std::string ActionsFile(const std::vector<Task>& tasks) {
    std::wstring text = L"\xFEFF";
    for (std::size_t row = 0; row < tasks.size(); ++row) {
        const Task& task = tasks[row];
        text += std::to_wstring(row + 1) + L',' + task.actionName + L',' + task.hotKeyText + L',' +
                task.dest + L',' + task.runType + L",0," + (task.enabled ? L"True" : L"False") +
                L"\r\n";
    }
    return Utf16Bytes(text);
}

// A line that is not a task in the expected form comes back whole as the action, so that a
// comparison shows it; the file is also read while the program may be replacing it.
Task Unreadable(std::wstring text) { return {std::move(text), {}, {}, {}, false}; }

std::vector<Task> TasksIn(const std::string& file) {
    if (file.rfind("\xFF\xFE", 0) != 0) return {Unreadable(L"(no UTF-16 byte-order mark)")};
    std::vector<Task> tasks;
    auto lines = Split(Utf16Text(std::string_view(file).substr(2)), L"\r\n");
    if (lines.back().empty()) lines.pop_back();  // after the last line's end
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const auto fields = Split(lines[row], L",");
        if (fields.size() != 7 || fields[0] != std::to_wstring(row + 1)) {
            tasks.push_back(Unreadable(lines[row]));
        } else {
            tasks.push_back({fields[1], fields[2], fields[3], fields[4], fields[6] == L"True"});
        }
    }
    return tasks;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = L"";
    ::SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// The direct children of a window of one class, in their creation (and Tab) order.
std::vector<HWND> Children(HWND parent, const wchar_t* windowClass) {
    std::vector<HWND> children;
    for (HWND child = ::FindWindowExW(parent, nullptr, windowClass, nullptr); child != nullptr;
         child = ::FindWindowExW(parent, child, windowClass, nullptr)) {
        children.push_back(child);
    }
    return children;
}

std::wstring ClassName(HWND window) {
    wchar_t name[64] = L"";
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// A static text or a group box with a caption: what a screen reader names the control after it
// by.
bool IsLabel(HWND window) {
    const auto type = ::GetWindowLongW(window, GWL_STYLE) & 0x1F;
    const bool text = ClassName(window) == L"Static"
                          ? type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP
                          : ClassName(window) == L"Button" && (type & BS_TYPEMASK) == BS_GROUPBOX;
    return text && !WindowText(window).empty();
}

// A user's click (or double click) at the system's mouse input.
void ClickAt(POINT point, int clicks = 1) {
    ::SetCursorPos(point.x, point.y);
    for (int click = 0; click < clicks; ++click) {
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
    // Another click here now would be a double click (which on a row opens the editor).
    ::Sleep(::GetDoubleClickTime() + 100);
}

// Posted, not sent: Add and Edit return only once the modal editor has closed.
void PostClick(HWND parent, const wchar_t* caption) {
    const HWND button = ::FindWindowExW(parent, nullptr, WC_BUTTONW, caption);
    ASSERT_NE(button, nullptr) << fs::path(caption).string();
    ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

// A variable of this process's environment, which the programs it starts inherit, for the
// test's time.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
        ::SetEnvironmentVariableW(name, value);
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(name_, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const wchar_t* name_;
};

// The editor's controls, found by kind: the hotkey field and its Win box, then the action
// list, the destination and the run type list in their Tab order.
struct EditorControls {
    explicit EditorControls(HWND editor)
        : hotKeyField(::FindWindowExW(editor, nullptr, HOTKEY_CLASSW, nullptr)),
          win(::FindWindowExW(editor, nullptr, WC_BUTTONW, L"&Win")),
          comboBoxes(Children(editor, WC_COMBOBOXW)) {}

    HWND ActionList() const { return comboBoxes.at(0); }
    HWND DestinationBox() const { return comboBoxes.at(1); }
    HWND RunTypeList() const { return comboBoxes.at(2); }

    bool WinChecked() const { return ::SendMessageW(win, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    HWND hotKeyField;
    HWND win;
    std::vector<HWND> comboBoxes;
};

// What a user puts into the editor before OK.
struct EditorInput {
    WORD key;  // with Ctrl and Alt; 0 leaves the hotkey field and the Win box as they are
    std::wstring action;
    std::wstring destination;
    std::wstring runType;
    bool win = false;
};

void SelectListItem(HWND comboBox, const std::wstring& item) {
    const auto index = ::SendMessageW(comboBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(item.c_str()));
    ASSERT_NE(index, CB_ERR) << fs::path(item).string();
    ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The processes a program started that still run.
std::vector<DWORD> RunningChildren(DWORD parentId) {
    std::vector<DWORD> children;
    const UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parentId) children.push_back(entry.th32ProcessID);
    }
    return children;
}

// Closes what a program started as the windows' close boxes would, and waits for the end.
void CloseChildren(DWORD parentId) {
    for (const DWORD child : RunningChildren(parentId)) {
        const UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, child));
        if (!process) continue;
        const auto windows = [child] {
            std::vector<HWND> visible;
            for (const HWND window : TopLevelWindows(child, nullptr)) {
                if (::IsWindowVisible(window)) visible.push_back(window);
            }
            return visible;
        };
        WaitUntil([&] { return !windows().empty(); }, kRunTimeoutMs);
        for (const HWND window : windows()) ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(::WaitForSingleObject(process.get(), kRunTimeoutMs), WAIT_OBJECT_0)
            << "a program the test started did not close";
    }
}

// A file another program holds open without sharing it, as an antivirus or a sync tool may;
// it lets go when asked, or by itself after a while, from a thread of its own.
class HeldFile {
  public:
    explicit HeldFile(const fs::path& path)
        : handle_(
              ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~HeldFile() {
        if (thread_ != nullptr) {
            ::WaitForSingleObject(thread_, INFINITE);
            ::CloseHandle(thread_);
        }
        LetGo();
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    void LetGo() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
    }
    void LetGoAfter(DWORD ms) {
        letGoAfterMs_ = ms;
        thread_ = ::CreateThread(
            nullptr, 0,
            [](void* held) -> DWORD {
                auto* self = static_cast<HeldFile*>(held);
                ::Sleep(self->letGoAfterMs_);
                self->LetGo();
                return 0;
            },
            this, 0, nullptr);
    }

  private:
    HANDLE handle_;
    HANDLE thread_ = nullptr;
    DWORD letGoAfterMs_ = 0;
};

// The texts of the balloons the notification area shows, as tooltips, in any process.
std::vector<std::wstring> BalloonTexts() {
    std::vector<std::wstring> texts;
    for (HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip != nullptr;
         tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
        wchar_t text[512] = L"";
        ::SendMessageTimeoutW(tip, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                              SMTO_ABORTIFHUNG, 2000, nullptr);
        if (text[0] != L'\0') texts.emplace_back(text);
    }
    return texts;
}

class TaskRoadTest : public QuorvelProgramTest {
  protected:
    void SetUp() override {
        QuorvelProgramTest::SetUp();
        for (const char* folder : {"road", "off", "witness", "with space", "plain", "site"}) {
            fs::create_directories(folder_ / folder);
            fs::copy_file(PathFromBuild(ARGDUMP_EXE_PATH), folder_ / folder / "argdump.exe");
        }
    }

    void TearDown() override {
        quorvel_.reset();
        QuorvelProgramTest::TearDown();
    }

    // The test program that records its start as "argdump.txt" beside itself, one copy per
    // task so that each task's run leaves its own trace.
    std::wstring Program(const char* folder) const {
        return (folder_ / folder / "argdump.exe").wstring();
    }
    fs::path Report(const char* folder) const { return folder_ / folder / "argdump.txt"; }
    // Read, not only seen: a report seen but not yet readable is no run yet.
    bool RanIn(const char* folder) const { return !FileText(Report(folder)).empty(); }

    std::vector<Task> StoredTasks() const { return TasksIn(FileText(Data() / "actions.cfg")); }

    // Started from its own folder unless another working folder is given.
    void StartProgram(const std::vector<Task>& tasks, const fs::path& workingFolder = {}) {
        StartProgramOn(ActionsFile(tasks), workingFolder);
    }

    // The program started on an actions file of these bytes.
    void StartProgramOn(const std::string& actionsFile, const fs::path& workingFolder = {}) {
        WriteFile(Data() / "actions.cfg", actionsFile);
        ASSERT_NO_FATAL_FAILURE(StartQuorvel(workingFolder));
    }

    void StartQuorvel(const fs::path& workingFolder = {}) {
        quorvel_ = std::make_unique<Quorvel>(Executable(), workingFolder);
        mainWindow_ = quorvel_->MainWindow();
        ASSERT_NE(mainWindow_, nullptr);
        if (::IsWindowVisible(mainWindow_)) {
            ASSERT_NO_FATAL_FAILURE(FindGrid());
        }
    }

    // The grid, which the window makes as it first shows.
    void FindGrid() {
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(mainWindow_) != FALSE; }, 5000));
        grid_ = ::FindWindowExW(mainWindow_, nullptr, WC_LISTVIEWW, nullptr);
        ASSERT_NE(grid_, nullptr);
    }

    // The grid's own selection, as a click on the row makes it, where Edit and Delete read it;
    // -1 for none.
    void SelectRow(int row) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        RemoteCopy none(quorvel_->Process(), &item, sizeof(item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        RemoteCopy selected(quorvel_->Process(), &item, sizeof(item));
        ASSERT_NE(none.Address(), 0);
        ASSERT_NE(selected.Address(), 0);
        ::SendMessageW(grid_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), none.Address());
        if (row >= 0) {
            ::SendMessageW(grid_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), selected.Address());
        }
        ASSERT_EQ(::SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
                  row);
    }

    // The text a control copies into its caller's buffer (LVM_GETITEMTEXTW, TCM_GETITEMW),
    // through the program's memory.
    template <typename Item>
    std::wstring ItemText(HWND control, UINT message, int index, Item item) const {
        struct Request {
            Item item;
            wchar_t text[256];
        } request{item, {}};
        const RemoteCopy remote(quorvel_->Process(), &request, sizeof(request));
        request.item.pszText =
            reinterpret_cast<wchar_t*>(remote.Address() + offsetof(Request, text));
        request.item.cchTextMax = static_cast<int>(std::size(request.text));
        remote.Write(&request, sizeof(request));
        ::SendMessageW(control, message, static_cast<WPARAM>(index), remote.Address());
        remote.Read(&request, sizeof(request));
        return request.text;
    }

    // What LVM_GETITEMTEXT gives for a row's cell, as a screen reader reads it.
    std::wstring CellText(int row, int shownColumn) const {
        LVITEMW item{};
        item.iSubItem = shownColumn;
        return ItemText(grid_, LVM_GETITEMTEXTW, row, item);
    }
    std::wstring HotKeyCellText(int row) const { return CellText(row, kShownHotKeyColumn); }

    // The program's message box once it shows; only one may.
    HWND MessageBoxShown(DWORD timeoutMs = kStartTimeoutMs) const {
        const HWND box = WaitForBox(quorvel_->Id(), timeoutMs);
        EXPECT_LE(VisibleBoxes(quorvel_->Id()).size(), 1u) << "boxes inside boxes";
        return box;
    }

    // A cell's rectangle in the grid's client coordinates, by the shown column.
    RECT CellRect(int row, int shownColumn) const {
        RECT cell{LVIR_BOUNDS, shownColumn, 0, 0};
        const RemoteCopy remote(quorvel_->Process(), &cell, sizeof(cell));
        EXPECT_TRUE(
            ::SendMessageW(grid_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), remote.Address()));
        remote.Read(&cell, sizeof(cell));
        return cell;
    }

    // A user's click (or double click) on a cell, at the system's mouse input; on a row's
    // Enabled check box by default.
    void ClickCell(int row, int shownColumn = kShownEnabledColumn, int clicks = 1) const {
        const RECT cell = CellRect(row, shownColumn);
        POINT centre{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        ::ClientToScreen(grid_, &centre);
        ClickAt(centre, clicks);
    }

    // Clicks a grid button that opens the editor and waits for the editor to show.
    HWND OpenEditor(const wchar_t* button) {
        PostClick(mainWindow_, button);
        return ShownEditor();
    }

    // Fills the editor as a user would.
    void FillEditor(HWND editor, const EditorInput& input) {
        const EditorControls controls(editor);
        ASSERT_NE(controls.hotKeyField, nullptr);
        ASSERT_NE(controls.win, nullptr);
        ASSERT_EQ(controls.comboBoxes.size(), 3u);
        if (input.key != 0) {
            ::SendMessageW(controls.hotKeyField, HKM_SETHOTKEY,
                           MAKEWORD(input.key, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
            ::SendMessageW(controls.win, BM_SETCHECK, input.win ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        SelectListItem(controls.ActionList(), input.action);
        ::SendMessageW(controls.DestinationBox(), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(input.destination.c_str()));
        SelectListItem(controls.RunTypeList(), input.runType);
    }

    // Fills the editor and presses OK. OK saves the file, registers the hotkeys and then hides
    // the editor, so a hidden editor means the new hotkey is live.
    void ConfirmEditor(HWND editor, const EditorInput& input) {
        ASSERT_NO_FATAL_FAILURE(FillEditor(editor, input));
        PostClick(editor, L"&OK");
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); }))
            << "the editor stayed open";
    }

    // A press that must run nothing: a later press of the witness task, on the same thread,
    // shows that the first was handled; its program's start gives the other one time too.
    void ExpectPressRunsNothing(WORD key, const char* folder) {
        fs::remove(Report("witness"));
        PressTogether({VK_CONTROL, VK_MENU, key});
        PressTogether({VK_CONTROL, VK_MENU, 'D'});
        ASSERT_TRUE(WaitUntil([&] { return RanIn("witness"); }, kRunTimeoutMs))
            << "the witness task did not run";
        EXPECT_FALSE(WaitUntil([&] { return RanIn(folder); }, kQuietMs)) << folder;
    }

    // Whether the program's window answers a message within a few seconds.
    bool Answers() const {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(mainWindow_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                     &ignored) != 0;
    }

    // The program's active window and keyboard focus.
    GUITHREADINFO GuiThread() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(mainWindow_, nullptr), &info);
        return info;
    }

    // Tab from the grid to "Add": the main window's focus, where it is to come back to.
    HWND TabToAdd() const {
        ::PostMessageW(grid_, WM_KEYDOWN, VK_TAB, 0);
        const HWND add = ::FindWindowExW(mainWindow_, nullptr, WC_BUTTONW, L"&Add");
        EXPECT_TRUE(WaitUntil([&] { return GuiThread().hwndFocus == add; }, 5000));
        return add;
    }

    // The tab control with its two pages, covering the window's client area: the controls are
    // made and laid out for the window's size.
    bool PagesFillWindow() const {
        const HWND pages = ::FindWindowExW(mainWindow_, nullptr, WC_TABCONTROLW, nullptr);
        RECT client{};
        RECT placed{};
        ::GetClientRect(mainWindow_, &client);
        ::GetWindowRect(pages, &placed);
        ::MapWindowPoints(nullptr, mainWindow_, reinterpret_cast<POINT*>(&placed), 2);
        return pages != nullptr && ::SendMessageW(pages, TCM_GETITEMCOUNT, 0, 0) == 2 &&
               ::EqualRect(&client, &placed);
    }

    bool InFront(HWND window, HWND focus = nullptr) const {
        return ::GetForegroundWindow() == window &&
               (focus == nullptr || GuiThread().hwndFocus == focus);
    }

    // The editor shown by a key or a button, once it shows.
    HWND ShownEditor(DWORD timeoutMs = kStartTimeoutMs) const {
        HWND editor = nullptr;
        WaitUntil(
            [&] {
                for (const HWND window :
                     TopLevelWindows(quorvel_->Id(), kEditorClass, kEditorCaption)) {
                    if (::IsWindowVisible(window)) editor = window;
                }
                return editor != nullptr;
            },
            timeoutMs);
        return editor;
    }

    std::vector<std::wstring> TabCaptions(HWND tabs) const {
        std::vector<std::wstring> captions;
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        const auto count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int tab = 0; tab < count; ++tab) {
            captions.push_back(ItemText(tabs, TCM_GETITEMW, tab, item));
        }
        return captions;
    }

    // A walk of a window's children in z-order, as a screen reader names them: each Tab stop
    // has a caption of its own (a tab control, its tabs') or takes the name of the label or
    // group box just before it. Every button but the default one, every label before a field
    // and every tab has an access key, and no two of the window's are alike.
    void ExpectNamedWithOwnAccessKeys(HWND window) const {
        std::map<char16_t, std::wstring> keys;
        const auto expectKey = [&](const std::wstring& caption) {
            const char16_t key = AccessKeyOf(FromWide(caption));
            EXPECT_NE(key, 0) << fs::path(caption).string() << " has no access key";
            if (key == 0) return;
            const auto [other, added] = keys.emplace(key, caption);
            EXPECT_TRUE(added) << fs::path(caption).string() << " and "
                               << fs::path(other->second).string() << " share their key";
        };
        for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring kind = ClassName(child);
            const auto style = ::GetWindowLongW(child, GWL_STYLE);
            if ((style & WS_TABSTOP) == 0) continue;
            if (kind == WC_TABCONTROLW) {
                for (const std::wstring& caption : TabCaptions(child)) expectKey(caption);
            } else if (kind == L"Button" || kind == L"Static") {
                EXPECT_FALSE(WindowText(child).empty()) << "a nameless " << fs::path(kind);
                if (kind == L"Button" && (style & BS_TYPEMASK) != BS_DEFPUSHBUTTON) {
                    expectKey(WindowText(child));
                }
            } else {
                const HWND label = ::GetWindow(child, GW_HWNDPREV);
                const bool named = label != nullptr && IsLabel(label);
                EXPECT_TRUE(named) << fs::path(kind).string() << " has no label before it";
                if (named) expectKey(WindowText(label));
            }
        }
    }

    // "Pause hotkeys" picked from the tray icon's menu with its keys: the menu opens on the
    // right button, and the item above "Exit", its last, is chosen.
    void PickPauseHotKeys() {
        ::PostMessageW(mainWindow_, kTrayIconMessage, 1, WM_RBUTTONDOWN);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (const HWND window : TopLevelWindows(quorvel_->Id(), L"#32768"))
                if (::IsWindowVisible(window)) menu = window;
            return menu != nullptr;
        })) << "the tray menu did not open";
        for (const WPARAM key : {VK_UP, VK_UP, VK_RETURN}) {
            ::PostMessageW(menu, WM_KEYDOWN, key, 1);
            ::PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
        }
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(menu); }))
            << "the tray menu stayed open";
    }

    std::unique_ptr<Quorvel> quorvel_;
    HWND mainWindow_ = nullptr;
    HWND grid_ = nullptr;
};

TEST_F(TaskRoadTest, TaskLivesThroughAddPressEditPressAndDelete) {
    // A disabled task and an enabled one on the same hotkey, written as the program would:
    // their hotkey runs the enabled one only.
    const Task off{kRunSelectedProgram, kCtrlAltD, Program("off") + L" Never", L"Normal", false};
    const Task witness{kRunSelectedProgram, kCtrlAltD, Program("witness") + L" Witness", L"Normal",
                       true};
    ASSERT_NO_FATAL_FAILURE(StartProgram({off, witness}));
    ASSERT_NO_FATAL_FAILURE(ExpectPressRunsNothing('D', "off"));

    // Add, with Win: the new task is appended and saved in the program's own text for its
    // hotkey, the layout's Win word included.
    const std::wstring destination = Program("road") + L" MixedCase lower UPPER";
    const HWND editor = OpenEditor(L"&Add");
    ASSERT_NE(editor, nullptr) << "the editor did not open";
    ASSERT_NO_FATAL_FAILURE(
        ConfirmEditor(editor, {'J', kRunSelectedProgram, destination, L"Normal", /*win=*/true}));
    const Task added{kRunSelectedProgram, kCtrlAltWinJ, destination, L"Normal", true};
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{off, witness, added}));

    // Its hotkey, pressed anywhere, starts the program with the parameters as typed.
    PressTogether({VK_CONTROL, VK_MENU, VK_LWIN, 'J'});
    ASSERT_TRUE(WaitUntil([&] { return RanIn("road"); }, kRunTimeoutMs))
        << "no run on Ctrl+Alt+Win+J";
    EXPECT_EQ(ArgDumpReport(Report("road")),
              (std::vector<std::wstring>{L"show=1", L"MixedCase", L"lower", L"UPPER"}));

    // Edit: the editor opens with the row's action and destination; a new hotkey and run
    // type replace the old in the same row.
    ASSERT_NO_FATAL_FAILURE(SelectRow(2));
    const HWND editAgain = OpenEditor(L"&Edit");
    ASSERT_EQ(editAgain, editor) << "the editor did not open again";
    const EditorControls controls(editor);
    EXPECT_EQ(WindowText(controls.ActionList()), kRunSelectedProgram);
    EXPECT_EQ(WindowText(controls.DestinationBox()), destination);
    // The field shows the row's hotkey as written under this layout, so an OK that leaves the
    // field alone keeps the task's hotkey.
    EXPECT_EQ(LOWORD(::SendMessageW(controls.hotKeyField, HKM_GETHOTKEY, 0, 0)),
              MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_ALT));
    ASSERT_NO_FATAL_FAILURE(
        ConfirmEditor(editor, {'K', kRunSelectedProgram, destination, L"Minimze"}));
    const Task edited{kRunSelectedProgram, kCtrlAltK, destination, L"Minimze", true};
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{off, witness, edited}));

    fs::remove(Report("road"));
    PressTogether({VK_CONTROL, VK_MENU, 'K'});
    ASSERT_TRUE(WaitUntil([&] { return RanIn("road"); }, kRunTimeoutMs)) << "no run on Ctrl+Alt+K";
    EXPECT_EQ(ArgDumpReport(Report("road")),
              (std::vector<std::wstring>{L"show=6", L"MixedCase", L"lower", L"UPPER"}));
    // The old hotkey went back to the system with the OK.
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT | MOD_WIN, 'J'));

    // Delete: the row leaves the file at once, and another program can take its hotkey.
    ASSERT_NO_FATAL_FAILURE(SelectRow(2));
    PostClick(mainWindow_, L"&Delete");
    EXPECT_TRUE(WaitUntil([&] {
        return StoredTasks() == std::vector<Task>{off, witness};
    })) << "the deleted task is still in the file";
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_FALSE(RanIn("off")) << "the disabled task ran at one of the presses";

    quorvel_->Close();
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{off, witness}));
}

std::wstring EnvironmentVariable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return value;
}

// An address scheme whose addresses the shell hands whole to a program, as a browser's.
void SetAddressScheme(const wchar_t* scheme, const std::wstring& program) {
    const std::wstring command = L'"' + program + L"\" \"%1\"";
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, scheme, L"URL Protocol", REG_SZ, L"", sizeof(wchar_t));
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, (scheme + std::wstring(L"\\shell\\open\\command")).c_str(),
                      nullptr, REG_SZ, command.c_str(),
                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

TEST_F(TaskRoadTest, DestinationsAsUsersWriteThemStartInTheirFolderOrSayWhyNotInOneBox) {
    // Programs in folders of their own, a program under %TEMP%, a destination longer than the
    // shell takes, a program that is missing, an address with spaces and ".com" in its query:
    // all on one hotkey, pressed in a Quorvel started from yet another folder.
    const std::wstring tooLong = L"C:\\" + std::wstring(1088, L'x') + L"\\tool.exe";
    const std::wstring missing = (folder_ / "road" / "missing.exe").wstring();
    const fs::path temp = fs::path(EnvironmentVariable(L"TEMP")) /
                          ("quorvel-road-" + std::to_string(::GetCurrentProcessId()));
    fs::remove_all(temp);  // from an earlier run that stopped half way
    fs::create_directories(temp);
    fs::copy_file(PathFromBuild(ARGDUMP_EXE_PATH), temp / "argdump.exe");
    const std::wstring profile = EnvironmentVariable(L"USERPROFILE");
    ASSERT_FALSE(profile.empty());
    // A program named alone is looked for in the working folder first: planted in the test
    // prefix's profile folder, it shows where Quorvel works, not where it was started.
    fs::create_directories(folder_ / "elsewhere");
    const std::wstring alone =
        L"quorvel-road-" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
    const fs::path aloneReport = fs::path(profile) / "argdump.txt";
    fs::remove(aloneReport);
    fs::copy_file(PathFromBuild(ARGDUMP_EXE_PATH), fs::path(profile) / alone,
                  fs::copy_options::overwrite_existing);
    fs::copy_file(PathFromBuild(ARGDUMP_EXE_PATH), folder_ / "elsewhere" / alone);
    SetAddressScheme(L"quorveltest", Program("site"));
    const std::wstring address = L"quorveltest:search?q=hello world.com x&v=1 2";
    ASSERT_NO_FATAL_FAILURE(StartProgram(
        {
            {kRunSelectedProgram, kCtrlAltL, Program("road") + L" C:\\Notes\\Plan.txt out.exe",
             L"Hide"},
            {kRunSelectedProgram, kCtrlAltL, tooLong, L"Normal"},
            {kRunSelectedProgram, kCtrlAltL, missing + L" -x", L"Normal"},
            {kRunSelectedProgram, kCtrlAltL, L'"' + Program("with space") + L"\" -x", L"Normal"},
            {kRunSelectedProgram, kCtrlAltL, Program("plain"), L"Normal"},
            {kRunSelectedProgram, kCtrlAltL,
             L"%TEMP%\\" + temp.filename().wstring() + L"\\argdump.exe %USERPROFILE% %NOPE%",
             L"Normal"},
            {L"Open Website...", kCtrlAltL, address, L"Normal"},
            {kRunSelectedProgram, kCtrlAltL, alone + L" alone", L"Normal"},
        },
        folder_ / "elsewhere"));
    // The user is in the main window, on its Add button, when pressing the hotkey.
    const HWND add = TabToAdd();
    ::SetForegroundWindow(mainWindow_);
    ASSERT_TRUE(WaitUntil([&] { return InFront(mainWindow_, add); }, 5000));
    PressTogether({VK_CONTROL, VK_MENU, 'L'});

    ASSERT_TRUE(WaitUntil([&] { return RanIn("road"); }, kRunTimeoutMs)) << "no run on Ctrl+Alt+L";
    EXPECT_EQ(ArgDumpReport(Report("road")),
              (std::vector<std::wstring>{L"show=0", L"C:\\Notes\\Plan.txt", L"out.exe"}));

    // One box for both failures holds up the walk until it is closed, and the program answers
    // under it.
    const HWND box = MessageBoxShown();
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(BoxText(box), ToWide(SystemErrorText(ERROR_BUFFER_OVERFLOW)) + L"\r\n\"" +
                                tooLong.substr(0, 260) + L"...\"\r\n\r\n" +
                                ToWide(SystemErrorText(ERROR_FILE_NOT_FOUND)) + L"\r\n\"" +
                                missing + L'"');
    EXPECT_TRUE(Answers()) << "no answer under the box";
    EXPECT_FALSE(RanIn("with space")) << "the walk went on under the open box";
    EXPECT_EQ(::GetWindow(box, GW_OWNER), mainWindow_) << "not the window the user is in";
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // The keyboard goes back where it was, not to the hidden editor.
    EXPECT_TRUE(WaitUntil([&] { return InFront(mainWindow_, add); }, 5000))
        << "foreground " << ::GetForegroundWindow() << ", focus " << GuiThread().hwndFocus;

    // Each program starts in its own folder, with quotes, parameters or neither, its variables
    // expanded and an unknown one as written; the address reaches the shell whole.
    // Each started by the time the next row ran, but not each done writing its report yet.
    for (const char* folder : {"with space", "plain", "site"}) {
        ASSERT_TRUE(WaitUntil([&] { return RanIn(folder); }, kRunTimeoutMs))
            << folder << ": the rows after the box did not run";
    }
    EXPECT_EQ(ArgDumpReport(Report("with space")), (std::vector<std::wstring>{L"show=1", L"-x"}));
    for (const char* folder : {"road", "with space", "plain"}) {
        EXPECT_EQ(fs::path(ArgDumpFolder(Report(folder))), folder_ / folder);
    }
    ASSERT_TRUE(WaitUntil([&] { return !FileText(temp / "argdump.txt").empty(); }, kRunTimeoutMs));
    EXPECT_EQ(ArgDumpReport(temp / "argdump.txt"),
              (std::vector<std::wstring>{L"show=1", profile, L"%NOPE%"}));
    EXPECT_EQ(fs::path(ArgDumpFolder(temp / "argdump.txt")), temp);
    EXPECT_EQ(ArgDumpReport(Report("site")).back(), address);
    ASSERT_TRUE(WaitUntil([&] { return !FileText(aloneReport).empty(); }, kRunTimeoutMs))
        << "the program named alone did not start from the profile folder";
    EXPECT_EQ(fs::path(ArgDumpFolder(aloneReport)), fs::path(profile));
    quorvel_->Close();
    fs::remove_all(temp);
    fs::remove(fs::path(profile) / alone);
    fs::remove(aloneReport);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"quorveltest");
}

// The user is in another program: the box comes in front of it, and it gets the keyboard back.
// One box tells a whole press's failures; an Exit while it is open ends the press and then the
// program.
TEST_F(TaskRoadTest, APresssFailuresShowInOneBoxInFrontAndAnExitEndsThePress) {
    std::vector<Task> tasks;
    for (int i = 0; i < 50; ++i) {
        const fs::path gone = folder_ / "gone" / (std::to_wstring(i) + L".exe");
        tasks.push_back({kRunSelectedProgram, kCtrlAltQ, gone.wstring(), L"Normal"});
    }
    tasks.push_back({kRunSelectedProgram, kCtrlAltD, Program("witness"), L"Normal"});
    tasks.push_back({kRunSelectedProgram, kCtrlAltL, (folder_ / "gone.exe").wstring(), L"Normal"});
    tasks.push_back({kRunSelectedProgram, kCtrlAltL, Program("road"), L"Normal"});
    SetNotFirstStart();  // in the tray only
    ASSERT_NO_FATAL_FAILURE(StartProgram(tasks));
    // The system's notepad, in front.
    std::wstring command = SystemFolder() + L"\\notepad.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(command.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &started));
    const UniqueKernelHandle notepad(started.hProcess);
    const UniqueKernelHandle notepadThread(started.hThread);
    ::WaitForInputIdle(notepad.get(), kRunTimeoutMs);
    HWND other = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        const auto windows = TopLevelWindows(started.dwProcessId, L"Notepad");
        other = windows.empty() ? nullptr : windows.front();
        return other != nullptr && ::IsWindowVisible(other);
    }));
    ::AttachThreadInput(::GetCurrentThreadId(), started.dwThreadId, TRUE);
    ::SetForegroundWindow(other);
    ::AttachThreadInput(::GetCurrentThreadId(), started.dwThreadId, FALSE);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == other; }, 5000));

    PressTogether({VK_CONTROL, VK_MENU, 'Q'});
    HWND box = nullptr;
    ASSERT_TRUE((box = WaitForBox(quorvel_->Id(), kRunTimeoutMs)) != nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == box; }, 5000))
        << "the box opened behind";
    EXPECT_TRUE(BoxText(box).ends_with(L"\\4.exe\"\r\n... and 45 more.")) << fs::path(BoxText(box));
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == other; }, 5000))
        << "the keyboard did not come back";
    PressTogether({VK_CONTROL, VK_MENU, 'D'});
    ASSERT_TRUE(WaitUntil([&] { return RanIn("witness"); }, kRunTimeoutMs));
    EXPECT_TRUE(VisibleBoxes(quorvel_->Id()).empty()) << "a box per row";

    // A missing program, then one that is there; Exit from the tray while the box is open.
    PressTogether({VK_CONTROL, VK_MENU, 'L'});
    ASSERT_TRUE((box = WaitForBox(quorvel_->Id(), kRunTimeoutMs)) != nullptr);
    // The Exit's first step writes the settings; the rest of its handling follows on the
    // program's one thread before the box can take the click.
    fs::remove(Data() / "settings.cnfg");
    ::PostMessageW(mainWindow_, WM_COMMAND, kTrayMenuExit, 0);
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(Data() / "settings.cnfg"); }, kRunTimeoutMs));
    if (::IsWindow(box)) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(quorvel_->WaitForExit(), std::optional<DWORD>(0)) << "still running after the box";
    EXPECT_FALSE(WaitUntil([&] { return RanIn("road"); }, kQuietMs)) << "ran after the Exit";
    ::PostMessageW(other, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(notepad.get(), kRunTimeoutMs), WAIT_OBJECT_0);
}

TEST_F(TaskRoadTest, SystemProgramsComeFromTheSystemFolderNotFromBesideQuorvel) {
    // Where a program named alone is looked for first.
    for (const char* name : {"calc.exe", "notepad.exe"}) {
        fs::copy_file(PathFromBuild(ARGDUMP_EXE_PATH), folder_ / name);
    }
    ASSERT_NO_FATAL_FAILURE(StartProgram({
        {L"Run Calc", kCtrlAltN, L"", L"Minimze"},
        {L"Run Notepad", kCtrlAltN, L"", L"Minimze"},
        {kRunSelectedProgram, kCtrlAltD, Program("witness"), L"Normal"},
    }));
    ASSERT_NO_FATAL_FAILURE(ExpectPressRunsNothing('N', "."));
    CloseChildren(quorvel_->Id());  // the system's notepad, and its calculator where it has one
    quorvel_->Close();
}

TEST_F(TaskRoadTest, TheDestinationFieldHoldsWhatWindowsCanStartAndSaysWhenItCuts) {
    // As a hand-edited task file may hold it.
    const std::wstring tooLong = Program("road") + L" " + std::wstring(3000, L'p');
    ASSERT_NO_FATAL_FAILURE(StartProgram({{kRunSelectedProgram, kCtrlAltL, tooLong, L"Normal"}}));
    ASSERT_NO_FATAL_FAILURE(SelectRow(0));
    const HWND editor = OpenEditor(L"&Edit");
    ASSERT_NE(editor, nullptr);
    const HWND field =
        ::FindWindowExW(EditorControls(editor).DestinationBox(), nullptr, WC_EDITW, nullptr);
    const auto length = [&] { return ::SendMessageW(field, WM_GETTEXTLENGTH, 0, 0); };
    const auto noted = [&] {
        for (const HWND tip : TopLevelWindows(quorvel_->Id(), TOOLTIPS_CLASSW)) {
            if (::IsWindowVisible(tip)) return true;
        }
        return false;
    };
    EXPECT_EQ(length(), 2048);
    EXPECT_TRUE(WaitUntil(noted, 5000)) << "no note on the cut text";

    // The note goes by itself; a key typed at the limit is refused, and noted again.
    ASSERT_TRUE(WaitUntil([&] { return !noted(); }, kRunTimeoutMs)) << "the note stays";
    ::SendMessageW(field, EM_SETSEL, 2048, 2048);
    ::SendMessageW(field, WM_CHAR, 'x', 0);
    EXPECT_EQ(length(), 2048);
    EXPECT_TRUE(WaitUntil(noted, 5000)) << "no note on the refused key";

    PostClick(editor, L"&OK");
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); }));
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{{kRunSelectedProgram, kCtrlAltL,
                                                 tooLong.substr(0, 2048), L"Normal", true}}));
    quorvel_->Close();
}

TEST_F(TaskRoadTest, ErrorBoxAtStartLeavesTheTaskFileAlone) {
    const std::vector<Task> tasks{{L"Run Calc", kCtrlAltK, L"", L"Hide", false}};
    // The window shows at a first start; the unreadable file is reported while the main window
    // is still being made, after the task list has been read and before the window shows.
    fs::remove(Data() / "w_size.cnfg");
    fs::create_directory(Data() / "w_size.cnfg");
    ASSERT_NO_FATAL_FAILURE(StartProgram(tasks));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        box = GuiThread().hwndActive;
        return box != nullptr && box != mainWindow_;
    }));
    EXPECT_EQ(FileText(Data() / "actions.cfg"), ActionsFile(tasks));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    quorvel_->Close();
    EXPECT_EQ(StoredTasks(), tasks);
}

TEST_F(TaskRoadTest, TheHotKeyFieldTakesTheTasksOwnHotKeyEditKeepsWinAndABareKeyIsRefused) {
    const Task withWin{kRunSelectedProgram, L"Control+Win+J", Program("off"), L"Normal", true};
    const Task own{kRunSelectedProgram, kCtrlAltL, Program("witness"), L"Normal", true};
    ASSERT_NO_FATAL_FAILURE(StartProgram({withWin, own}));
    // After the editor the focus is back on "Add".
    const HWND add = TabToAdd();

    // Only the destination changes.
    ASSERT_NO_FATAL_FAILURE(SelectRow(0));
    const HWND editor = OpenEditor(L"&Edit");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(EditorControls(editor).WinChecked()) << "Edit sets the Win box from the text";
    const std::wstring moved = Program("road");
    ASSERT_NO_FATAL_FAILURE(ConfirmEditor(editor, {0, kRunSelectedProgram, moved, L"Normal"}));
    const Task edited{kRunSelectedProgram, withWin.hotKeyText, moved, L"Normal", true};
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{edited, own}));
    EXPECT_TRUE(WaitUntil([&] { return GuiThread().hwndFocus == add; }, 5000));

    // A key typed without modifiers leaves the field empty, and OK registers nothing. The
    // main window saves as the editor takes the activation. Add keeps the hotkey of the last
    // use, Win included; without Win the key is bare.
    fs::remove(Data() / "actions.cfg");
    ASSERT_EQ(OpenEditor(L"&Add"), editor);
    EXPECT_TRUE(WaitUntil([&] { return StoredTasks() == std::vector<Task>{edited, own}; }, 5000));
    ASSERT_TRUE(EditorControls(editor).WinChecked());
    ::SendMessageW(EditorControls(editor).win, BM_CLICK, 0, 0);
    const HWND hotKeyField = EditorControls(editor).hotKeyField;
    const auto field = [&] { return LOWORD(::SendMessageW(hotKeyField, HKM_GETHOTKEY, 0, 0)); };
    ::SendMessageW(hotKeyField, HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_CONTROL), 0);
    ::PostMessageW(hotKeyField, WM_KEYDOWN, 'A', 0x001E0001);
    ::PostMessageW(hotKeyField, WM_KEYUP, 'A', 0xC01E0001);
    ASSERT_TRUE(WaitUntil([&] { return field() != MAKEWORD('Q', HOTKEYF_CONTROL); }, 5000));
    EXPECT_EQ(field(), 0);
    ASSERT_NO_FATAL_FAILURE(ConfirmEditor(editor, {0, L"Run Calc", L"", L"Normal"}));
    const Task calc{L"Run Calc", L"", L"", L"Normal", true};
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{edited, own, calc}));
    EXPECT_TRUE(::RegisterHotKey(nullptr, 1, 0, 'A')) << "the bare A key is taken";
    ::UnregisterHotKey(nullptr, 1);

    // Typed into the field, the task's own hotkey is a key for the field, not a press.
    ASSERT_NO_FATAL_FAILURE(SelectRow(1));
    ASSERT_EQ(OpenEditor(L"&Edit"), editor);
    // Emptied first, so that only the keys typed can put the hotkey back.
    ::SendMessageW(hotKeyField, HKM_SETHOTKEY, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return InFront(editor, hotKeyField); }, 5000));
    PressTogether({VK_CONTROL, VK_MENU, 'L'});
    EXPECT_TRUE(
        WaitUntil([&] { return field() == MAKEWORD('L', HOTKEYF_CONTROL | HOTKEYF_ALT); }, 5000))
        << field();
    EXPECT_FALSE(WaitUntil([&] { return RanIn("witness"); }, kQuietMs)) << "the task ran";
    PostClick(editor, L"&OK");
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); }));
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{edited, own, calc}));
    PressTogether({VK_CONTROL, VK_MENU, 'L'});
    EXPECT_TRUE(WaitUntil([&] { return RanIn("witness"); }, kRunTimeoutMs)) << "no run after OK";
    quorvel_->Close();
}

TEST_F(TaskRoadTest, HotKeysSpelledAnyWayWorkAndOneAnotherProgramHoldsIsTakenOnceGivenUp) {
    // This test is the other program.
    constexpr int kHeld = 7;
    ASSERT_TRUE(::RegisterHotKey(nullptr, kHeld, MOD_CONTROL | MOD_ALT, '1'));
    SetNotFirstStart();
    // Letter case, modifier order and blanks around "+", as hand-edited files have them.
    const std::vector<Task> tasks{
        {kRunSelectedProgram, kCtrlAlt1, Program("road"), L"Normal"},
        {kRunSelectedProgram, L"Alt+Control+L", Program("off"), L"Normal"},
        {kRunSelectedProgram, L"control+alt+k", Program("witness"), L"Normal"},
        {kRunSelectedProgram, L"SHIFT + CONTROL + J", Program("with space"), L"Normal"}};
    ASSERT_NO_FATAL_FAILURE(StartProgram(tasks));

    // The balloon's click shows the window, and the key, tried again in vain, is marked.
    ::PostMessageW(mainWindow_, kTrayIconMessage, 1, NIN_BALLOONUSERCLICK);
    ASSERT_NO_FATAL_FAILURE(FindGrid());
    EXPECT_TRUE(HotKeyCellText(0).ends_with(L" (in use by another program)"))
        << fs::path(HotKeyCellText(0)).string();
    for (int row = 1; row < 4; ++row) {
        EXPECT_EQ(HotKeyCellText(row), tasks[row].hotKeyText) << "marked as not working: " << row;
    }

    // Given up, and nothing else happens: within the retry timer's period the row reads
    // active and every key works.
    ::UnregisterHotKey(nullptr, kHeld);
    ASSERT_TRUE(WaitUntil([&] { return HotKeyCellText(0) == kCtrlAlt1; }, kRetryPeriodMs + 3000))
        << fs::path(HotKeyCellText(0)).string();
    PressTogether({VK_CONTROL, VK_MENU, '1'});
    PressTogether({VK_CONTROL, VK_MENU, 'L'});
    PressTogether({VK_CONTROL, VK_MENU, 'K'});
    PressTogether({VK_CONTROL, VK_SHIFT, 'J'});
    for (const char* folder : {"road", "off", "witness", "with space"}) {
        EXPECT_TRUE(WaitUntil([&] { return RanIn(folder); }, kRunTimeoutMs)) << folder;
    }

    // Unchecking Enabled gives the key back; checking it again takes it.
    ASSERT_NO_FATAL_FAILURE(ClickCell(1));
    EXPECT_TRUE(WaitUntil([] { return !HotKeyTaken(MOD_CONTROL | MOD_ALT, 'L'); }, 5000));
    ASSERT_NO_FATAL_FAILURE(ClickCell(1));
    EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'L'); }, 5000));
    quorvel_->Close();
    EXPECT_EQ(StoredTasks(), tasks) << "the texts stay as written";
}

TEST_F(TaskRoadTest, APauseFromTheTrayMenuGivesEveryHotKeyBackAndAHeldOneIsTakenAtEachMoment) {
    // The retry timer made slow: what takes the hotkey is the moment the test posts.
    const ScopedEnvironment slowRetry(L"QUORVEL_HOTKEY_RETRY_MS", L"600000");
    constexpr int kHeld = 7;
    constexpr int kWitnessHeld = 8;
    ASSERT_TRUE(::RegisterHotKey(nullptr, kHeld, MOD_CONTROL | MOD_ALT, '1'));
    const std::vector<Task> tasks{{kRunSelectedProgram, kCtrlAlt1, Program("road"), L"Normal"},
                                  {kRunSelectedProgram, kCtrlAltD, Program("witness"), L"Normal"}};
    ASSERT_NO_FATAL_FAILURE(StartProgram(tasks));
    const auto heldRowReads = [&](const std::wstring& text, DWORD timeoutMs) {
        return WaitUntil([&] { return HotKeyCellText(0) == text; }, timeoutMs);
    };
    const std::wstring inUse = std::wstring(kCtrlAlt1) + L" (in use by another program)";
    ASSERT_TRUE(heldRowReads(inUse, 5000)) << fs::path(HotKeyCellText(0)).string();

    // Let go, it stays missing until the system says it resumed from sleep.
    ::UnregisterHotKey(nullptr, kHeld);
    EXPECT_FALSE(heldRowReads(kCtrlAlt1, kQuietMs));
    ::PostMessageW(HWND_BROADCAST, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ASSERT_TRUE(heldRowReads(kCtrlAlt1, kMomentMs)) << fs::path(HotKeyCellText(0)).string();

    // Paused from the tray menu: every combination is free for another program, the marks say
    // paused and a press runs nothing.
    ASSERT_NO_FATAL_FAILURE(PickPauseHotKeys());
    EXPECT_TRUE(::RegisterHotKey(nullptr, kHeld, MOD_CONTROL | MOD_ALT, '1'));
    EXPECT_TRUE(::RegisterHotKey(nullptr, kWitnessHeld, MOD_CONTROL | MOD_ALT, 'D'));
    ::UnregisterHotKey(nullptr, kWitnessHeld);
    EXPECT_EQ(HotKeyCellText(0), std::wstring(kCtrlAlt1) + L" (paused)");
    EXPECT_EQ(HotKeyCellText(1), std::wstring(kCtrlAltD) + L" (paused)");
    PressTogether({VK_CONTROL, VK_MENU, 'D'});
    EXPECT_FALSE(WaitUntil([&] { return RanIn("witness"); }, kQuietMs)) << "ran while paused";

    // Unpaused: Quorvel holds its hotkeys again, and the one this test holds is missing.
    ASSERT_NO_FATAL_FAILURE(PickPauseHotKeys());
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'D'));
    EXPECT_TRUE(heldRowReads(inUse, kMomentMs)) << fs::path(HotKeyCellText(0)).string();
    PressTogether({VK_CONTROL, VK_MENU, 'D'});
    EXPECT_TRUE(WaitUntil([&] { return RanIn("witness"); }, kRunTimeoutMs));

    // Each moment that retries a missing hotkey takes it once the test lets go.
    const HWND registrar = TopLevelWindows(quorvel_->Id(), L"QuorvelDravlinWindow").at(0);
    const struct {
        const char* name;
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } moments[] = {
        {"resume", HWND_BROADCAST, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0},
        {"session unlock", registrar, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1},
        {"log-on", registrar, WM_WTSSESSION_CHANGE, WTS_SESSION_LOGON, 1},
        {"a new taskbar", HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0},
        {"main window activated", mainWindow_, WM_ACTIVATE, WA_ACTIVE, 0},
        {"tray click", mainWindow_, kTrayIconMessage, 1, WM_LBUTTONDOWN},
    };
    for (const auto& moment : moments) {
        ::UnregisterHotKey(nullptr, kHeld);
        ::PostMessageW(moment.window, moment.message, moment.wParam, moment.lParam);
        EXPECT_TRUE(heldRowReads(kCtrlAlt1, kMomentMs)) << moment.name;
        // Taken from Quorvel again for the next one: paused, held here, unpaused.
        ::PostMessageW(mainWindow_, WM_COMMAND, kTrayMenuPause, 0);
        ASSERT_TRUE(WaitUntil(
            [&] { return ::RegisterHotKey(nullptr, kHeld, MOD_CONTROL | MOD_ALT, '1') != FALSE; },
            5000));
        ::PostMessageW(mainWindow_, WM_COMMAND, kTrayMenuPause, 0);
        ASSERT_TRUE(heldRowReads(inUse, kMomentMs)) << moment.name;
    }
    ::UnregisterHotKey(nullptr, kHeld);
    quorvel_->Close();
}

TEST_F(TaskRoadTest, AnOkThatCannotSaveAddsNoRowAndTheNextOneAddsItOnce) {
    const Task witness{kRunSelectedProgram, kCtrlAltD, Program("witness"), L"Normal", true};
    ASSERT_NO_FATAL_FAILURE(StartProgram({witness}));
    const HWND editor = OpenEditor(L"&Add");
    ASSERT_NE(editor, nullptr);
    const fs::path file = Data() / "actions.cfg";
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));

    const EditorInput input{'J', kRunSelectedProgram, Program("road"), L"Normal"};
    ASSERT_NO_FATAL_FAILURE(FillEditor(editor, input));
    RECT okButton{};
    ::GetWindowRect(::FindWindowExW(editor, nullptr, WC_BUTTONW, L"&OK"), &okButton);
    for (int ok = 0; ok < 3; ++ok) {
        // Clicked, OK takes the focus from the hotkey field.
        ClickAt({(okButton.left + okButton.right) / 2, (okButton.top + okButton.bottom) / 2});
        const HWND box = MessageBoxShown();
        ASSERT_NE(box, nullptr) << "no box for the failed save";
        EXPECT_NE(BoxText(box).find(file.wstring()), std::wstring::npos)
            << fs::path(BoxText(box)).string();
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); })) << "the box did not close";
        EXPECT_TRUE(::IsWindowVisible(editor)) << "the editor closed on a failed OK";
    }
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'J')) << "a row that is not there took it";
    EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'D'); }, kRetryPeriodMs))
        << "the hotkey field's hold outlived the failed OK";

    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(StoredTasks(), std::vector<Task>{witness});
    ASSERT_NO_FATAL_FAILURE(ConfirmEditor(editor, input));
    const Task added{kRunSelectedProgram, L"Control+Alt+J", Program("road"), L"Normal", true};
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{witness, added}));
    PressTogether({VK_CONTROL, VK_MENU, 'J'});
    EXPECT_TRUE(WaitUntil([&] { return RanIn("road"); }, kRunTimeoutMs)) << "no run on Ctrl+Alt+J";
    quorvel_->Close();
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{witness, added}));
}

// A double click edits the row. While the hotkey field has the focus Quorvel's hotkeys are free
// for other programs, a pause and its end from the tray take none, and the close box gives
// them back.
TEST_F(TaskRoadTest, ADoubleClickEditsTheRowAndTheHotKeyFieldHoldsTheHotKeysBackUntilItCloses) {
    const Task witness{kRunSelectedProgram, kCtrlAltD, Program("witness"), L"Normal", true};
    ASSERT_NO_FATAL_FAILURE(StartProgram({witness}));
    ClickCell(0, kShownDescColumn, 2);
    const HWND editor = ShownEditor();
    ASSERT_NE(editor, nullptr) << "the double click opened no editor";
    const EditorControls controls(editor);
    EXPECT_EQ(WindowText(controls.DestinationBox()), witness.dest);
    ASSERT_TRUE(WaitUntil([&] { return InFront(editor, controls.hotKeyField); }, 5000));
    EXPECT_TRUE(WaitUntil([] { return !HotKeyTaken(MOD_CONTROL | MOD_ALT, 'D'); }, 5000));
    ::PostMessageW(mainWindow_, WM_COMMAND, kTrayMenuPause, 0);  // paused
    ::PostMessageW(mainWindow_, WM_COMMAND, kTrayMenuPause, 0);  // and on again
    EXPECT_FALSE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'D'); }, kQuietMs))
        << "taken while the hotkey field has the focus";
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); }));
    EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'D'); }, kRetryPeriodMs));
    quorvel_->Close();
}

// A file held open over the start is read once it is let go. One held for longer is reported,
// no command changes the list, an exit leaves the file whole, and once it is let go an
// activation of the window reads it.
TEST_F(TaskRoadTest, ATaskFileHeldByAnotherProgramIsReadWhenLetGoAndNeverReplaced) {
    const Task task{kRunSelectedProgram, kCtrlAltK, Program("road"), L"Normal", true};
    const fs::path file = Data() / "actions.cfg";
    WriteFile(file, ActionsFile({task}));
    {
        HeldFile held(file);
        held.LetGoAfter(1000);
        ASSERT_NO_FATAL_FAILURE(StartQuorvel());  // shown: a first start
    }
    EXPECT_EQ(MessageBoxShown(kQuietMs), nullptr);
    PressTogether({VK_CONTROL, VK_MENU, 'K'});
    EXPECT_TRUE(WaitUntil([&] { return RanIn("road"); }, kRunTimeoutMs)) << "no run on Ctrl+Alt+K";
    quorvel_->Close();

    for (const bool letGo : {false, true}) {
        SCOPED_TRACE(letGo ? "let go while it runs" : "held to the end");
        HeldFile held(file);
        ASSERT_NO_FATAL_FAILURE(StartQuorvel());
        const HWND note = MessageBoxShown();
        ASSERT_NE(note, nullptr) << "no word of the unreadable file";
        EXPECT_NE(BoxText(note).find(L'"' + file.wstring() +
                                     L"\" cannot be read. The file is in "
                                     L"use by another program."),
                  std::wstring::npos)
            << fs::path(BoxText(note)).string();
        ::PostMessageW(note, WM_COMMAND, IDOK, 0);
        ::PostMessageW(mainWindow_, kTrayIconMessage, 1, WM_LBUTTONDOWN);
        ASSERT_NO_FATAL_FAILURE(FindGrid());
        EXPECT_EQ(::SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0), 0);
        if (letGo) {
            held.LetGo();
            // Shown from the tray: the window is activated again.
            ::PostMessageW(mainWindow_, kTrayIconMessage, 1, WM_LBUTTONDOWN);
            EXPECT_TRUE(
                WaitUntil([&] { return ::SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0) == 1; }));
            EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'K'); }, 5000));
            quorvel_->Close();
            break;
        }
        PostClick(mainWindow_, L"&Add");
        const HWND refusal = MessageBoxShown();
        ASSERT_NE(refusal, nullptr) << "Add said nothing";
        EXPECT_NE(BoxText(refusal).find(L"cannot be read"), std::wstring::npos);
        ::PostMessageW(refusal, WM_COMMAND, IDOK, 0);
        ::PostMessageW(mainWindow_, WM_COMMAND, kTrayMenuExit, 0);
        EXPECT_EQ(quorvel_->WaitForExit(), std::optional<DWORD>(0)) << "Exit asked something";
        held.LetGo();
        EXPECT_EQ(FileText(file), ActionsFile({task}));
        EXPECT_FALSE(fs::exists(Data() / "actions.cfg.bak"));
    }
    EXPECT_EQ(StoredTasks(), std::vector<Task>{task});
}

// A row another program appends while Quorvel runs is kept in a backup when an OK writes the
// file, and the balloon says where. A file another program cuts short is written again at the
// exit, its cut version kept too.
TEST_F(TaskRoadTest, ARowAnotherProgramAppendsIsKeptWhenAnOkWritesTheFile) {
    const Task witness{kRunSelectedProgram, kCtrlAltD, Program("witness"), L"Normal", true};
    const Task appended{L"Run Calc", kCtrlAltQ, L"", L"Hide", true};
    ASSERT_NO_FATAL_FAILURE(StartProgram({witness}));
    const HWND editor = OpenEditor(L"&Add");
    ASSERT_NE(editor, nullptr);
    WriteFile(Data() / "actions.cfg", ActionsFile({witness, appended}));
    ASSERT_NO_FATAL_FAILURE(
        ConfirmEditor(editor, {'J', kRunSelectedProgram, Program("road"), L"Normal"}));
    const Task added{kRunSelectedProgram, L"Control+Alt+J", Program("road"), L"Normal", true};
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{witness, added}));
    const fs::path backup = Data() / "actions.cfg.bak";
    EXPECT_EQ(FileText(backup), ActionsFile({witness, appended}));
    const auto saysWhere = [&] {
        for (const std::wstring& text : BalloonTexts()) {
            if (text.find(L'"' + backup.wstring() + L'"') != std::wstring::npos) return true;
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(saysWhere, 5000));
    const std::string whole = FileText(Data() / "actions.cfg");
    const std::string cut = whole.substr(0, whole.size() - 6);  // mid-record
    WriteFile(Data() / "actions.cfg", cut);
    quorvel_->Close();
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{witness, added}));
    EXPECT_EQ(FileText(Data() / "actions.cfg.bak2"), cut);
}

TEST_F(TaskRoadTest, AnOpenEditorComesForwardWhenQuorvelIsCalledUp) {
    ASSERT_NO_FATAL_FAILURE(StartProgram({}));
    const HWND editor = OpenEditor(L"&Add");
    ASSERT_NE(editor, nullptr);
    const UniqueWindow otherProgram(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0,
                                                      0, 50, 50, nullptr, nullptr, nullptr,
                                                      nullptr));
    const auto fromOtherProgram = [&](const char* how, const std::function<void()>& callUp) {
        ::SetForegroundWindow(otherProgram.get());
        ASSERT_TRUE(WaitUntil([&] { return InFront(otherProgram.get()); }, 5000)) << how;
        callUp();
        EXPECT_TRUE(WaitUntil([&] { return InFront(editor); }, 8000)) << how;
        // Not for a moment only: the main window comes up behind the editor.
        EXPECT_FALSE(WaitUntil([&] { return !InFront(editor); }, kQuietMs)) << how;
        EXPECT_TRUE(::IsWindowVisible(mainWindow_)) << how;
    };
    fromOtherProgram("tray click",
                     [&] { ::PostMessageW(mainWindow_, kTrayIconMessage, 1, WM_LBUTTONDOWN); });
    fromOtherProgram("second start", [&] {
        const Quorvel second(Executable());
        EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
    });
    PostClick(editor, L"&Close");
    EXPECT_TRUE(WaitUntil([&] { return InFront(mainWindow_); }, 5000));
    quorvel_->Close();
}

// Every road that shows the main window, in every state it was saved in: the window shows
// whole, its controls made and laid out for its size, its rows readable. A start in the tray
// makes no controls before the road.
TEST_F(TaskRoadTest, EveryRoadShowsTheWholeWindowInEverySavedState) {
    SetNotFirstStart();
    const auto minimise = [&] {
        ASSERT_NO_FATAL_FAILURE(FindGrid());
        ::PostMessageW(mainWindow_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(mainWindow_) != FALSE; }, 5000));
    };
    const auto trayClick = [&] {
        ::PostMessageW(mainWindow_, kTrayIconMessage, 1, WM_LBUTTONDOWN);
    };
    const struct {
        const char* road;
        bool shownAtStart;
        std::function<void()> show;
    } roads[] = {
        {"start", true, [] {}},
        {"restore from the taskbar", true,
         [&] {
             ASSERT_NO_FATAL_FAILURE(minimise());
             ::PostMessageW(mainWindow_, WM_SYSCOMMAND, SC_RESTORE, 0);
         }},
        {"tray click", false, trayClick},
        {"tray click on the window shown", true, trayClick},
        {"tray click on the window minimised", true,
         [&] {
             ASSERT_NO_FATAL_FAILURE(minimise());
             trayClick();
         }},
        {"Show Main Window", false,
         [&] { ::PostMessageW(mainWindow_, WM_COMMAND, kShowMainWindowItem, 0); }},
        {"balloon", false,
         [&] { ::PostMessageW(mainWindow_, kTrayIconMessage, 1, NIN_BALLOONUSERCLICK); }},
        {"second start", false,
         [&] { EXPECT_EQ(Quorvel(Executable()).WaitForExit(), std::optional<DWORD>(0)); }},
    };
    for (const char* state : {"0", "1", "2"}) {
        for (const auto& [road, shownAtStart, show] : roads) {
            SCOPED_TRACE(std::string(road) + ", saved state " + state);
            WriteFile(Data() / "settings.cnfg",
                      shownAtStart ? "-1\r\n0\r\n27\r\n104\r\n105\r\n211\r\n" : kDefaultSettings);
            WriteFile(Data() / "w_size.cnfg", "640\r\n480\r\n"s + state + "\r\n30\r\n30\r\n");
            ASSERT_NO_FATAL_FAILURE(StartProgram({{L"Run Calc", L"", L"", L"Normal"}}));
            if (!shownAtStart) {
                EXPECT_EQ(::GetWindow(mainWindow_, GW_CHILD), nullptr);
            }
            ASSERT_NO_FATAL_FAILURE(show());
            const bool maximized = state == "2"s;
            EXPECT_TRUE(WaitUntil(
                [&] {
                    return ::IsWindowVisible(mainWindow_) && !::IsIconic(mainWindow_) &&
                           (::IsZoomed(mainWindow_) != FALSE) == maximized && PagesFillWindow();
                },
                8000))
                << "zoomed " << ::IsZoomed(mainWindow_);
            ASSERT_NO_FATAL_FAILURE(FindGrid());
            EXPECT_EQ(CellText(0, kShownDescColumn), L"Run Calc");
            for (const wchar_t* button :
                 {L"&Add", L"&Edit", L"&Delete", L"Delete A&ll", L"Move do&wn", L"Move &up",
                  L"Always start in system &tray only"}) {
                EXPECT_NE(::FindWindowExW(mainWindow_, nullptr, WC_BUTTONW, button), nullptr)
                    << fs::path(button).string();
            }
            quorvel_->Close();
        }
    }
}

// The widths come back as saved, a width no column can show gives the column's default, and
// Destination changes only with the user's resize of the window: then the columns fit the grid
// beside its scroll bar, and stay so as the scroll bar goes.
TEST_F(TaskRoadTest, ColumnWidthsComeBackAsSavedAndDestinationFollowsOnlyTheUsersResize) {
    const auto widths = [&] {
        std::vector<int> shown;
        for (const int column : {0, kShownDescColumn, kShownHotKeyColumn, kShownDestColumn}) {
            shown.push_back(static_cast<int>(::SendMessageW(grid_, LVM_GETCOLUMNWIDTH, column, 0)));
        }
        return shown;
    };
    WriteFile(Data() / "settings.cnfg", "-1\r\n0\r\n27\r\n-100000\r\n0\r\n300\r\n");
    ASSERT_NO_FATAL_FAILURE(
        StartProgram(std::vector<Task>(20, {L"Run Calc", L"", L"", L"Normal"})));
    EXPECT_EQ(widths(), (std::vector<int>{27, 104, 105, 300}));
    quorvel_->Close();
    EXPECT_EQ(FileText(Data() / "settings.cnfg"), "-1\r\n0\r\n27\r\n104\r\n105\r\n300\r\n");

    ASSERT_NO_FATAL_FAILURE(
        StartProgram(std::vector<Task>(20, {L"Run Calc", L"", L"", L"Normal"})));
    const auto style = [&] { return ::GetWindowLongPtrW(grid_, GWL_STYLE); };
    const auto fits = [&] {
        RECT client{};
        ::GetClientRect(grid_, &client);
        const RECT enabled = CellRect(0, kShownEnabledColumn);
        return enabled.left >= client.left && enabled.right == client.right &&
               (style() & WS_HSCROLL) == 0;
    };
    EXPECT_TRUE(style() & WS_VSCROLL) << "20 rows need the vertical scroll bar";
    RECT window{};
    ::GetWindowRect(mainWindow_, &window);
    int wide = 0;
    for (const int grown : {120, 0}) {
        ::SetWindowPos(mainWindow_, nullptr, 0, 0, window.right - window.left + grown,
                       window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(
            WaitUntil([&] { return fits() && (grown != 0 || widths()[3] == wide - 120); }, 5000))
            << grown << ": Destination " << widths()[3];
        wide = widths()[3];
    }
    PostClick(mainWindow_, L"Delete A&ll");
    EXPECT_TRUE(WaitUntil([&] { return (style() & WS_VSCROLL) == 0; }, 5000));
    const int withoutScrollBar = widths()[3];
    EXPECT_EQ(withoutScrollBar, wide + ::GetSystemMetrics(SM_CXVSCROLL));
    quorvel_->Close();
    EXPECT_EQ(FileText(Data() / "settings.cnfg"),
              "-1\r\n0\r\n27\r\n104\r\n105\r\n" + std::to_string(withoutScrollBar) + "\r\n");
}

// Task files from other tools or damaged, each started with and exited from: the file as it
// was stays in a backup beside it, text reaches the grid as written, a damaged file is
// reported at start, and a damaged task's hotkey stays free for others. A file read whole is
// written at the exit as the writer writes its tasks, with the pictures numbered, and the
// next start finds nothing more to keep.
TEST_F(TaskRoadTest, ForeignAndDamagedTaskFilesAreKeptAndReadAsWritten) {
    SetNotFirstStart();
    const std::wstring first = L"1,Run Calc,Control+Alt+K,,Normal,0,True";
    const std::wstring webSite = L"https://example.org/s\u00f8k?q=\u65e5\u672c";
    const std::string webSiteUtf8 = "https://example.org/s\xC3\xB8k?q=\xE6\x97\xA5\xE6\x9C\xAC";
    const std::string utf8 = "1,Open Web Site,Control+Alt+W," + webSiteUtf8 + ",Normal,0,True\r\n";
    const std::wstring utf8Written =
        L"1,Open Web Site,Control+Alt+W," + webSite + L",Normal,0,True\r\n";
    const std::wstring notepad = L",Run Notepad,Control+Alt+N,,Normal,";
    struct File {
        const char* what;
        std::string bytes;
        int rows;
        // What the exit writes of a file read whole; a damaged file's Control+Alt+L task is
        // the damaged one.
        std::optional<std::wstring> written;
    };
    const File files[] = {
        {"CR line ends",
         Utf16Bytes(L"\xFEFF" + first + L"\r2" + notepad + L"0,False\r" +
                    L"3,Clear Clipboard,Control+Alt+M,,Hide,0,True\r"),
         3,
         first + L"\r\n2" + notepad +
             L"1,False\r\n3,Clear Clipboard,Control+Alt+M,,Hide,0,True\r\n"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, 1, utf8Written},
        {"UTF-8", utf8, 1, utf8Written},
        {"rows out of order",
         Utf16Bytes(L"\xFEFF"
                    L"9,Run Calc,Control+Alt+K,,Normal,4,True\r\n5" +
                    notepad + L"4,True\r\n2,Run Command Promt,Control+Alt+M,,Hide,4,True\r\n"),
         3,
         first + L"\r\n2" + notepad +
             L"1,True\r\n3,Run Command Promt,Control+Alt+M,,Hide,2,True\r\n"},
        {"TRUE and 1",
         Utf16Bytes(L"\xFEFF"
                    L"1,Run Calc,Control+Alt+K,,Normal,0,TRUE\r\n2" +
                    notepad + L"1,1\r\n"),
         2, first + L"\r\n2" + notepad + L"1,True\r\n"},
        {"empty fields beyond the last", Utf16Bytes(L"\xFEFF" + first + L",,\r\n"), 1,
         first + L"\r\n"},
        {"Enabled missing",
         Utf16Bytes(L"\xFEFF" + first + L"\r\n2,Run Calc,Control+Alt+L,,Normal,0\r\n"), 2,
         first + L"\r\n2,Run Calc,Control+Alt+L,,Normal,1,True\r\n"},
        {"empty", "", 0, L""},
        {"cut mid-record",
         Utf16Bytes(L"\xFEFF" + first + L"\r\n2," + kRunSelectedProgram +
                    L",Control+Alt+L,C:\\Tools\\app.e"),
         2, std::nullopt},
        {"picture no number",
         Utf16Bytes(L"\xFEFF" + first + L"\r\n2,Run Calc,Control+Alt+L,,Normal,x,True\r\n" +
                    L"3,Run Notepad,Control+Alt+N,,Normal,0,True\r\n"),
         2, std::nullopt},
        {"UTF-16 without its mark", Utf16Bytes(first + L"\r\n"), 1, std::nullopt},
    };
    const fs::path backup = Data() / "actions.cfg.bak";
    for (const File& file : files) {
        SCOPED_TRACE(file.what);
        fs::remove(backup);
        ASSERT_NO_FATAL_FAILURE(StartProgramOn(file.bytes));
        if (!file.written) {
            const HWND box = MessageBoxShown();
            ASSERT_NE(box, nullptr) << "no word of the damage";
            const std::wstring note = BoxText(box);
            EXPECT_NE(note.find(L'"' + backup.wstring() + L'"'), std::wstring::npos)
                << fs::path(note).string();
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'L')) << "a damaged task took it";
        } else {
            EXPECT_EQ(MessageBoxShown(kQuietMs), nullptr) << "a box for a file in another form";
        }
        ::PostMessageW(mainWindow_, kTrayIconMessage, 1, WM_LBUTTONDOWN);
        ASSERT_NO_FATAL_FAILURE(FindGrid());
        EXPECT_EQ(::SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0), file.rows);
        if (file.bytes.find(webSiteUtf8) != std::string::npos) {
            EXPECT_EQ(CellText(0, kShownDestColumn), webSite);
        } else if (file.rows == 3) {
            EXPECT_EQ(CellText(2, kShownHotKeyColumn), L"Control+Alt+M");
        }
        quorvel_->Close();
        EXPECT_EQ(FileText(backup), file.bytes);
        if (!file.written) continue;
        EXPECT_EQ(FileText(Data() / "actions.cfg"), Utf16Bytes(L"\xFEFF" + *file.written));
        ASSERT_NO_FATAL_FAILURE(StartQuorvel());
        quorvel_->Close();
        EXPECT_FALSE(fs::exists(Data() / "actions.cfg.bak2"));
        EXPECT_EQ(FileText(Data() / "actions.cfg"), Utf16Bytes(L"\xFEFF" + *file.written));
    }
}

// A user without a mouse: the tabs, the grid's Space and Enter, the editor's hotkey field left
// with Shift+Tab, and the access keys.
TEST_F(TaskRoadTest, EveryCommandFromTheKeyboard) {
    const Task first{kRunSelectedProgram, kCtrlAltK, Program("road"), L"Normal", true};
    const Task second{kRunSelectedProgram, kCtrlAltL, Program("off"), L"Hide", true};
    ASSERT_NO_FATAL_FAILURE(StartProgram({first, second}));
    ::SetForegroundWindow(mainWindow_);
    ASSERT_TRUE(WaitUntil([&] { return InFront(mainWindow_); }, 5000));
    const HWND tabs = ::FindWindowExW(mainWindow_, nullptr, WC_TABCONTROLW, nullptr);
    const HWND save = ::FindWindowExW(mainWindow_, nullptr, WC_BUTTONW, L"&Save");
    const auto focus = [&] { return GuiThread().hwndFocus; };

    // Ctrl+Tab to the options and back leaves the keyboard on the tabs; Tab goes on to the
    // grid, which shows a row as focused.
    PressTogether({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(save) && focus() == tabs; }, 5000));
    PressTogether({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(
        WaitUntil([&] { return ::IsWindowVisible(grid_) && !::IsWindowVisible(save); }, 5000));
    PressTogether({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return focus() == grid_; }, 5000));
    EXPECT_EQ(::SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);

    // Space switches the first task off, as a click on its box: saved, and its hotkey free.
    // Held down until it repeats, it switches once.
    PressTogether({VK_SPACE, VK_SPACE});
    Task off = first;
    off.enabled = false;
    EXPECT_TRUE(WaitUntil([&] { return StoredTasks() == std::vector<Task>{off, second}; }, 5000));
    EXPECT_TRUE(WaitUntil([] { return !HotKeyTaken(MOD_CONTROL | MOD_ALT, 'K'); }, 5000));
    EXPECT_EQ(CellText(0, kShownEnabledColumn), L"Disabled");
    PressTogether({VK_SPACE});
    EXPECT_TRUE(WaitUntil([&] { return StoredTasks() == std::vector<Task>{first, second}; }));
    EXPECT_TRUE(WaitUntil([] { return HotKeyTaken(MOD_CONTROL | MOD_ALT, 'K'); }, 5000));
    EXPECT_EQ(CellText(0, kShownEnabledColumn), L"Enabled");

    // Enter edits the row. Shift+Tab out of the hotkey field keeps the hotkey typed, and
    // leaves no Shift behind for the next one typed there.
    PressTogether({VK_RETURN});
    const HWND editor = ShownEditor();
    ASSERT_NE(editor, nullptr) << "Enter opened no editor";
    const EditorControls controls(editor);
    EXPECT_EQ(WindowText(controls.DestinationBox()), first.dest);
    const HWND ok = ::FindWindowExW(editor, nullptr, WC_BUTTONW, L"&OK");
    const auto field = [&] {
        return LOWORD(::SendMessageW(controls.hotKeyField, HKM_GETHOTKEY, 0, 0));
    };
    constexpr WORD kFieldCtrlAltN = MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_ALT);
    ASSERT_TRUE(WaitUntil([&] { return InFront(editor, controls.hotKeyField); }, 5000));
    // In the field, Alt and a letter is a hotkey, not the access key of "Close".
    PressTogether({VK_MENU, 'C'});
    EXPECT_TRUE(WaitUntil([&] { return field() == MAKEWORD('C', HOTKEYF_ALT); }, 5000));
    EXPECT_TRUE(::IsWindowVisible(editor));
    for (int typed = 0; typed < 2; ++typed) {
        PressTogether({VK_CONTROL, VK_MENU, 'N'});
        EXPECT_TRUE(WaitUntil([&] { return field() == kFieldCtrlAltN; }, 5000)) << field();
        PressTogether({VK_SHIFT, VK_TAB});
        ASSERT_TRUE(WaitUntil([&] { return focus() == ok; }, 5000));
        EXPECT_EQ(field(), kFieldCtrlAltN);
        if (typed == 0) PressTogether({VK_TAB});
    }
    PressTogether({VK_MENU, 'O'});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); })) << "Alt+O pressed no OK";
    Task edited = first;
    edited.hotKeyText = kCtrlAltN;
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{edited, second}));

    // Edit by its access key opens the editor on the selected row, and on none opens nothing.
    ASSERT_TRUE(WaitUntil([&] { return InFront(mainWindow_, grid_); }, 5000));
    PressTogether({VK_MENU, 'E'});
    ASSERT_EQ(ShownEditor(), editor) << "Alt+E opened no editor";
    ASSERT_TRUE(WaitUntil([&] { return InFront(editor, controls.hotKeyField); }, 5000));
    PressTogether({VK_TAB});  // out of the hotkey field, where Alt+C is a hotkey
    PressTogether({VK_MENU, 'C'});
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(editor); })) << "Alt+C closed nothing";
    ASSERT_TRUE(WaitUntil([&] { return InFront(mainWindow_); }, 5000));
    ASSERT_NO_FATAL_FAILURE(SelectRow(-1));
    PressTogether({VK_MENU, 'E'});
    EXPECT_EQ(ShownEditor(kQuietMs), nullptr) << "Edit without a row opened the editor";
    quorvel_->Close();
    EXPECT_EQ(StoredTasks(), (std::vector<Task>{edited, second}));
}

TEST_F(TaskRoadTest, EveryTabStopHasANameAndEveryWindowItsOwnAccessKeys) {
    ASSERT_NO_FATAL_FAILURE(StartProgram({{L"Run Calc", kCtrlAltK, L"", L"Normal"}}));
    {
        SCOPED_TRACE("main window");
        ExpectNamedWithOwnAccessKeys(mainWindow_);
    }
    const HWND editor = OpenEditor(L"&Add");
    ASSERT_NE(editor, nullptr);
    {
        SCOPED_TRACE("editor");
        ExpectNamedWithOwnAccessKeys(editor);
    }
    PostClick(editor, L"&Close");
    ASSERT_TRUE(WaitUntil([&] { return InFront(mainWindow_); }, 5000));

    // Help > About... by its access keys; in About, Tab reaches both links from OK.
    PressTogether({VK_MENU, 'H'});
    PressTogether({'A'});
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        const auto abouts = TopLevelWindows(quorvel_->Id(), L"QuorvelTessalyAboutBox");
        about = abouts.empty() ? nullptr : abouts.front();
        return about != nullptr && InFront(about);
    })) << "Alt+H, A opened no About";
    {
        SCOPED_TRACE("About");
        ExpectNamedWithOwnAccessKeys(about);
    }
    EXPECT_FALSE(WindowText(::GetWindow(about, GW_CHILD)).empty()) << "the picture has no name";
    for (const wchar_t* link :
         {L"click here to visit our website", L"click here to send feedback"}) {
        PressTogether({VK_TAB});
        EXPECT_TRUE(WaitUntil([&] { return WindowText(GuiThread().hwndFocus) == link; }, 5000))
            << fs::path(link).string();
    }
    PressTogether({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); })) << "About stayed open";
    quorvel_->Close();
}

}  // namespace
}  // namespace quorvel
