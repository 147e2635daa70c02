// TForm1's window: creation, controls, layout and message dispatch.
#include "app/main_window_win.h"

#include <algorithm>

#include "app/res/app_resources.h"
#include "app/single_instance_win.h"
#include "common/error.h"
#include "common/paths.h"
#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"
#include "common/win/window_class_win.h"
#include "hotkeys/shortcut_text.h"

namespace quorvel {

TForm1* Form1 = nullptr;

namespace {

enum ControlId : int {
    kPageControl1 = 1000,
    kNextGrid1,
    kBitBtn1,  // Add
    kBitBtn2,  // Edit
    kBitBtn3,  // Delete
    kBitBtn5,  // Delete All
    kBitBtn7,  // Move down
    kBitBtn8,  // Move up
    kCheckBox1,
    kCheckBox2,
    kBitBtn4,  // Save
    kGroupBox2,
    kGroupBox3,
};

enum MenuId : int {
    kExit2 = 2000,
    kAbout1,
    kFile1,
    kAbout2,
    kExit1,
};

struct GridButton {
    int id;
    const wchar_t* caption;
    int icon;
    int leftAt96;
};
constexpr std::array<GridButton, 6> kGridButtons{{
    {kBitBtn1, L"Add", IDI_ADD, 4},
    {kBitBtn2, L"Edit", IDI_EDIT, 88},
    {kBitBtn3, L"Delete", IDI_DELETE, 173},
    {kBitBtn5, L"Delete All", IDI_DELETE_ALL, 258},
    {kBitBtn7, L"Move down", IDI_MOVE_DOWN, 343},
    {kBitBtn8, L"Move up", IDI_MOVE_UP, 428},
}};

// The window as designed, and the smallest it takes: the tabs, a few rows and the first
// buttons still show.
constexpr SIZE kDefaultSizeAt96{609, 449};
constexpr SIZE kMinimumSizeAt96{320, 240};
constexpr int kButtonWidthAt96 = 85;
constexpr int kButtonHeightAt96 = 28;
constexpr int kPanel1HeightAt96 = 34;
constexpr int kPanel2HeightAt96 = 41;
constexpr int kGroupCaptionAt96 = 15;
constexpr int kGroupBorderAt96 = 2;
constexpr int kCheckBoxHeightAt96 = 17;
constexpr int kButtonIconAt96 = 16;
constexpr int kCheckBoxGlyphAt96 = 20;  // the box and the gap before the caption

void Place(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, x, y, width, height, /*bRepaint=*/TRUE);
}

}  // namespace

TForm1::TForm1(HINSTANCE instance, FileSystem& files, TaskSessionWin& session,
               const HotKeyText& hotKeyText)
    : instance_(instance),
      dpi_(Dpi::OfScreen()),
      store_{files, registry_, ExecutablePath(), SystemErrorText},
      tasks_(session.Tasks()),
      pictures_(session.Pictures()),
      commands_(tasks_.Tasks(), [this, &hotKeyText](std::u16string_view text) {
          return ShortCutOfHotKeyText(text, hotKeyText, keyNames_);
      }) {
    icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON),
                                                ::GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0)));
    RegisterWindowClass(instance, kWindowClass, WindowProc, icon_.get(), smallIcon_.get());

    const auto [width, height] = DefaultSize();
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int left = workArea.left + (workArea.right - workArea.left - width) / 2;
    const int top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    ::CreateWindowExW(/*dwExStyle=*/0, kWindowClass, L"Quorvel Tessaly",
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top, width, height,
                      /*hWndParent=*/nullptr, /*hMenu=*/nullptr, instance, this);
    if (!window_) throw Error(u"Error creating window");
    CreateMenus();
    tasks_.OnChanged = [this] { RepaintGrid(); };
    tray_ = std::make_unique<TrayIcon>(Handle(), smallIcon_.get());
    RunHandler(Handle(), [this] { FormCreate(); });
}

TForm1::~TForm1() {
    RunHandler(Handle(), [this] { FormDestroy(); });
    tray_.reset();
    tasks_.OnChanged = nullptr;
    window_.reset();
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_.reset(hwnd);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->window_.release();
    }
    LRESULT result = 0;
    RunHandler(hwnd, [&] { result = form->HandleMessage(message, wParam, lParam); });
    return result;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) MakeControls();
            break;
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
            if (header.hwndFrom == pageControl1_ && header.code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(pageControl1_));
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

void TForm1::MakeControls() {
    if (grid_) return;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES |
                                                                          ICC_TAB_CLASSES |
                                                                          ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    font_ = CreateMessageFont();
    // The grid is the first to show the rows' pictures.
    AddStoredPicture();
    tasks_.MakePictures();
    CreateControls();
    SetCheckBox1(checkBox1Kept_);
    SetCheckBox2(checkBox2Kept_);
    for (int column = 0; column < kColumnCount; ++column) {
        const auto& width = columnWidthsKept_[static_cast<std::size_t>(column)];
        if (width) grid_->SetColumnWidth(static_cast<Column>(column), *width);
    }
}

// ImageList1's own picture, shown by the rows until the first icon rebuild replaces it (and
// when a failed load at start keeps that rebuild from running).
void TForm1::AddStoredPicture() {
    const UniqueIcon picture(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, 32, 32, 0)));
    if (picture) ImageList_AddIcon(pictures_.List(), picture.get());
}

void TForm1::CreateMenus() {
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, kExit2, L"Exit");
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(help, MF_STRING, kAbout1, L"About...");
    HMENU mainMenu1 = ::CreateMenu();
    ::AppendMenuW(mainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    ::AppendMenuW(mainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
    ::SetMenu(Handle(), mainMenu1);  // destroyed with the window

    popupMenu1_.reset(::CreatePopupMenu());
    ::AppendMenuW(popupMenu1_.get(), MF_STRING, kFile1, L"Show Main Window");
    ::AppendMenuW(popupMenu1_.get(), MF_STRING, kAbout2, L"About...");
    ::AppendMenuW(popupMenu1_.get(), MF_STRING, kExit1, L"Exit");
}

HWND TForm1::AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
                        DWORD exStyle) {
    return ::CreateWindowExW(exStyle, windowClass, text,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, Handle(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

HWND TForm1::AddButton(int id, const wchar_t* text, int iconId) {
    const HWND button = AddControl(WC_BUTTONW, text, WS_TABSTOP | BS_PUSHBUTTON, id);
    const int size = dpi_.Scale(kButtonIconAt96);
    UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, 0)));
    ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
    buttonIcons_.push_back(std::move(icon));
    return button;
}

void TForm1::CreateControls() {
    // Children are stacked in creation order, the first on top: the controls come before the
    // group boxes and the page control they sit on, which is also the Tab order.
    grid_ = std::make_unique<TaskGrid>(
        Handle(), kNextGrid1, tasks_.Tasks(),
        [this](int row) { return tasks_.HotKeyStatusAt(row); }, pictures_, dpi_,
        TaskGrid::Events{
            [this] { NextGrid1Click(); },
            [this](int row) { tasks_.SetTaskEnabled(row, !tasks_.Tasks().ViewAt(row).enabled); },
            [this] { commands_.Edit(grid_->CurrentRow()); }});
    for (std::size_t i = 0; i < kGridButtons.size(); ++i) {
        gridButtons_[i] =
            AddButton(kGridButtons[i].id, kGridButtons[i].caption, kGridButtons[i].icon);
    }
    checkBox1_ = AddControl(WC_BUTTONW, L"Auto start with Windows ", WS_TABSTOP | BS_AUTOCHECKBOX,
                            kCheckBox1);
    checkBox2_ = AddControl(WC_BUTTONW, L"Always start in system tray only",
                            WS_TABSTOP | BS_AUTOCHECKBOX, kCheckBox2);
    bitBtn4_ = AddButton(kBitBtn4, L"Save", IDI_SAVE);
    // Group boxes paint only their frame; transparent, they do not clip the page under them.
    groupBox3_ = AddControl(WC_BUTTONW, L"Hot Keys", BS_GROUPBOX, kGroupBox3, WS_EX_TRANSPARENT);
    groupBox2_ = AddControl(WC_BUTTONW, L"General", BS_GROUPBOX, kGroupBox2, WS_EX_TRANSPARENT);
    pageControl1_ = AddControl(WC_TABCONTROLW, L"", WS_TABSTOP, kPageControl1);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(L"HotKey View");
    TabCtrl_InsertItem(pageControl1_, 0, &tab);
    tab.pszText = const_cast<wchar_t*>(L"Options");
    TabCtrl_InsertItem(pageControl1_, 1, &tab);
    SetChildrenFont(Handle(), static_cast<HFONT>(font_.get()));
    ShowPage(0);
    LayoutControls();
}

void TForm1::ShowPage(int page) {
    const int hotKeyView = page == 0 ? SW_SHOW : SW_HIDE;
    const int options = page == 1 ? SW_SHOW : SW_HIDE;
    ::ShowWindow(groupBox3_, hotKeyView);
    ::ShowWindow(grid_->Handle(), hotKeyView);
    for (const HWND button : gridButtons_) ::ShowWindow(button, hotKeyView);
    for (const HWND control : {groupBox2_, checkBox1_, checkBox2_, bitBtn4_}) {
        ::ShowWindow(control, options);
    }
}

void TForm1::LayoutControls() {
    if (!grid_) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    Place(pageControl1_, 0, 0, client.right, client.bottom);
    RECT page = client;
    TabCtrl_AdjustRect(pageControl1_, FALSE, &page);
    const int pageWidth = page.right - page.left;
    const int pageHeight = page.bottom - page.top;
    Place(groupBox3_, page.left, page.top, pageWidth, pageHeight);
    Place(groupBox2_, page.left, page.top, pageWidth, pageHeight);

    // Inside a group box: below its caption, within its frame.
    const int border = dpi_.Scale(kGroupBorderAt96);
    const int innerLeft = page.left + border;
    const int innerWidth = pageWidth - 2 * border;
    const int innerBottom = page.bottom - border;

    const int panel1Top = innerBottom - dpi_.Scale(kPanel1HeightAt96);
    const int gridTop = page.top + dpi_.Scale(kGroupCaptionAt96);
    Place(grid_->Handle(), innerLeft, gridTop, innerWidth, panel1Top - gridTop);
    for (std::size_t i = 0; i < kGridButtons.size(); ++i) {
        Place(gridButtons_[i], innerLeft + dpi_.Scale(kGridButtons[i].leftAt96),
              panel1Top + dpi_.Scale(4), dpi_.Scale(kButtonWidthAt96),
              dpi_.Scale(kButtonHeightAt96));
    }

    Place(checkBox1_, page.left + dpi_.Scale(8), page.top + dpi_.Scale(18),
          TextFitWidth(checkBox1_, 153, kCheckBoxGlyphAt96), dpi_.Scale(kCheckBoxHeightAt96));
    Place(checkBox2_, page.left + dpi_.Scale(8), page.top + dpi_.Scale(35),
          TextFitWidth(checkBox2_, 169, kCheckBoxGlyphAt96), dpi_.Scale(kCheckBoxHeightAt96));
    const int panel2Top = innerBottom - dpi_.Scale(kPanel2HeightAt96);
    Place(bitBtn4_, innerLeft + dpi_.Scale(4), panel2Top + dpi_.Scale(9),
          dpi_.Scale(kButtonWidthAt96), dpi_.Scale(kButtonHeightAt96));
    pageBrush_.Update(pageControl1_);
}

// The designed widths suit an 8-point MS Sans Serif; the system's message font is usually
// wider, and a check box's caption must not be cut off.
int TForm1::TextFitWidth(HWND control, int widthAt96, int extraAt96) const {
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

SettingsWindow::Size TForm1::MinimumSize() const {
    return {dpi_.Scale(kMinimumSizeAt96.cx), dpi_.Scale(kMinimumSizeAt96.cy)};
}

SettingsWindow::Size TForm1::DefaultSize() const {
    return {dpi_.Scale(kDefaultSizeAt96.cx), dpi_.Scale(kDefaultSizeAt96.cy)};
}

bool TForm1::TranslateDialogMessage(MSG& message) {
    return Handle() != nullptr && ::IsDialogMessageW(Handle(), &message);
}

void TForm1::RepaintGrid() {
    if (grid_) grid_->Refresh();
}

void TForm1::MoveCurrentRow(int step) {
    grid_->SelectOnly(tasks_.MoveTask(grid_->CurrentRow(), step));
}

void TForm1::ReportInactiveHotKeys() {
    const std::u16string note = InactiveHotKeysNote(tasks_.Tasks(), tasks_.HotKeyStatuses());
    if (!note.empty()) tray_->ShowBalloon(L"Quorvel", ToWide(note));
}

void TForm1::OnCommand(int id) {
    // The controls' commands come only from the controls.
    if (id >= kPageControl1 && id <= kGroupBox3 && !grid_) return;
    switch (id) {
        case kBitBtn1:
            commands_.Add();
            break;
        case kBitBtn2:
            commands_.Edit(grid_->CurrentRow());
            break;
        case kBitBtn3:
            tasks_.DeleteTasks(grid_->SelectedRows());
            grid_->SelectOnly(-1);
            break;
        case kBitBtn5:
            tasks_.DeleteAllTasks();
            break;
        case kBitBtn7:
            MoveCurrentRow(+1);
            break;
        case kBitBtn8:
            MoveCurrentRow(-1);
            break;
        case kBitBtn4:
            BitBtn4Click();
            break;
        case kExit2:
            Exit2Click();
            break;
        case kAbout1:
            About1Click();
            break;
        case kFile1:
            File1Click();
            break;
        case kAbout2:
            About2Click();
            break;
        case kExit1:
            Exit1Click();
            break;
        default:
            break;
    }
}

}  // namespace quorvel
