#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "editor/drive_api_win.h"
#include "editor/editor_fields.h"
#include "editor/ok_step.h"
#include "hotkeys/hotkey_text.h"

namespace quorvel {

// Form2, the task editor: a modal dialog over the task session that adds a task or edits one
// row. Created hidden once at start, with its controls made at its first showing, and shown by
// Add and Edit; its OK hands the task to the session.
class TForm2 final : public EditorForm, private OkStepEnvironment {
  public:
    // Control ids (no IDOK or IDCANCEL: Enter and Esc press no button).
    enum ControlId : int {
        kHotKey1 = 101,
        kComboBox1,
        kCombobox2,
        kBitBtn3,  // Browse
        kComboBox3,
        kBitBtn2,    // Close
        kBitBtn4,    // OK
        kCheckBox1,  // Win
    };

    // `session` and `hotKeyText` must outlive the window; so must `owner`, the window the dialog
    // stays in front of (the main window).
    TForm2(HINSTANCE instance, TaskSession& session, const HotKeyText& hotKeyText,
           HWND owner = nullptr);
    ~TForm2() override;
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    EditorFields& Fields() override { return fields_; }
    void ShowModal(EditorMode mode) override;

    HWND Handle() const { return window_.get(); }

    // Called with true as the hotkey field takes the keyboard focus, so that the program's own
    // hotkeys reach the field instead of running their tasks, and with false as the field loses
    // the focus or the dialog hides, however it closes.
    void SetSuspendHotKeys(std::function<void(bool suspend)> suspendHotKeys) {
        suspendHotKeys_ = std::move(suspendHotKeys);
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DestinationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR subclassId, DWORD_PTR form);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HotKey1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR subclassId, DWORD_PTR form);
    void SuspendHotKeys(bool suspend);

    void FormCreate();
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

    void HotKey1Change();
    void CheckBox1Click();
    bool CheckBox1() const;
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

    // OkStepEnvironment
    std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) override;
    std::u16string FirstCdRomDrive() override;
    std::u16string FormatHotKey(std::uint32_t hotKey) override;
    void Close() override { HideDialog(); }

    HINSTANCE instance_;
    TaskSession& session_;
    const HotKeyText& hotKeyText_;
    EditorFields fields_;
    EditorMode mode_ = EditorMode::Add();
    WindowsDrives drives_;
    Dpi dpi_;
    UniqueGdiObject font_;
    UniqueWindow window_;
    HWND hotKey1_ = nullptr;
    HWND checkBox1_ = nullptr;  // Win
    HWND comboBox1_ = nullptr;
    HWND combobox2_ = nullptr;
    HWND comboBox3_ = nullptr;
    HWND cutNote_ = nullptr;  // the balloon that says a destination was cut; the dialog's own
    RememberedFocus focus_;
    bool shown_ = false;
    std::vector<HWND> disabledWindows_;  // the thread's windows the modal show disabled
    std::function<void(bool)> suspendHotKeys_;
    bool hotKeysSuspended_ = false;
};

extern TForm2* Form2;

}  // namespace quorvel
