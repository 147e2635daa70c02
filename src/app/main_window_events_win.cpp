// MainWindow's event handlers and the window side of the settings.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "about/about_dialog_win.h"
#include "app/main_window_win.h"
#include "app/start_counter.h"
#include "common/error.h"
#include "common/win/error_box_win.h"

namespace quorvel {

namespace {

// Where a window of that size shows: at the place given when a monitor shows any of it, else
// within the work area of the monitor nearest to it (a place saved on a monitor that has gone,
// or the far-off place of a minimised window).
POINT OnSomeMonitor(LONG left, LONG top, LONG width, LONG height) {
    const RECT bounds{left, top, left + width, top + height};
    if (::MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL) != nullptr) return {left, top};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    return {std::clamp(left, area.left, std::max(area.left, area.right - width)),
            std::clamp(top, area.top, std::max(area.top, area.bottom - height))};
}

}  // namespace

void MainWindow::OnCreate() {
    startCounter_ = u"0";
    ShowHotKeysInTray();
    tray_->Add();  // without a taskbar yet, TaskbarCreated brings the icon later
    startCounter_ = CountStart(registry_);
    if (startCounter_ == u"1") MakeVisible();
    LoadSettings();
    SaveSettings();
}

void MainWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    // The focus first: a box that OnActivated opens then finds it where it belongs.
    focus_.OnActivate(Handle(), wParam);
    const HWND other = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) == WA_INACTIVE) {
        // Not for a message box: one that reports a failed save would save again.
        if (IsProgramDialog(other)) OnDeactivated();
        return;
    }
    RetryHotKeys();
    // The window becomes the program's active window: shown anew, or back from the editor or
    // the About box; not when the user returns from another program or closes a message box.
    if (!::IsWindowVisible(Handle())) return;
    if (session_.RetryUnreadableTaskFile()) ReportDamagedTaskFile();
    const bool firstSinceShown = !activatedSinceShown_;
    activatedSinceShown_ = true;
    // Shown at the start-up, whose OnCreate loaded the settings: the activation only counts.
    if (startingUp_) return;
    if (firstSinceShown || IsProgramDialog(other)) OnActivated();
}

bool MainWindow::IsProgramDialog(HWND window) const {
    return window != nullptr &&
           (window == editorWindow_ || (about_ != nullptr && window == about_->Handle()));
}

// A failure goes to the error box. Closing that box activates the window again but loads
// nothing (a message box is neither the editor nor About), so it is reported once.
void MainWindow::OnActivated() { LoadSettings(); }

void MainWindow::OnDeactivated() { session_.SaveTaskFile(); }

void MainWindow::CloseRequested() {
    if (!MayClose()) return;
    OnClosing();
    ::ShowWindow(Handle(), SW_HIDE);
    QuitPressesAndLoop();
}

// The close query has settled the task list: saved, or its changes let go.
void MainWindow::OnClosing() {
    tray_->Delete();
    SaveSettings();
}

// Reached without an exit only when the message loop ends some other way.
void MainWindow::OnDestroying() {
    if (!exitSettled_) session_.SaveTaskFile();
    SaveSettings();
}

// Every road out comes here: the tray's Exit and a close request through the close query,
// File > Exit directly. The answer holds for the rest of the way out.
bool MainWindow::MayExit() {
    if (!exitSettled_) exitSettled_ = TaskListSavedOrLetGo();
    return exitSettled_;
}

// The task list saved, or the user's word that the changes since its last save may go. No
// keeps the program running with the table as it is.
bool MainWindow::TaskListSavedOrLetGo() {
    try {
        session_.SaveTaskFileBeforeExit();
        return true;
    } catch (const Error& e) {
        const std::u16string question =
            ErrorBoxText(e.Message()) +
            u"\n\nExit anyway? The changes since the task list was last saved will be lost.";
        return ShowMessageBox(Handle(), question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
               IDYES;
    }
}

// Windows ends the process after this, without destroying its windows, and there is nobody
// to ask: the save is tried, and a failed one leaves the last good file whole.
void MainWindow::EndSession() {
    session_.EndPresses();
    session_.SaveTaskFile();  // a failed save leaves the last saved file whole
    SaveSettings();
}

void MainWindow::OnTrayExit() {
    SaveSettings();
    CloseRequested();
}

void MainWindow::OnMenuExit() {
    SaveSettings();
    if (!MayExit()) return;
    tray_->Delete();
    QuitPressesAndLoop();
}

// An Exit chosen while a press's box is open ends that press too: nothing of it runs after the
// box, and the loop ends once the box is closed.
void MainWindow::QuitPressesAndLoop() {
    session_.EndPresses();
    ::PostQuitMessage(0);
}

void MainWindow::ReportDamagedTaskFile() {
    taskFileNote_ = DamagedTaskFileNote(session_.TaskFileRead(), session_.Tasks().RowCount());
    if (!taskFileNote_.empty()) ::PostMessageW(Handle(), kShowTaskFileNote, 0, 0);
}

void MainWindow::ShowTaskFileNote() {
    ShowMessageBox(Handle(), std::exchange(taskFileNote_, {}), MB_OK | MB_ICONWARNING);
}

void MainWindow::OnAbout() {
    if (about_ != nullptr) about_->ShowModal(Handle());
}

void MainWindow::OnShowMainWindow() {
    RetryHotKeys();
    MakeVisible();
}

void MainWindow::OnSaveClicked() { SaveSettings(); }

void MainWindow::OnGridClicked() { session_.SaveTaskFile(); }

void MainWindow::OnTrayIcon(LPARAM mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            ShowFromTray();
            break;
        case WM_RBUTTONDOWN: {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            ShowTrayMenuAt(cursor);
            break;
        }
        case NIN_BALLOONUSERCLICK:  // the start-up balloon about hotkeys that do not work
            ShowFromTray();
            break;
        default:
            break;
    }
}

// The window normal, in front, at the size w_size.cnfg gives. A hidden window takes the size
// before it shows (maximised when the file says so), and lays out and paints once.
void MainWindow::ShowFromTray() {
    RetryHotKeys();
    // Shown and active already, the window is not activated anew: what an activation tries
    // again is tried here.
    if (::IsWindowVisible(Handle()) && session_.RetryUnreadableTaskFile()) ReportDamagedTaskFile();
    // Back from minimised or maximised (also while hidden), so that the size read is the normal
    // one.
    if (::IsIconic(Handle()) || ::IsZoomed(Handle())) ShowItself(SW_RESTORE);
    maximizeWhenShown_ = false;
    try {
        LoadSettings(/*sizeAlone=*/true);
    } catch (const Error&) {
        MakeVisible();  // shown all the same, the file's fault in the error box
        throw;
    }
    MakeVisible();
    BringToFront();
}

// The user turns to Quorvel: a hotkey another program has given up since works now, and the
// grid says so. (While the editor's hotkey field holds the hotkeys back, none is missing.)
void MainWindow::RetryHotKeys() { session_.RetryMissingHotKeys(); }

void MainWindow::ShowTrayMenuAt(POINT point) {
    // A tray menu closes on a click elsewhere only when its owner is the foreground window,
    // and it needs a message afterwards to close properly the next time.
    ::SetForegroundWindow(Handle());
    const int command =
        ::TrackPopupMenu(TrayMenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x,
                         point.y, /*nReserved=*/0, Handle(), /*prcRect=*/nullptr);
    if (command != 0) OnCommand(command);
    ::PostMessageW(Handle(), WM_NULL, 0, 0);
    // The menu made this window the foreground one, behind a dialog that may be open.
    BringOpenDialogForward();
}

void MainWindow::BringForward() {
    MakeVisible();
    if (::IsIconic(Handle())) ShowItself(SW_RESTORE);
    BringToFront();
}

void MainWindow::BringToFront() {
    if (OpenDialog() == nullptr) {
        ::SetForegroundWindow(Handle());
        return;
    }
    // Above other programs' windows too, so that the dialog's closing gives it the activation.
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BringOpenDialogForward();
}

// While the editor or About is open this window takes no input: the dialog is what the user
// must get to.
bool MainWindow::BringOpenDialogForward() {
    const HWND dialog = OpenDialog();
    if (dialog == nullptr) return false;
    if (::IsIconic(dialog)) ::ShowWindow(dialog, SW_RESTORE);
    ::SetForegroundWindow(dialog);
    return true;
}

// About first: the tray menu opens it over the editor too.
HWND MainWindow::OpenDialog() const {
    if (about_ != nullptr && about_->Handle() != nullptr) return about_->Handle();
    return editorWindow_ != nullptr && ::IsWindowVisible(editorWindow_) ? editorWindow_ : nullptr;
}

SettingsLimits MainWindow::Limits() const {
    SettingsLimits limits{MinimumSize(), DefaultSize(), TaskGrid::kSmallestUsefulWidth,
                          dpi_.Unscale(::GetSystemMetrics(SM_CXVIRTUALSCREEN))};
    for (std::size_t i = 0; i < Settings::kStoredWidths.size(); ++i) {
        limits.designedWidths[i] = TaskGrid::DesignedWidth(Settings::kStoredWidths[i]);
    }
    return limits;
}

// Before the controls are made, the options and widths are the ones kept for them.
Settings MainWindow::ShownSettings() const {
    Settings settings = kept_;
    if (grid_) {
        settings.autostart = Button_GetCheck(autostartBox_) == BST_CHECKED;
        settings.trayOnly = Button_GetCheck(trayOnlyBox_) == BST_CHECKED;
        for (std::size_t i = 0; i < Settings::kStoredWidths.size(); ++i) {
            settings.columnWidths[i] = grid_->ColumnWidth(Settings::kStoredWidths[i]);
        }
    }
    const RECT bounds = Bounds();
    settings.place = {bounds.left, bounds.top};
    settings.size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    settings.state = WindowState();
    return settings;
}

// The options and widths, and what differs of the window's size, state and place.
void MainWindow::ShowSettings(const Settings& settings) {
    const Settings shown = ShownSettings();
    kept_ = settings;
    ShowKeptOptions();
    if (settings.size != shown.size) ResizeItself(settings.size);
    if (settings.state == Settings::State::Maximized && shown.state != settings.state) Maximize();
    if (settings.place != shown.place) MoveTo(settings.place);
}

// Destination at its designed width is no width the user chose: it takes up what the window
// leaves, at every activation as at the first showing.
void MainWindow::ShowKeptOptions() {
    if (!grid_) return;
    Button_SetCheck(autostartBox_, kept_.autostart ? BST_CHECKED : BST_UNCHECKED);
    Button_SetCheck(trayOnlyBox_, kept_.trayOnly ? BST_CHECKED : BST_UNCHECKED);
    for (std::size_t i = 0; i < Settings::kStoredWidths.size(); ++i) {
        const Column column = Settings::kStoredWidths[i];
        if (column == kDestColumn && kept_.columnWidths[i] == TaskGrid::DesignedWidth(column)) {
            grid_->FitDestination();
        } else {
            grid_->SetColumnWidth(column, kept_.columnWidths[i]);
        }
    }
}

// What was read before a bad line shows all the same.
void MainWindow::LoadSettings(bool sizeAlone) {
    Settings settings = ShownSettings();
    try {
        if (!sizeAlone) LoadOptions(store_, Limits(), settings);
        if (!sizeAlone && !settings.trayOnly) MakeVisible();
        LoadWindowSize(store_, Limits(), settings, /*withPlace=*/!sizeAlone);
    } catch (const Error&) {
        ShowSettings(settings);
        throw;
    }
    ShowSettings(settings);
}

void MainWindow::SaveSettings() const { quorvel::SaveSettings(store_, ShownSettings()); }

// During the start-up the window waits for the hotkeys and the other windows.
void MainWindow::MakeVisible() {
    if (startingUp_) {
        showAfterStartUp_ = true;
    } else {
        Show();
    }
}

// Every road that shows the window comes here first: the controls are made before the window
// shows, whatever the show command (some send no WM_SHOWWINDOW).
void MainWindow::Show() {
    if (::IsWindowVisible(Handle())) return;
    const bool firstShowing = !grid_;
    MakeControls();
    ShowItself(maximizeWhenShown_ ? SW_SHOWMAXIMIZED : SW_SHOW);
    maximizeWhenShown_ = false;
    // Destination at its designed width is no width the user chose, and with the system's font
    // the other columns are wider than designed: it takes up what the window leaves.
    static_assert(Settings::kStoredWidths[3] == kDestColumn);
    if (firstShowing && kept_.columnWidths[3] == TaskGrid::DesignedWidth(kDestColumn)) {
        grid_->FitDestination();
    }
}

// The program shows or sizes the window on its own account: the grid's columns keep their
// widths. Every other change of size is the user's, and the Destination column follows it.
void MainWindow::ShowItself(int command) {
    const bool wasSizingItself = std::exchange(sizingItself_, true);
    ::ShowWindow(Handle(), command);
    sizingItself_ = wasSizingItself;
}

void MainWindow::ResizeItself(Settings::Size size) {
    const bool wasSizingItself = std::exchange(sizingItself_, true);
    ::SetWindowPos(Handle(), nullptr, 0, 0, size.width, size.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizingItself_ = wasSizingItself;
}

void MainWindow::FinishStartUp() {
    if (showAfterStartUp_) Show();
    startingUp_ = false;
}

RECT MainWindow::Bounds() const {
    // Minimised, the window is an icon far off the screen; it counts with the place it is
    // restored to.
    if (::IsIconic(Handle())) return RestoredBounds();
    RECT bounds{};
    ::GetWindowRect(Handle(), &bounds);
    return bounds;
}

RECT MainWindow::RestoredBounds() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(Handle(), &placement);
    // The placement counts from the work area's corner, which a taskbar on the left or at the
    // top moves away from the screen's.
    RECT bounds = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &monitor);
    ::OffsetRect(&bounds, monitor.rcWork.left - monitor.rcMonitor.left,
                 monitor.rcWork.top - monitor.rcMonitor.top);
    return bounds;
}

Settings::State MainWindow::WindowState() const {
    if (::IsZoomed(Handle()) || maximizeWhenShown_) return Settings::State::Maximized;
    if (::IsIconic(Handle())) return Settings::State::Minimized;
    return Settings::State::Normal;
}

void MainWindow::Maximize() {
    // Showing maximised would show a window that stays in the tray; it waits for its showing.
    if (::IsWindowVisible(Handle())) {
        ShowItself(SW_MAXIMIZE);
    } else {
        maximizeWhenShown_ = true;
    }
}

void MainWindow::MoveTo(Settings::Place wanted) {
    const RECT bounds = Bounds();
    const POINT place = OnSomeMonitor(wanted.left, wanted.top, bounds.right - bounds.left,
                                      bounds.bottom - bounds.top);
    const UINT activation = ::IsWindowVisible(Handle()) ? 0 : SWP_NOACTIVATE;
    ::SetWindowPos(Handle(), HWND_TOP, place.x, place.y, 0, 0, SWP_NOSIZE | activation);
}

}  // namespace quorvel
