#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/window_win.h"
#include "editor/drive_api_win.h"
#include "editor/editor_fields.h"
#include "editor/ok_step.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"

namespace quorvel {

// The task editor: a modal dialog over the task session that adds a task or edits one
// row. Created hidden once at start, with its controls made at its first showing, and shown by
// Add and Edit; its OK hands the task to the session. While its hotkey field has the focus the
// session holds the program's hotkeys back, so that the field takes them as keys.
class TaskEditor final : public Window, private OkStepEnvironment {
  public:
    // Control ids (no IDOK or IDCANCEL: Enter and Esc press no button).
    enum ControlId : int {
        kHotKeyField = 101,
        kActionList,
        kDestinationBox,
        kBrowseButton,  // Browse
        kRunTypeList,
        kCloseButton,  // Close
        kOkButton,     // OK
        kWinBox,       // Win
    };

    // `session` and `hotKeyText` must outlive the window; so must `owner`, the window the dialog
    // stays in front of (the main window).
    TaskEditor(HINSTANCE instance, TaskSession& session, const HotKeyText& hotKeyText,
               HWND owner = nullptr);
    ~TaskEditor() override;

    // Shows the dialog for a new task at the end of the list; returns when it closes.
    void Add();
    // Shows the dialog on the row; without one (-1 when none is selected) nothing opens.
    void Edit(int row);

  private:
    void ShowModal(EditorMode mode);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const Dpi& dpi) override;
    // The hotkey control tells its parent nothing about its focus, and keeps what it shows
    // while modifiers are held even when the focus leaves with them.
    LRESULT HandleHotKeyFieldMessage(ControlMessage& message);
    void KeepWholeHotKey();
    void LeaveHotKeyField();
    void ResumeHotKeysUnlessOkIsPressed();

    void MakeControls();
    void CreateControls();
    void LoadFields();
    void StoreFields();
    // Longer texts are cut to what the field holds, and the field says so.
    void SetDestinationText(const std::u16string& text);
    TTTOOLINFOW CutNoteTool() const;
    void CreateDestinationCutNote();
    void ShowDestinationCutNote();
    void HideDestinationCutNote();
    void HideDialog();

    void OnHotKeyFieldChanged();
    void OnWinBoxClicked();
    bool WinChecked() const;
    void OnCloseClicked();
    void OnBrowseClicked();
    void OnOkClicked();

    // OkStepEnvironment
    std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) override;
    std::u16string FirstCdRomDrive() override;
    void Close() override { HideDialog(); }

    TaskSession& session_;
    const HotKeyText& hotKeyText_;
    WindowsKeyNames keyNames_;  // for hotkey texts in the form the class library wrote them
    EditorFields fields_;
    EditorMode mode_ = EditorMode::Add();
    WindowsDrives drives_;
    Dpi dpi_;
    UniqueGdiObject font_;
    HWND hotKeyField_ = nullptr;
    // The field's last value with a key, or empty, in the control's own form: what it shows
    // again when the focus leaves it with modifiers held, and what OK takes.
    std::uint16_t wholeHotKey_ = 0;
    HWND winBox_ = nullptr;  // Win
    HWND actionList_ = nullptr;
    HWND destinationBox_ = nullptr;
    HWND runTypeList_ = nullptr;
    HWND cutNote_ = nullptr;  // the balloon that says a destination was cut; the dialog's own
    RememberedFocus focus_;
};

}  // namespace quorvel
