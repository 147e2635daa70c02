#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <vector>

#include "box_answerer_win.h"
#include "common/win/unique_handle_win.h"
#include "editor/editor_dialog_win.h"
#include "hotkeys/key_names_win.h"
#include "input_win.h"
#include "memory_file_system.h"
#include "session/task_session_win.h"
#include "task_rows.h"
#include "tasks/task_file.h"

namespace quorvel {
namespace {

// Acts on the modal dialog from inside its message loop: one step per tick.
class DialogScript {
  public:
    explicit DialogScript(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {}

    bool Finished() const { return next_ == steps_.size(); }

  private:
    void Tick() {
        // The step may open a box whose loop ticks again: move on first.
        if (!Finished()) steps_[next_++]();
    }

    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    ThreadTimer timer_{[this] { Tick(); }};
};

void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void Select(HWND dialog, int id, int index) {
    ::SendMessageW(::GetDlgItem(dialog, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetHotKeyField(HWND dialog, BYTE flags, BYTE key) {
    ::SendMessageW(::GetDlgItem(dialog, TaskEditor::kHotKeyField), HKM_SETHOTKEY,
                   MAKEWORD(key, flags), 0);
}

void SetText(HWND dialog, int id, const wchar_t* text) {
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

const std::u16string kActionsPath = u"C:\\Quorvel\\data\\actions.cfg";

// The editor as the program makes it: after the task session's start-up, over its table.
class EditorDialog : public ::testing::Test {
  protected:
    EditorDialog() { files_.AddFolder(u"C:\\Quorvel"); }

    std::unique_ptr<TaskEditor> MakeForm() {
        session_.StartUp();
        return std::make_unique<TaskEditor>(::GetModuleHandleW(nullptr), session_.Session(),
                                            hotKeyText_);
    }

    const TaskTable& Table() { return session_.Session().Tasks(); }
    std::u16string TextAt(Column column, int row) { return Table().TextAt(column, row); }
    int Saves() const { return files_.Writes(kActionsPath) - written_; }

    // The task list the next start reads: rows with an action and a hotkey, picture 42.
    void WriteTasks(std::initializer_list<std::pair<std::u16string_view, std::u16string>> rows) {
        TaskTable table;
        for (const auto& [desc, hotkey] : rows) {
            table.AppendTask({std::u16string(desc), hotkey, u"", u"", 42});
        }
        TaskFile(files_, kActionsPath).Save(table);
        written_ = files_.Writes(kActionsPath);
    }

    WindowsKeyNames keyNames_;
    HotKeyText hotKeyText_{keyNames_};
    MemoryFileSystem files_;
    int written_ = 0;
    TaskSessionWin session_{::GetModuleHandleW(nullptr), files_, kActionsPath, hotKeyText_};
};

TEST_F(EditorDialog, StartUpLoadsTheTasksAndRegistersEveryHotKey) {
    // Ctrl+Alt+F9 twice, one of them disabled by nothing but being a duplicate; Ctrl+Shift+F10
    // on a row whose action has no picture.
    const std::u16string ctrlAltF9 = hotKeyText_.FormatHotKey(0x4000 | 0x8000 | VK_F9);
    const std::u16string ctrlShiftF10 = hotKeyText_.FormatHotKey(0x4000 | 0x2000 | VK_F10);
    WriteTasks({{u"Run Calc", ctrlAltF9},
                {u"no such action", ctrlShiftF10},
                {u"Reboot computer", ctrlAltF9},
                {u"Open Website...", u"not a hotkey"},
                {u"Run Calc", u""}});
    ASSERT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F9));

    const auto form = MakeForm();

    ASSERT_EQ(Table().RowCount(), 5);
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F9));
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_SHIFT, VK_F10));
    EXPECT_EQ(session_.Registrar().Bindings().size(), 2U);
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));
    EXPECT_EQ(Saves(), 0);
}

TEST_F(EditorDialog, ControlsComeAtTheFirstShowingWhereTabWalksWinAfterTheHotKeyThenCloseThenOk) {
    const auto form = MakeForm();
    const HWND dialog = form->Handle();
    EXPECT_EQ(::GetWindow(dialog, GW_CHILD), nullptr) << "no controls before the first showing";
    std::vector<int> order;
    HWND control = nullptr;
    DialogScript script({
        [&] {
            control = ::GetDlgItem(dialog, TaskEditor::kHotKeyField);
            for (int i = 0; i < 8; ++i) {
                order.push_back(::GetDlgCtrlID(control));
                control = ::GetNextDlgTabItem(dialog, control, /*bPrevious=*/FALSE);
            }
        },
        [&] { Click(dialog, TaskEditor::kCloseButton); },
    });

    form->Add();

    EXPECT_EQ(order, (std::vector<int>{TaskEditor::kHotKeyField, TaskEditor::kWinBox,
                                       TaskEditor::kActionList, TaskEditor::kDestinationBox,
                                       TaskEditor::kBrowseButton, TaskEditor::kRunTypeList,
                                       TaskEditor::kCloseButton, TaskEditor::kOkButton}));
    EXPECT_EQ(control, ::GetDlgItem(dialog, TaskEditor::kHotKeyField)) << "and round again";
}

TEST_F(EditorDialog, HotKeysRunUnderTheDialogAndOkAddsSavesAndRegistersTheTask) {
    WriteTasks(
        {{u"Clear the Windows clipboard", hotKeyText_.FormatHotKey(0x4000 | 0x8000 | VK_F8)}});
    const auto form = MakeForm();
    const HWND dialog = form->Handle();
    bool visibleWhileShown = false;
    bool heldBackInTheField = false;
    int formatsWhileOpen = -1;
    int changes = 0;
    DialogScript script({
        [&] {
            visibleWhileShown = ::IsWindowVisible(dialog) != FALSE;
            heldBackInTheField = ::GetDlgCtrlID(::GetFocus()) == TaskEditor::kHotKeyField &&
                                 !HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F8);
            ::SetFocus(::GetDlgItem(dialog, TaskEditor::kDestinationBox));
        },
        [&] {
            PutTextOnClipboard(L"to be cleared");
            PressTogether({VK_CONTROL, VK_MENU, VK_F8});
        },
        [] {},  // a few ticks for the press to travel
        [] {},
        [&] {
            formatsWhileOpen = ::CountClipboardFormats();
            SetHotKeyField(dialog, HOTKEYF_CONTROL | HOTKEYF_ALT, 'J');
            Select(dialog, TaskEditor::kActionList, 16);  // "Clear the Windows clipboard"
            SetText(dialog, TaskEditor::kDestinationBox, L"typed destination");
            Select(dialog, TaskEditor::kRunTypeList, 3);
            ::SetFocus(::GetDlgItem(dialog, TaskEditor::kHotKeyField));
            session_.Session().OnChanged = [&] { ++changes; };
        },
        [&] { Click(dialog, TaskEditor::kOkButton); },
    });

    form->Add();

    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(visibleWhileShown);
    EXPECT_TRUE(heldBackInTheField);
    EXPECT_EQ(formatsWhileOpen, 0) << "the file's task ran under the dialog, out of the field";
    EXPECT_FALSE(::IsWindowVisible(dialog));
    ASSERT_EQ(Table().RowCount(), 2);
    EXPECT_EQ(TextAt(kDescColumn, 1), u"Clear the Windows clipboard");
    EXPECT_EQ(TextAt(kHotKeyColumn, 1), hotKeyText_.FormatHotKey(0x4000 | 0x8000 | 'J'));
    EXPECT_EQ(TextAt(kDestColumn, 1), u"typed destination");
    EXPECT_EQ(TextAt(kTypeRunColumn, 1), u"Minimze");
    EXPECT_EQ(Saves(), 1);
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'J'));

    // The saved file holds the task for the next start.
    TaskTable reread;
    TaskFile(files_, kActionsPath).Load(reread);
    EXPECT_EQ(reread.RowCount(), 2);

    PutTextOnClipboard(L"to be cleared");
    ASSERT_NE(::CountClipboardFormats(), 0);
    PressTogether({VK_CONTROL, VK_MENU, 'J'});
    PumpMessagesUntil([] { return ::CountClipboardFormats() == 0; }, 5000);
    EXPECT_EQ(::CountClipboardFormats(), 0) << "the hotkey ran the task";
    EXPECT_EQ(changes, 1) << "OK from the hotkey field registered and repainted once";
}

TEST_F(EditorDialog, EnterAndEscapePressNoButtonAndCloseChangesNothingButKeepsTheHotKey) {
    const auto form = MakeForm();
    const HWND dialog = form->Handle();
    bool openAfterKeys = false;
    DialogScript script({
        [&] {
            SetHotKeyField(dialog, HOTKEYF_SHIFT, VK_F11);
            SetText(dialog, TaskEditor::kDestinationBox, L"x");
            ::SetFocus(::GetDlgItem(dialog, TaskEditor::kDestinationBox));
            PressTogether({VK_RETURN});
            PressTogether({VK_ESCAPE});
        },
        [&] { openAfterKeys = ::IsWindowVisible(dialog) != FALSE; },
        [&] { Click(dialog, TaskEditor::kCloseButton); },
    });

    form->Add();

    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(Table().RowCount(), 0);
    EXPECT_EQ(Saves(), 0);
    EXPECT_FALSE(HotKeyTaken(MOD_SHIFT, VK_F11));

    // The next Add shows it again.
    LRESULT fieldAtTheNextAdd = 0;
    DialogScript again({[&] {
        fieldAtTheNextAdd =
            ::SendMessageW(::GetDlgItem(dialog, TaskEditor::kHotKeyField), HKM_GETHOTKEY, 0, 0);
        Click(dialog, TaskEditor::kCloseButton);
    }});
    form->Add();
    EXPECT_EQ(fieldAtTheNextAdd, MAKEWORD(VK_F11, HOTKEYF_SHIFT)) << "Shift alone is a modifier";
}

TEST_F(EditorDialog, OkWithoutProgramAsksForOneAndStoresTheTaskWhenCancelled) {
    const auto form = MakeForm();
    const HWND dialog = form->Handle();
    BoxAnswerer chooser(IDCANCEL);
    DialogScript script({
        [&] {
            Select(dialog, TaskEditor::kActionList, 10);  // "Run selected program..."
            SetText(dialog, TaskEditor::kDestinationBox, L"");
            Click(dialog, TaskEditor::kOkButton);  // returns once the chooser is cancelled
        },
    });

    form->Add();

    EXPECT_EQ(chooser.texts.size(), 1U) << "the file chooser opened once";
    ASSERT_EQ(Table().RowCount(), 1);
    EXPECT_EQ(TextAt(kDescColumn, 0), u"Run selected program...");
    EXPECT_EQ(TextAt(kDestColumn, 0), u"");
    EXPECT_EQ(Saves(), 1);
}

}  // namespace
}  // namespace quorvel
