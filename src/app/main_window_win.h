#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/list_commands.h"
#include "app/registry_win.h"
#include "app/settings.h"
#include "app/tab_page_brush_win.h"
#include "app/task_grid_win.h"
#include "app/tray_icon_win.h"
#include "common/file_system.h"
#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "editor/editor_fields.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "session/task_session_win.h"

namespace quorvel {

class TForm3;

// Form1, the main window: the task grid with its buttons, the options, the main menu and the
// notification-area icon. Lives from start to end; closing it with its close box only hides it.
class TForm1 final : private SettingsWindow {
  public:
    static constexpr wchar_t kWindowClass[] = L"QuorvelTessalyMainWindow";

    // Creates the window (hidden) and runs FormCreate. Its controls are made at its first
    // showing: a start in the tray never makes them. The grid shows the session's table and
    // pictures; `files` holds the settings; hotKeyText reads task hotkeys back for Edit. All of
    // them must outlive the window.
    TForm1(HINSTANCE instance, FileSystem& files, TaskSessionWin& session,
           const HotKeyText& hotKeyText);
    // Runs FormDestroy, then destroys the window.
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND Handle() const { return window_.get(); }
    // The end of the program's start-up, once every window is made: the window shows when
    // FormCreate asked for it.
    void FinishStartUp();
    void RepaintGrid();
    // After the start-up registration: a balloon from the tray icon when enabled tasks'
    // hotkeys do not work.
    void ReportInactiveHotKeys();
    // After the start-up read: a box, once the message loop runs, when the task file could not
    // be read whole (which file, what was kept, where the copy is).
    void ReportDamagedTaskFile();
    // The editor Add and Edit open, and its window.
    void SetEditor(EditorForm* editor, HWND window) {
        commands_.SetEditor(editor);
        editorWindow_ = window;
    }
    void SetAboutBox(TForm3* about) { about_ = about; }
    // Whether a message is the dialog navigation (Tab, arrows, mnemonics) of this window.
    bool TranslateDialogMessage(MSG& message);

  private:
    // Posted by ReportDamagedTaskFile.
    static constexpr UINT kShowTaskFileNote = WM_APP + 2;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // At the first showing: the controls, their font and pictures, and the settings they show.
    void MakeControls();
    void CreateControls();
    void AddStoredPicture();
    void CreateMenus();
    void LayoutControls();
    int TextFitWidth(HWND control, int widthAt96, int extraAt96) const;
    void ShowPage(int page);
    HWND AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
                    DWORD exStyle = 0);
    HWND AddButton(int id, const wchar_t* text, int iconId);

    void FormCreate();
    void FormActivate();
    void FormDeactivate();
    bool FormCloseQuery() { return MayExit(); }
    void FormClose();
    void FormDestroy();
    bool MayExit();
    bool TaskListSavedOrLetGo();
    void EndSession();
    void ShowTaskFileNote();
    void OnActivate(WPARAM wParam, LPARAM lParam);
    bool IsProgramDialog(HWND window) const;
    void OnCommand(int id);
    void OnTrayIcon(LPARAM mouseMessage);
    void CloseRequested();

    void Exit1Click();
    void Exit2Click();
    void About1Click();
    void About2Click() { About1Click(); }
    void File1Click();
    void BitBtn4Click();
    void NextGrid1Click();
    void MoveCurrentRow(int step);
    void ShowFromTray();
    void RetryHotKeys();
    void PopupMenu1At(POINT point);
    // A second start's request: the window shown, restored and in front.
    void BringForward();
    // The window, or the dialog open over it, becomes the foreground window.
    void BringToFront();
    bool BringOpenDialogForward();
    // The editor or About while it is open, else null.
    HWND OpenDialog() const;

    // SettingsWindow
    bool CheckBox1() const override;
    void SetCheckBox1(bool checked) override;
    bool CheckBox2() const override;
    void SetCheckBox2(bool checked) override;
    int ColumnWidth(Column column) const override;
    void SetColumnWidth(Column column, int width) override;
    void MakeVisible() override;
    void Show();
    int Width() const override;
    int Height() const override;
    int Left() const override;
    int Top() const override;
    State WindowState() const override;
    Size MinimumSize() const override;
    Size DefaultSize() const override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void Maximize() override;
    void MoveTo(int left, int top) override;
    RECT Bounds() const;
    RECT RestoredBounds() const;

    HINSTANCE instance_;
    Dpi dpi_;
    WindowsRegistry registry_;
    SettingsStore store_;
    TaskSession& tasks_;
    const ImageListPictures& pictures_;  // the session's
    WindowsKeyNames keyNames_;
    ListCommands commands_;
    TForm3* about_ = nullptr;
    HWND editorWindow_ = nullptr;

    UniqueGdiObject font_;
    std::vector<UniqueIcon> buttonIcons_;
    UniqueMenu popupMenu1_;
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
    UniqueWindow window_;
    std::unique_ptr<TaskGrid> grid_;
    std::unique_ptr<TrayIcon> tray_;
    HWND pageControl1_ = nullptr;
    HWND groupBox3_ = nullptr;  // "Hot Keys"
    HWND groupBox2_ = nullptr;  // "General"
    HWND checkBox1_ = nullptr;
    HWND checkBox2_ = nullptr;
    std::array<HWND, 6> gridButtons_{};
    TabPageBrush pageBrush_;
    HWND bitBtn4_ = nullptr;  // "Save"
    RememberedFocus focus_;

    std::u16string startCounter_ = u"0";
    std::u16string taskFileNote_;  // shown once the message loop runs
    // An exit has saved the task list, or the user let its changes go: nothing saves it again
    // on the way out.
    bool exitSettled_ = false;
    bool startingUp_ = true;  // from FormCreate until FinishStartUp
    bool activatedSinceShown_ = false;
    bool maximizeWhenShown_ = false;
    bool showAfterStartUp_ = false;
    // What the settings set before the controls are made, and the controls show once made.
    bool checkBox1Kept_ = true;
    bool checkBox2Kept_ = true;
    std::array<std::optional<int>, kColumnCount> columnWidthsKept_{};
};

// The program's windows, created in this order by the program entry.
extern TForm1* Form1;

}  // namespace quorvel
