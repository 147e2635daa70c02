#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "actions/actions_win.h"
#include "actions/dispatcher.h"
#include "app/main_form.h"
#include "common/win/remembered_focus_win.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "editor/drive_api_win.h"
#include "editor/editor_fields.h"
#include "editor/ok_step.h"
#include "hotkeys/dravlin_win.h"
#include "hotkeys/hotkey_text.h"

namespace quorvel {

// Form2, the task editor: a modal dialog over the main window's task table. Created hidden
// once at start, when it loads the task list, builds the task icons and registers every task's
// hotkey with Dravlin1; the hotkeys stay registered until it is destroyed.
class TForm2 final : public EditorForm, private OkStepEnvironment {
  public:
    // Control ids (no IDOK or IDCANCEL: Enter and Esc press no button).
    enum ControlId : int {
        kHotKey1 = 101,
        kComboBox1,
        kCombobox2,
        kBitBtn3,  // Browse
        kComboBox3,
        kBitBtn2,  // Close
        kBitBtn4,  // OK
    };

    TForm2(HINSTANCE instance, MainForm& form1, HIMAGELIST imageList1, HotKeyText& hotKeyText);
    ~TForm2() override;
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    EditorFields& Fields() override { return fields_; }
    void ShowModal() override;

    HWND Handle() const { return window_.get(); }
    TDravlin& Dravlin1() { return dravlin1_.Dravlin1(); }

    // Every row's hotkey, bound anew (held ones are refused by the system and stay held).
    void RegisterTaskHotKeys();
    // The task icon rebuild into ImageList1.
    void BitBtn5Click();

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void FormCreate();
    void LoadFields();
    void StoreFields();
    void SetDestinationText(const std::u16string& text);
    void HideDialog();

    void HotKey1Change();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

    // OkStepEnvironment
    std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) override;
    std::u16string FirstCdRomDrive() override;
    std::u16string FormatHotKey(std::uint32_t hotKey) override;
    void SaveTaskFile() override;
    void RebuildIcons() override { BitBtn5Click(); }
    void Close() override { HideDialog(); }

    HINSTANCE instance_;
    MainForm& form1_;
    HIMAGELIST imageList1_;
    HotKeyText& hotKeyText_;
    EditorFields fields_;
    WindowsDrives drives_;
    Dpi dpi_;
    UniqueGdiObject font_;
    UniqueWindow window_;
    HWND hotKey1_ = nullptr;
    HWND comboBox1_ = nullptr;
    HWND combobox2_ = nullptr;
    HWND comboBox3_ = nullptr;
    RememberedFocus focus_;
    bool shown_ = false;
    std::vector<HWND> disabledWindows_;  // the thread's windows the modal show disabled

    DravlinWindow dravlin1_;
    WindowsActions actions_;
    Dispatcher dispatcher_;
};

extern TForm2* Form2;

}  // namespace quorvel
