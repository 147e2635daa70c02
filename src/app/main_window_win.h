#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/registry_win.h"
#include "app/settings.h"
#include "app/tab_page_brush_win.h"
#include "app/task_grid_win.h"
#include "app/tray_icon_win.h"
#include "common/file_system.h"
#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/window_win.h"
#include "editor/editor_dialog_win.h"
#include "hotkeys/hotkey_text.h"
#include "session/task_session_win.h"

namespace quorvel {

class AboutBox;

// The main window: the task grid with its buttons, the options, the main menu and the
// notification-area icon. Lives from start to end; closing it with its close box only hides it.
class MainWindow final : public Window {
  public:
    static constexpr wchar_t kWindowClass[] = L"QuorvelTessalyMainWindow";

    // Creates the window (hidden) and runs OnCreate. Its controls are made at its first
    // showing: a start in the tray never makes them. The grid shows the session's table and
    // pictures; `files` holds the settings. Both must outlive the window.
    MainWindow(HINSTANCE instance, FileSystem& files, TaskSessionWin& session);
    // Runs OnDestroying, then destroys the window.
    ~MainWindow();

    // The end of the program's start-up, once every window is made: the window shows when
    // OnCreate asked for it.
    void FinishStartUp();
    void RepaintGrid();
    // After the start-up registration: a balloon from the tray icon when enabled tasks'
    // hotkeys do not work.
    void ReportInactiveHotKeys();
    // The tray icon's picture and tip, and the menu's "Pause hotkeys", as the hotkeys are.
    void ShowHotKeysInTray();
    // After the start-up read: a box, once the message loop runs, when the task file could not
    // be read whole (which file, what was kept, where the copy is).
    void ReportDamagedTaskFile();
    // What makes the editor Add and Edit open, at the first of them: a tray start needs none.
    // Without it they open nothing; given none, the editor made is let go.
    void SetEditorMaker(std::function<TaskEditor&()> makeEditor) {
        makeEditor_ = std::move(makeEditor);
        editor_ = nullptr;
        editorWindow_ = nullptr;
    }
    void SetAboutBox(AboutBox* about) { about_ = about; }

  private:
    // Posted by ReportDamagedTaskFile.
    static constexpr UINT kShowTaskFileNote = WM_APP + 2;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The tabs' keys first, then the dialog navigation.
    bool TranslateKey(MSG& message) override;
    // Before the first showing: the controls, their font and pictures, and the settings they
    // show.
    void MakeControls();
    void CreateControls();
    void CreateMainMenu();
    // Made at its first use; "Pause hotkeys" checked as the hotkeys are.
    HMENU TrayMenu();
    void LayoutControls();
    int TextFitWidth(HWND control, int widthAt96, int extraAt96) const;
    void ShowPage(int page);
    void SelectPage(int page);
    bool SwitchPageByKey(const MSG& message);
    // Placed by LayoutControls.
    HWND AddUnplacedControl(ControlLayout layout);
    HWND AddButton(int id, const wchar_t* text, int iconId);
    struct ButtonIcon;
    void SetButtonIcon(ButtonIcon& button);
    void OnDpiChanged(const Dpi& dpi) override;
    // The system's colours, visual style or fonts changed: everything drawn with them again.
    void OnLookChanged();

    void OnCreate();
    void OnActivated();
    void OnDeactivated();
    bool MayClose() { return MayExit(); }
    void OnClosing();
    void OnDestroying();
    bool MayExit();
    bool TaskListSavedOrLetGo();
    void EndSession();
    void ShowTaskFileNote();
    void OnActivate(WPARAM wParam, LPARAM lParam);
    bool IsProgramDialog(HWND window) const;
    void OnCommand(int id);
    void OnTrayIcon(LPARAM mouseMessage);
    void CloseRequested();

    void OnTrayExit();
    void OnMenuExit();
    void QuitPressesAndLoop();
    void OnAbout();
    void OnTrayAbout() { OnAbout(); }
    void OnShowMainWindow();
    void OnSaveClicked();
    void OnGridClicked();
    void MoveCurrentRow(int step);
    void EditCurrentRow();
    // Made at the first call; null without a maker.
    TaskEditor* Editor();
    void ShowFromTray();
    void RetryHotKeys();
    void ShowTrayMenuAt(POINT point);
    // A second start's request: the window shown, restored and in front.
    void BringForward();
    // The window, or the dialog open over it, becomes the foreground window.
    void BringToFront();
    bool BringOpenDialogForward();
    // The editor or About while it is open, else null.
    HWND OpenDialog() const;

    // The settings as the window shows them, and the window showing the ones given.
    SettingsLimits Limits() const;
    Settings ShownSettings() const;
    void ShowSettings(const Settings& settings);
    // The options' boxes and the columns as kept, once the controls are made.
    void ShowKeptOptions();
    // Both files, or (`sizeAlone`) the size and maximised state without the position.
    void LoadSettings(bool sizeAlone = false);
    void SaveSettings() const;
    // The smallest size the window takes at its DPI, and the size it is made with.
    Settings::Size MinimumSize() const;
    Settings::Size DefaultSize() const;
    Settings::State WindowState() const;
    void MakeVisible();
    void Show();
    void ShowItself(int command);
    void ResizeItself(Settings::Size size);
    void Maximize();
    // Moves the window keeping its size and brings it to the top of the window order.
    void MoveTo(Settings::Place place);
    RECT Bounds() const;
    RECT RestoredBounds() const;

    Dpi dpi_;
    WindowsRegistry registry_;
    SettingsStore store_;
    TaskSession& session_;
    ImageListPictures pictures_;
    std::function<TaskEditor&()> makeEditor_;
    TaskEditor* editor_ = nullptr;  // once made
    AboutBox* about_ = nullptr;
    HWND editorWindow_ = nullptr;

    UniqueGdiObject font_;
    struct ButtonIcon {
        HWND button;
        int iconId;
        UniqueIcon icon;
    };
    std::vector<ButtonIcon> buttonIcons_;
    UniqueMenu trayMenu_;  // see TrayMenu
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
    std::unique_ptr<TaskGrid> grid_;
    std::unique_ptr<TrayIcon> tray_;
    HWND pages_ = nullptr;
    HWND hotKeysBox_ = nullptr;  // "Hot Keys"
    HWND generalBox_ = nullptr;  // "General"
    HWND autostartBox_ = nullptr;
    HWND trayOnlyBox_ = nullptr;
    std::array<HWND, 6> gridButtons_{};
    TabPageBrush pageBrush_;
    HWND saveButton_ = nullptr;  // "Save"
    RememberedFocus focus_;

    std::u16string startCounter_ = u"0";
    std::u16string taskFileNote_;  // shown once the message loop runs
    // An exit has saved the task list, or the user let its changes go: nothing saves it again
    // on the way out.
    bool exitSettled_ = false;
    bool startingUp_ = true;  // from OnCreate until FinishStartUp
    bool activatedSinceShown_ = false;
    bool maximizeWhenShown_ = false;
    bool sizingItself_ = false;  // see ShowItself
    bool showAfterStartUp_ = false;
    // The options and column widths the settings set before the controls are made, and the
    // controls show once made.
    Settings kept_;
};

}  // namespace quorvel
