// MainWindow's window: creation, controls, layout and message dispatch.
#include "app/main_window_win.h"

#include <algorithm>

#include "app/res/app_resources.h"
#include "app/single_instance_win.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace {

enum ControlId : int {
    kPages = 1000,
    kTaskGrid,
    kAddButton,        // Add
    kEditButton,       // Edit
    kDeleteButton,     // Delete
    kDeleteAllButton,  // Delete All
    kMoveDownButton,   // Move down
    kMoveUpButton,     // Move up
    kAutostartBox,
    kTrayOnlyBox,
    kSaveButton,  // Save
    kGeneralBox,
    kHotKeysBox,
};

enum MenuId : int {
    kMenuExit = 2000,
    kMenuAbout,
    kShowMainWindow,
    kTrayAbout,
    kTrayExit,
    kTrayPause,
};

struct GridButton {
    int id;
    const wchar_t* caption;
    int icon;
    int leftAt96;
};
constexpr std::array<GridButton, 6> kGridButtons{{
    {kAddButton, L"&Add", IDI_ADD, 4},
    {kEditButton, L"&Edit", IDI_EDIT, 88},
    {kDeleteButton, L"&Delete", IDI_DELETE, 173},
    {kDeleteAllButton, L"Delete A&ll", IDI_DELETE_ALL, 258},
    {kMoveDownButton, L"Move do&wn", IDI_MOVE_DOWN, 343},
    {kMoveUpButton, L"Move &up", IDI_MOVE_UP, 428},
}};

// The tabs, whose access keys the window handles itself: the dialog navigation knows only
// controls' captions.
constexpr std::array<const wchar_t*, 2> kPageCaptions{L"HotKey &View", L"&Options"};

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The window as designed, and the smallest client area it takes: every button whole beside
// the tab control's frame, a few rows of the grid and the Options page's controls.
constexpr SIZE kDefaultSizeAt96{609, 449};
constexpr SIZE kMinimumClientAt96{530, 230};
constexpr int kButtonWidthAt96 = 85;
constexpr int kButtonHeightAt96 = 28;
constexpr int kGridButtonRowHeightAt96 = 34;
constexpr int kSaveButtonRowHeightAt96 = 41;
constexpr int kGroupCaptionAt96 = 15;
constexpr int kGroupBorderAt96 = 2;
constexpr int kCheckBoxHeightAt96 = 17;
constexpr int kButtonIconAt96 = 16;
constexpr int kCheckBoxGlyphAt96 = 20;  // the box and the gap before the caption

void Place(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, x, y, width, height, /*bRepaint=*/TRUE);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, FileSystem& files, TaskSessionWin& session)
    : dpi_(Dpi::OfScreen()),
      store_{files, registry_, ExecutablePath(), SystemErrorText},
      session_(session.Session()),
      pictures_(instance, IDI_QUORVEL) {
    icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON),
                                                ::GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0)));
    kept_.columnWidths = Limits().designedWidths;
    const auto [width, height] = DefaultSize();
    Create(instance, {.className = kWindowClass,
                      .caption = L"Quorvel Tessaly",
                      .style = kWindowStyle,
                      .place = CentredInWorkArea({width, height}),
                      .size = {width, height},
                      .icon = icon_.get(),
                      .smallIcon = smallIcon_.get()});
    CreateMainMenu();
    session_.OnChanged = [this] {
        pictures_.RetryMissingIcons();
        RepaintGrid();
    };
    session_.OnHotKeysChanged = [this] { ShowHotKeysInTray(); };
    tray_ = std::make_unique<TrayIcon>(Handle(), smallIcon_.get());
    session_.OnTaskFileNote = [this](const std::u16string& note) {
        tray_->ShowBalloon(L"Quorvel", ToWide(note));
    };
    RunHandler(Handle(), [this] { OnCreate(); });
}

MainWindow::~MainWindow() {
    RunHandler(Handle(), [this] { OnDestroying(); });
    session_.OnTaskFileNote = nullptr;
    session_.OnHotKeysChanged = nullptr;
    tray_.reset();
    session_.OnChanged = nullptr;
    Destroy();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    switch (message) {
        case WM_SIZE:
            LayoutControls();
            return 0;
        case WM_ACTIVATE:
            OnActivate(wParam, lParam);
            return 0;
        case WM_GETMINMAXINFO: {
            auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
            limits.ptMinTrackSize = {MinimumSize().width, MinimumSize().height};
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            if (header.hwndFrom == pages_ && header.code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(pages_));
            } else if (grid_) {
                grid_->OnNotify(header, result);
            }
            return result;
        }
        case WM_MEASUREITEM: {
            auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item.CtlType == ODT_LISTVIEW) item.itemHeight = TaskGrid::RowHeight(dpi_);
            return TRUE;
        }
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(pageBrush_.ForControl(reinterpret_cast<HDC>(wParam),
                                                                   reinterpret_cast<HWND>(lParam)));
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            OnLookChanged();
            break;
        case WM_DRAWITEM:
            if (grid_) grid_->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_SYSCOMMAND:
            // The close box, Alt+F4 and the window menu's Close keep the program in the tray.
            if (wParam == SC_CLOSE) {
                ::ShowWindow(hwnd, SW_HIDE);
                activatedSinceShown_ = false;
                return 0;
            }
            break;
        case WM_CLOSE:
            CloseRequested();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) EndSession();
            return 0;
        case kShowTaskFileNote:
            ShowTaskFileNote();
            return 0;
        case TrayIcon::kTrayIconMessage:
            OnTrayIcon(lParam);
            return 0;
        default:
            if (message == TrayIcon::TaskbarCreatedMessage()) {
                tray_->OnTaskbarCreated();
                return 0;
            }
            if (message == SingleInstance::ShowMessage()) {
                BringForward();
                return 0;
            }
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void MainWindow::MakeControls() {
    if (grid_) return;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES |
                                                                          ICC_TAB_CLASSES |
                                                                          ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    font_ = CreateMessageFont(dpi_);
    pictures_.SetPictureSize(TaskGrid::PictureSize(dpi_));
    CreateControls();
    ShowKeptOptions();
}

void MainWindow::CreateMainMenu() {
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, kMenuExit, L"E&xit");
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(help, MF_STRING, kMenuAbout, L"&About...");
    HMENU mainMenu = ::CreateMenu();
    ::AppendMenuW(mainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    ::AppendMenuW(mainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    ::SetMenu(Handle(), mainMenu);  // destroyed with the window
}

HMENU MainWindow::TrayMenu() {
    if (!trayMenu_) {
        trayMenu_.reset(::CreatePopupMenu());
        ::AppendMenuW(trayMenu_.get(), MF_STRING, kShowMainWindow, L"&Show Main Window");
        ::AppendMenuW(trayMenu_.get(), MF_STRING, kTrayAbout, L"&About...");
        ::AppendMenuW(trayMenu_.get(), MF_STRING, kTrayPause, L"&Pause hotkeys");
        ::AppendMenuW(trayMenu_.get(), MF_STRING, kTrayExit, L"E&xit");
    }
    ::CheckMenuItem(trayMenu_.get(), kTrayPause,
                    session_.HotKeysPaused() ? MF_CHECKED : MF_UNCHECKED);
    return trayMenu_.get();
}

HWND MainWindow::AddUnplacedControl(ControlLayout layout) {
    layout.style |= WS_CLIPSIBLINGS;
    return AddControl(layout, dpi_, static_cast<HFONT>(font_.get()));
}

HWND MainWindow::AddButton(int id, const wchar_t* text, int iconId) {
    const HWND button = AddUnplacedControl({WC_BUTTONW, text, WS_TABSTOP | BS_PUSHBUTTON, 0, id});
    buttonIcons_.push_back({button, iconId, UniqueIcon()});
    SetButtonIcon(buttonIcons_.back());
    return button;
}

// At the button's scale; the button only borrows it.
void MainWindow::SetButtonIcon(ButtonIcon& button) {
    button.icon = LoadIconAtSize(Instance(), button.iconId, dpi_.Scale(kButtonIconAt96));
    ::SendMessageW(button.button, BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(button.icon.get()));
}

void MainWindow::CreateControls() {
    // Children are stacked in creation order, the first on top: the controls come before the
    // group boxes and the page control they sit on, which is also the Tab order. "Hot Keys"
    // alone comes just before the grid: a screen reader names the grid after it, and its access
    // key reaches it. Transparent, the group boxes paint only their frame and caption and clip
    // nothing under them.
    hotKeysBox_ =
        AddUnplacedControl({WC_BUTTONW, L"Hot &Keys", BS_GROUPBOX, WS_EX_TRANSPARENT, kHotKeysBox});
    grid_ = std::make_unique<TaskGrid>(
        Handle(), kTaskGrid, session_.Tasks(),
        [this](int row) { return session_.HotKeyStatusAt(row); },
        [this](int row) { return session_.PictureOfRow(row); }, pictures_, dpi_,
        TaskGrid::Events{[this] { OnGridClicked(); },
                         [this](int row, bool enabled) { session_.SetTaskEnabled(row, enabled); },
                         [this] { EditCurrentRow(); }});
    for (std::size_t i = 0; i < kGridButtons.size(); ++i) {
        gridButtons_[i] =
            AddButton(kGridButtons[i].id, kGridButtons[i].caption, kGridButtons[i].icon);
    }
    autostartBox_ = AddUnplacedControl(
        {WC_BUTTONW, L"Auto sta&rt with Windows ", WS_TABSTOP | BS_AUTOCHECKBOX, 0, kAutostartBox});
    trayOnlyBox_ = AddUnplacedControl({WC_BUTTONW, L"Always start in system &tray only",
                                       WS_TABSTOP | BS_AUTOCHECKBOX, 0, kTrayOnlyBox});
    saveButton_ = AddButton(kSaveButton, L"&Save", IDI_SAVE);
    generalBox_ =
        AddUnplacedControl({WC_BUTTONW, L"General", BS_GROUPBOX, WS_EX_TRANSPARENT, kGeneralBox});
    pages_ = AddUnplacedControl({WC_TABCONTROLW, L"", WS_TABSTOP, 0, kPages});
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(kPageCaptions[0]);
    TabCtrl_InsertItem(pages_, 0, &tab);
    tab.pszText = const_cast<wchar_t*>(kPageCaptions[1]);
    TabCtrl_InsertItem(pages_, 1, &tab);
    // The other controls were made with it.
    ::SendMessageW(grid_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ShowPage(0);
    LayoutControls();
}

void MainWindow::ShowPage(int page) {
    const int hotKeyView = page == 0 ? SW_SHOW : SW_HIDE;
    const int options = page == 1 ? SW_SHOW : SW_HIDE;
    ::ShowWindow(hotKeysBox_, hotKeyView);
    ::ShowWindow(grid_->Handle(), hotKeyView);
    for (const HWND button : gridButtons_) ::ShowWindow(button, hotKeyView);
    for (const HWND control : {generalBox_, autostartBox_, trayOnlyBox_, saveButton_}) {
        ::ShowWindow(control, options);
    }
}

void MainWindow::LayoutControls() {
    // Minimised, the window keeps its layout for when it is restored.
    if (!grid_ || ::IsIconic(Handle())) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    Place(pages_, 0, 0, client.right, client.bottom);
    RECT page = client;
    TabCtrl_AdjustRect(pages_, FALSE, &page);
    const int pageWidth = page.right - page.left;
    const int pageHeight = page.bottom - page.top;
    Place(hotKeysBox_, page.left, page.top, pageWidth, pageHeight);
    Place(generalBox_, page.left, page.top, pageWidth, pageHeight);

    // Inside a group box: below its caption, within its frame.
    const int border = dpi_.Scale(kGroupBorderAt96);
    const int innerLeft = page.left + border;
    const int innerWidth = pageWidth - 2 * border;
    const int innerBottom = page.bottom - border;

    const int gridButtonsTop = innerBottom - dpi_.Scale(kGridButtonRowHeightAt96);
    const int gridTop = page.top + dpi_.Scale(kGroupCaptionAt96);
    grid_->Place({innerLeft, gridTop, innerLeft + innerWidth, gridButtonsTop},
                 /*followWindow=*/!sizingItself_);
    for (std::size_t i = 0; i < kGridButtons.size(); ++i) {
        Place(gridButtons_[i], innerLeft + dpi_.Scale(kGridButtons[i].leftAt96),
              gridButtonsTop + dpi_.Scale(4), dpi_.Scale(kButtonWidthAt96),
              dpi_.Scale(kButtonHeightAt96));
    }

    Place(autostartBox_, page.left + dpi_.Scale(8), page.top + dpi_.Scale(18),
          TextFitWidth(autostartBox_, 153, kCheckBoxGlyphAt96), dpi_.Scale(kCheckBoxHeightAt96));
    Place(trayOnlyBox_, page.left + dpi_.Scale(8), page.top + dpi_.Scale(35),
          TextFitWidth(trayOnlyBox_, 169, kCheckBoxGlyphAt96), dpi_.Scale(kCheckBoxHeightAt96));
    const int saveButtonRowTop = innerBottom - dpi_.Scale(kSaveButtonRowHeightAt96);
    Place(saveButton_, innerLeft + dpi_.Scale(4), saveButtonRowTop + dpi_.Scale(9),
          dpi_.Scale(kButtonWidthAt96), dpi_.Scale(kButtonHeightAt96));
    pageBrush_.Update(pages_);
}

// The window base moves the window to its new size afterwards, which lays it out again.
void MainWindow::OnDpiChanged(const Dpi& dpi) {
    dpi_ = dpi;
    // Not made yet, the controls will be made at this DPI.
    if (!grid_) return;
    pictures_.SetPictureSize(TaskGrid::PictureSize(dpi_));
    grid_->SetDpi(dpi_);
    for (ButtonIcon& button : buttonIcons_) SetButtonIcon(button);
    OnLookChanged();
}

// The message font may have changed too: every control takes it anew.
void MainWindow::OnLookChanged() {
    if (!grid_) return;
    UniqueGdiObject font = CreateMessageFont(dpi_);
    ReplaceChildrenFont(Handle(), static_cast<HFONT>(font_.get()), static_cast<HFONT>(font.get()));
    font_ = std::move(font);
    grid_->OnThemeChanged();
    pageBrush_ = TabPageBrush();  // rendered anew as the controls paint
    LayoutControls();
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The designed widths suit an 8-point MS Sans Serif; the system's message font is usually
// wider, and a check box's caption must not be cut off.
int MainWindow::TextFitWidth(HWND control, int widthAt96, int extraAt96) const {
    wchar_t text[128] = L"";
    const int length = ::GetWindowTextW(control, text, 128);
    const HDC dc = ::GetDC(control);
    SIZE extent{};
    {
        const SelectedObject font(dc, font_.get());
        ::GetTextExtentPoint32W(dc, text, length, &extent);
    }
    ::ReleaseDC(control, dc);
    return std::max(dpi_.Scale(widthAt96), static_cast<int>(extent.cx) + dpi_.Scale(extraAt96));
}

Settings::Size MainWindow::MinimumSize() const {
    const SIZE size =
        FrameSize({dpi_.Scale(kMinimumClientAt96.cx), dpi_.Scale(kMinimumClientAt96.cy)},
                  kWindowStyle, /*exStyle=*/0, dpi_, /*menu=*/true);
    return {size.cx, size.cy};
}

Settings::Size MainWindow::DefaultSize() const {
    return {dpi_.Scale(kDefaultSizeAt96.cx), dpi_.Scale(kDefaultSizeAt96.cy)};
}

bool MainWindow::TranslateKey(MSG& message) {
    return (pages_ != nullptr && SwitchPageByKey(message)) || Window::TranslateKey(message);
}

// Ctrl+Tab and Ctrl+Shift+Tab go round the tabs; Alt and a tab's access key go to that tab.
bool MainWindow::SwitchPageByKey(const MSG& message) {
    const int pages = TabCtrl_GetItemCount(pages_);
    const int current = TabCtrl_GetCurSel(pages_);
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        ::GetKeyState(VK_CONTROL) < 0) {
        const int step = ::GetKeyState(VK_SHIFT) < 0 ? pages - 1 : 1;
        SelectPage((current + step) % pages);
        return true;
    }
    if (message.message != WM_SYSCHAR) return false;
    for (int page = 0; page < pages; ++page) {
        if (AccessKeyOf(FromWide(kPageCaptions[static_cast<std::size_t>(page)])) ==
            AsciiUpper(static_cast<char16_t>(message.wParam))) {
            SelectPage(page);
            return true;
        }
    }
    return false;
}

// As a click on its tab: a focus that was on no control, or on the page that went, goes to the
// tabs.
void MainWindow::SelectPage(int page) {
    TabCtrl_SetCurSel(pages_, page);
    ShowPage(page);
    const HWND focus = ::GetFocus();
    if (focus == nullptr || focus == Handle() || !::IsWindowVisible(focus)) ::SetFocus(pages_);
}

void MainWindow::RepaintGrid() {
    if (grid_) grid_->Refresh();
}

void MainWindow::MoveCurrentRow(int step) {
    grid_->SelectOnly(session_.MoveTask(grid_->CurrentRow(), step));
}

// The Edit button, a double click and Enter on the grid.
void MainWindow::EditCurrentRow() {
    session_.RequireReadableTaskList();
    if (TaskEditor* const editor = Editor()) editor->Edit(grid_->CurrentRow());
}

TaskEditor* MainWindow::Editor() {
    if (editor_ == nullptr && makeEditor_) {
        editor_ = &makeEditor_();
        editorWindow_ = editor_->Handle();
    }
    return editor_;
}

void MainWindow::ReportInactiveHotKeys() {
    const std::u16string note = InactiveHotKeysNote(session_.Tasks(), session_.HotKeyStatuses());
    if (!note.empty()) tray_->ShowBalloon(L"Quorvel", ToWide(note));
}

void MainWindow::ShowHotKeysInTray() {
    const bool paused = session_.HotKeysPaused();
    tray_->ShowHotKeys(paused, ToWide(TrayIconTip(session_.HotKeyStatuses(), paused)));
}

void MainWindow::OnCommand(int id) {
    // The controls' commands come only from the controls.
    if (id >= kPages && id <= kHotKeysBox && !grid_) return;
    switch (id) {
        case kAddButton:
            session_.RequireReadableTaskList();
            if (TaskEditor* const editor = Editor()) editor->Add();
            break;
        case kEditButton:
            EditCurrentRow();
            break;
        case kDeleteButton:
            session_.DeleteTasks(grid_->SelectedRows());
            grid_->SelectOnly(-1);
            break;
        case kDeleteAllButton:
            session_.DeleteAllTasks();
            break;
        case kMoveDownButton:
            MoveCurrentRow(+1);
            break;
        case kMoveUpButton:
            MoveCurrentRow(-1);
            break;
        case kSaveButton:
            OnSaveClicked();
            break;
        case kMenuExit:
            OnMenuExit();
            break;
        case kMenuAbout:
            OnAbout();
            break;
        case kShowMainWindow:
            OnShowMainWindow();
            break;
        case kTrayAbout:
            OnTrayAbout();
            break;
        case kTrayExit:
            OnTrayExit();
            break;
        case kTrayPause:
            session_.PauseHotKeys(!session_.HotKeysPaused());
            break;
        default:
            break;
    }
}

}  // namespace quorvel
