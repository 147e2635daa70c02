#include "editor/editor_dialog_win.h"

#include <array>

#include "actions/destination.h"
#include "common/text.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"
#include "editor/cd_rom_drive.h"
#include "editor/hotkey_field.h"
#include "editor/program_chooser_win.h"
#include "tasks/action_catalogue.h"

namespace quorvel {

static_assert(kHotKeyFieldShift == HOTKEYF_SHIFT && kHotKeyFieldControl == HOTKEYF_CONTROL);
static_assert(kHotKeyFieldAlt == HOTKEYF_ALT && kHotKeyFieldExtended == HOTKEYF_EXT);

namespace {

constexpr wchar_t kWindowClass[] = L"TForm2";
constexpr int kListRowHeight = 16;
// A key's release: the previous state down, the transition up.
constexpr LPARAM kKeyUpFlags = static_cast<LPARAM>(0xC0000001);
// Posted when the destination field cut a text: the note shows once the dialog is up.
constexpr UINT kDestinationCut = WM_APP + 1;
constexpr UINT_PTR kCutNoteTimer = 1;
constexpr UINT_PTR kResumeHotKeysTimer = 2;
constexpr UINT kCutNoteShownMs = 6000;
constexpr int kCutNoteWidth = 280;

// Layout in pixels at 96 DPI.
constexpr int kClientWidth = 396;
constexpr int kClientHeight = 234;
// The group box's inner controls are placed relative to the box.
constexpr int kBoxLeft = 5;
constexpr int kBoxTop = 8;

constexpr DWORD kDropDownList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
// The closed box is 22 high; the window's height includes the open list of all 17 actions.
constexpr int kDroppedHeight = 22 + static_cast<int>(kActionNames.size()) * kListRowHeight + 4;

// The labels end where the fields begin; they start well left of it, so that the longest
// ("Destination:") fits in the system's message font, which is wider than the designed one.
constexpr int kLabelLeft = kBoxLeft + 8;
constexpr int kLabelWidth = 80;

// In creation order, which is the order Tab walks. Each label comes just before its field: a
// screen reader names a field after the label before it, and the label's access key reaches
// it. The group box comes last, so that it does not paint over the fields; it keeps a 5 pixel
// margin on the right as on the left, inside the client area.
constexpr std::array<ControlLayout, 13> kControlLayouts{{
    {L"STATIC", L"&HotKey:", SS_LEFTNOWORDWRAP, 0, -1, kLabelLeft, kBoxTop + 32, kLabelWidth, 16},
    {HOTKEY_CLASSW, L"", WS_TABSTOP, WS_EX_CLIENTEDGE, TaskEditor::kHotKeyField, kBoxLeft + 89,
     kBoxTop + 29, 200, 19},
    // The Win modifier, which the hotkey field cannot take.
    {L"BUTTON", L"&Win", BS_AUTOCHECKBOX | WS_TABSTOP, 0, TaskEditor::kWinBox, kBoxLeft + 297,
     kBoxTop + 30, 60, 17},
    {L"STATIC", L"&Action:", SS_LEFTNOWORDWRAP, 0, -1, kLabelLeft, kBoxTop + 69, kLabelWidth, 16},
    {L"COMBOBOX", L"", kDropDownList, 0, TaskEditor::kActionList, kBoxLeft + 89, kBoxTop + 66, 200,
     kDroppedHeight},
    {L"STATIC", L"&Destination:", SS_LEFTNOWORDWRAP, 0, -1, kLabelLeft, kBoxTop + 113, kLabelWidth,
     16},
    {L"COMBOBOX", L"", CBS_SIMPLE | CBS_AUTOHSCROLL | WS_TABSTOP, 0, TaskEditor::kDestinationBox,
     kBoxLeft + 89, kBoxTop + 109, 200, 22},
    {L"BUTTON", L"&Browse", BS_PUSHBUTTON | WS_TABSTOP, 0, TaskEditor::kBrowseButton,
     kBoxLeft + 291, kBoxTop + 108, 75, 25},
    {L"STATIC", L"&Type of run:", SS_LEFTNOWORDWRAP, 0, -1, kLabelLeft, kBoxTop + 153, kLabelWidth,
     16},
    {L"COMBOBOX", L"", kDropDownList, 0, TaskEditor::kRunTypeList, kBoxLeft + 89, kBoxTop + 150,
     200, 22 + 4 * kListRowHeight + 4},
    // Enter and Esc press neither button: their access keys do.
    {L"BUTTON", L"&Close", BS_PUSHBUTTON | WS_TABSTOP, 0, TaskEditor::kCloseButton, 81, 203, 75,
     28},
    {L"BUTTON", L"&OK", BS_PUSHBUTTON | WS_TABSTOP, 0, TaskEditor::kOkButton, 5, 203, 75, 28},
    {L"BUTTON", L"Task", BS_GROUPBOX, 0, -1, kBoxLeft, kBoxTop, kClientWidth - 2 * kBoxLeft, 191},
}};

void SetListRowHeight(HWND comboBox, const Dpi& dpi) {
    ::SendMessageW(comboBox, CB_SETITEMHEIGHT, /*list items=*/0, dpi.Scale(kListRowHeight));
}

template <std::size_t N>
void FillList(HWND comboBox, const std::array<std::u16string_view, N>& items, const Dpi& dpi) {
    for (const auto item : items) {
        ::SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
    }
    SetListRowHeight(comboBox, dpi);
}

std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

int SelectedIndex(HWND comboBox) {
    return static_cast<int>(::SendMessageW(comboBox, CB_GETCURSEL, 0, 0));
}

}  // namespace

TaskEditor::TaskEditor(HINSTANCE instance, TaskSession& session, const HotKeyText& hotKeyText,
                       HWND owner)
    : session_(session), hotKeyText_(hotKeyText), dpi_(Dpi::OfWindow(owner)) {
    // Owned by the main window, the dialog stays in front of it; without a minimise box it
    // cannot leave the main window disabled with nothing to click.
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    Create(instance, {.className = kWindowClass,
                      .caption = L"Add task",
                      .style = kStyle,
                      // Placed over the main window at each showing.
                      .size = FrameSize({dpi_.Scale(kClientWidth), dpi_.Scale(kClientHeight)},
                                        kStyle, 0, dpi_),
                      .parent = owner});
}

// At program end the hotkeys stay given back.
TaskEditor::~TaskEditor() { EndModal(); }

// At the first showing: the controls and their font.
void TaskEditor::MakeControls() {
    if (hotKeyField_ != nullptr) return;
    font_ = CreateMessageFont(dpi_);
    CreateControls();
}

// The window base moves the dialog to its new size afterwards.
void TaskEditor::OnDpiChanged(const Dpi& dpi) {
    dpi_ = dpi;
    if (hotKeyField_ == nullptr) return;
    UniqueGdiObject font = CreateMessageFont(dpi_);
    ReplaceChildrenFont(Handle(), static_cast<HFONT>(font_.get()), static_cast<HFONT>(font.get()));
    font_ = std::move(font);
    PlaceControls(dpi_);
    SetListRowHeight(actionList_, dpi_);
    SetListRowHeight(runTypeList_, dpi_);
    ::SendMessageW(cutNote_, TTM_SETMAXTIPWIDTH, 0, dpi_.Scale(kCutNoteWidth));
}

void TaskEditor::CreateControls() {
    const INITCOMMONCONTROLSEX hotKeyClass{sizeof(INITCOMMONCONTROLSEX), ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&hotKeyClass);
    const auto font = static_cast<HFONT>(font_.get());
    for (const auto& layout : kControlLayouts) AddControl(layout, dpi_, font);
    hotKeyField_ = ::GetDlgItem(Handle(), kHotKeyField);
    winBox_ = ::GetDlgItem(Handle(), kWinBox);
    actionList_ = ::GetDlgItem(Handle(), kActionList);
    destinationBox_ = ::GetDlgItem(Handle(), kDestinationBox);
    runTypeList_ = ::GetDlgItem(Handle(), kRunTypeList);
    SubclassControl(hotKeyField_,
                    [this](ControlMessage& message) { return HandleHotKeyFieldMessage(message); });
    ::SendMessageW(destinationBox_, CB_LIMITTEXT, kLongestDestination, 0);
    // The field's edit control reports to the combo box, which passes on no EN_MAXTEXT: typing
    // or pasting past the limit is seen here.
    SubclassControl(destinationBox_, [this](ControlMessage& message) {
        if (message.message == WM_COMMAND && HIWORD(message.wParam) == EN_MAXTEXT) {
            ::PostMessageW(Handle(), kDestinationCut, 0, 0);
        }
        return message.Default();
    });
    CreateDestinationCutNote();
    FillList(actionList_, kActionNames, dpi_);
    FillList(runTypeList_, kRunTypes, dpi_);
    // The action box opens with all its actions in view.
    ::SendMessageW(actionList_, CB_SETMINVISIBLE, kActionNames.size(), 0);
}

void TaskEditor::Add() {
    if (ShownModally()) return;
    fields_.PrepareForNewTask();
    ShowModal(EditorMode::Add());
}

void TaskEditor::Edit(int row) {
    if (ShownModally() || !fields_.PrepareForRow(session_.Tasks(), row, hotKeyText_, keyNames_))
        return;
    ShowModal(EditorMode::Edit(row));
}

void TaskEditor::ShowModal(EditorMode mode) {
    mode_ = mode;
    MakeControls();
    LoadFields();
    CentreOverOwner();
    RunModal(hotKeyField_);
}

void TaskEditor::HideDialog() {
    if (!ShownModally()) return;
    HideDestinationCutNote();
    EndModal();
    session_.ResumeHotKeys();
}

void TaskEditor::LoadFields() {
    ::SendMessageW(hotKeyField_, HKM_SETHOTKEY, HotKeyFieldFromShortCut(fields_.hotKey), 0);
    ::SendMessageW(winBox_, BM_SETCHECK, fields_.win ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(actionList_, CB_SETCURSEL, static_cast<WPARAM>(fields_.actionIndex), 0);
    SetDestinationText(fields_.destination);
    ::SendMessageW(runTypeList_, CB_SETCURSEL, static_cast<WPARAM>(fields_.runTypeIndex), 0);
}

void TaskEditor::StoreFields() {
    // Modifiers alone, should the field still hold them, are no hotkey.
    fields_.hotKey = ShortCutFromHotKeyField(wholeHotKey_);
    fields_.win = WinChecked();
    fields_.actionIndex = SelectedIndex(actionList_);
    fields_.destination = WindowText(destinationBox_);
    fields_.runTypeIndex = SelectedIndex(runTypeList_);
}

void TaskEditor::SetDestinationText(const std::u16string& text) {
    // A text set from outside (a task from the file, say) passes the field's limit, which
    // holds only what is typed or pasted.
    const std::u16string_view kept = LeadingText(text, kLongestDestination);
    ::SetWindowTextW(destinationBox_, ToWide(kept).c_str());
    if (kept.size() < text.size()) ::PostMessageW(Handle(), kDestinationCut, 0, 0);
}

TTTOOLINFOW TaskEditor::CutNoteTool() const {
    static_assert(kLongestDestination == 2048, "the note names the limit");
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(destinationBox_);
    tool.lpszText = const_cast<wchar_t*>(
        L"A destination holds at most 2,048 characters, as many as Windows can start. The rest "
        L"was left out.");
    return tool;
}

// A balloon on the field, as Windows shows on a field that refuses a key; it goes after a few
// seconds or with the dialog.
void TaskEditor::CreateDestinationCutNote() {
    cutNote_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Handle(), /*hMenu=*/nullptr, Instance(), /*lpParam=*/nullptr);
    TTTOOLINFOW tool = CutNoteTool();
    ::SendMessageW(cutNote_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(cutNote_, TTM_SETTITLEW, TTI_WARNING,
                   reinterpret_cast<LPARAM>(L"Destination too long"));
    ::SendMessageW(cutNote_, TTM_SETMAXTIPWIDTH, 0, dpi_.Scale(kCutNoteWidth));
}

void TaskEditor::ShowDestinationCutNote() {
    RECT field{};
    ::GetWindowRect(destinationBox_, &field);
    ::SendMessageW(cutNote_, TTM_TRACKPOSITION, 0,
                   MAKELPARAM((field.left + field.right) / 2, field.bottom));
    TTTOOLINFOW tool = CutNoteTool();
    ::SendMessageW(cutNote_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    ::SetTimer(Handle(), kCutNoteTimer, kCutNoteShownMs, /*lpTimerFunc=*/nullptr);
}

void TaskEditor::HideDestinationCutNote() {
    ::KillTimer(Handle(), kCutNoteTimer);
    TTTOOLINFOW tool = CutNoteTool();
    ::SendMessageW(cutNote_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void TaskEditor::OnHotKeyFieldChanged() {
    // The control has no rule that refuses a key without modifiers; it would only put another
    // modifier in its place. So the field is emptied instead, unless Win is the modifier.
    if (!WinChecked() && IsBareKey(LOWORD(::SendMessageW(hotKeyField_, HKM_GETHOTKEY, 0, 0)))) {
        ::SendMessageW(hotKeyField_, HKM_SETHOTKEY, 0, 0);
    }
}

// Without Win, a key the field holds alone is bare again.
void TaskEditor::OnWinBoxClicked() { OnHotKeyFieldChanged(); }

bool TaskEditor::WinChecked() const {
    return ::SendMessageW(winBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TaskEditor::OnCloseClicked() {
    StoreFields();
    HideDialog();
}

void TaskEditor::OnBrowseClicked() {
    // Opens in the program's own folder with its name filled in.
    fields_.chooserFileName = ExecutablePath();
    if (auto chosen = quorvel::ChooseProgramFile(Handle(), fields_.chooserFileName)) {
        fields_.chooserFileName = *chosen;
        SetDestinationText(*chosen);
    }
}

void TaskEditor::OnOkClicked() {
    StoreFields();
    try {
        ConfirmTask(fields_, mode_, session_, *this);
    } catch (...) {
        // The dialog stays open: show the destination the first steps may have filled in.
        SetDestinationText(fields_.destination);
        throw;
    }
}

std::optional<std::u16string> TaskEditor::ChooseProgramFile(const std::u16string& initialName) {
    return quorvel::ChooseProgramFile(Handle(), initialName);
}

std::u16string TaskEditor::FirstCdRomDrive() { return quorvel::FirstCdRomDrive(drives_); }

LRESULT TaskEditor::HandleHotKeyFieldMessage(ControlMessage& message) {
    const LRESULT result = message.Default();
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // A modifier alone makes no hotkey, whatever the control shows meanwhile.
            const WPARAM key = message.wParam;
            if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU) KeepWholeHotKey();
            // Alt with a letter is a hotkey here: the character made of it as the key went down
            // is not the access key of another control, nor a menu's.
            MSG character;
            if (message.message == WM_SYSKEYDOWN) {
                ::PeekMessageW(&character, hotKeyField_, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE);
            }
            break;
        }
        case HKM_SETHOTKEY:
            KeepWholeHotKey();
            break;
        case WM_SETFOCUS:
            session_.HoldBackHotKeys();
            break;
        case WM_KILLFOCUS:
            LeaveHotKeyField();
            // A click on OK takes the focus as its button goes down: the hotkeys come back
            // once it is let go, in OK's own registration.
            ::SetTimer(Handle(), kResumeHotKeysTimer, USER_TIMER_MINIMUM, nullptr);
            break;
        default:
            break;
    }
    return result;
}

// The timer comes after the input waiting in the queue: a quick click on OK has been handled,
// a longer one holds the mouse, and one let go elsewhere has ended.
void TaskEditor::ResumeHotKeysUnlessOkIsPressed() {
    if (::GetCapture() == ::GetDlgItem(Handle(), kOkButton)) return;
    ::KillTimer(Handle(), kResumeHotKeysTimer);
    if (::GetFocus() != hotKeyField_) session_.ResumeHotKeys();
}

void TaskEditor::KeepWholeHotKey() {
    const auto value = LOWORD(::SendMessageW(hotKeyField_, HKM_GETHOTKEY, 0, 0));
    if (!IsModifiersOnly(value)) wholeHotKey_ = value;
}

// The modifiers held as the focus left are let go where the field sees it (their keys come up
// in another control), and it shows the last whole hotkey again.
void TaskEditor::LeaveHotKeyField() {
    for (const WPARAM modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        ::SendMessageW(hotKeyField_, WM_KEYUP, modifier, kKeyUpFlags);
    }
    if (LOWORD(::SendMessageW(hotKeyField_, HKM_GETHOTKEY, 0, 0)) != wholeHotKey_) {
        ::SendMessageW(hotKeyField_, HKM_SETHOTKEY, wholeHotKey_, 0);
    }
}

LRESULT TaskEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kHotKeyField && HIWORD(wParam) == EN_CHANGE) {
                OnHotKeyFieldChanged();
                return 0;
            }
            if (HIWORD(wParam) != BN_CLICKED) break;
            switch (LOWORD(wParam)) {
                case kCloseButton:
                    OnCloseClicked();
                    return 0;
                case kBrowseButton:
                    OnBrowseClicked();
                    return 0;
                case kOkButton:
                    OnOkClicked();
                    return 0;
                case kWinBox:
                    OnWinBoxClicked();
                    return 0;
                default:
                    break;  // IDOK and IDCANCEL from Enter and Esc: no button takes them
            }
            break;
        case WM_ACTIVATE:
            focus_.OnActivate(hwnd, wParam);
            return 0;
        case kDestinationCut:
            ShowDestinationCutNote();
            return 0;
        case WM_TIMER:
            if (wParam == kResumeHotKeysTimer) {
                ResumeHotKeysUnlessOkIsPressed();
                return 0;
            }
            if (wParam != kCutNoteTimer) break;
            HideDestinationCutNote();
            return 0;
        case WM_CLOSE:
            OnCloseClicked();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace quorvel
