// The floor of the start-up benchmark: the least a tray program does to hold the hotkeys of a
// task list, run a task and show the list. It adds each hotkey's global atom and registers the
// hotkey under it, in the order and with the flags of Quorvel's registrar, then adds a tray icon
// with Quorvel's icon and a tip as long as Quorvel's, waits in its message loop until WM_CLOSE,
// and gives everything back, last first, as Quorvel does. A press of any of its hotkeys empties
// the clipboard, the action of the task the benchmark presses. A left click on the tray icon
// shows its window, of Quorvel's designed size: the first showing reads the rows and makes a
// virtual list view of them, in Quorvel's seven columns with a 32-pixel image list that holds
// the program's icon. The close box hides the window.
//
// The shell and the common controls load at their first call, as Quorvel's do: the shell for the
// tray icon after the hotkeys, the common controls at the first showing.
//
// The working folder holds "hotkeys.txt", the hotkey values in decimal, one a line, and
// "rows.txt", each row's Description, Hotkey, Destination, Type of run and Enabled texts in
// UTF-16, separated by tabs, each row ended by a line feed.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <charconv>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "hotkeys/registrar.h"

#include "../../src/app/res/app_resources.h"
#include "startup_floor.h"

namespace {

using quorvel::HotKeyValue;

constexpr int kListId = 1;
constexpr SIZE kWindowSize{609, 449};  // Quorvel's window as designed
constexpr int kPictureSize = 32;
constexpr wchar_t kTip[] = L"Q floor";  // as long as "Quorvel"

struct ShownColumn {
    const wchar_t* header;
    int width;
};

// Quorvel's columns; the picture stands in the second, the texts of "rows.txt" from the third.
constexpr std::array<ShownColumn, 7> kColumns{{{L"#", 27},
                                               {L"", 34},
                                               {L"Description", 104},
                                               {L"Hotkey", 105},
                                               {L"Destination", 211},
                                               {L"Type of run", 59},
                                               {L"Enabled", 45}}};
constexpr int kPictureColumn = 1;
constexpr int kFirstTextColumn = 2;
constexpr std::size_t kCellsPerRow = kColumns.size() - kFirstTextColumn;

std::string FileBytes(const wchar_t* path) {
    const quorvel::UniqueFileHandle file(
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::vector<HotKeyValue> HotKeyValues(const std::string& text) {
    std::vector<HotKeyValue> values;
    const char* position = text.data();
    const char* const end = position + text.size();
    while (position < end) {
        HotKeyValue value = 0;
        const auto [next, error] = std::from_chars(position, end, value);
        if (error == std::errc()) values.push_back(value);
        position = next + 1;  // past the line break, or past what is no number
    }
    return values;
}

// The atoms of the registered hotkeys, in registration order; a value is registered once.
std::vector<ATOM> RegisterHotKeys(HWND window, const std::vector<HotKeyValue>& values) {
    std::vector<ATOM> atoms;
    std::unordered_set<HotKeyValue> seen;
    for (const HotKeyValue value : values) {
        if (!seen.insert(value).second) continue;
        const ATOM atom = ::GlobalAddAtomW(quorvel::ToWide(quorvel::HotKeyAtomName(value)).c_str());
        if (atom == 0) continue;
        const quorvel::SplitKey split = quorvel::SplitHotKey(value);
        if (::RegisterHotKey(window, atom, split.modifiers | MOD_NOREPEAT, split.key)) {
            atoms.push_back(atom);
        } else {
            ::GlobalDeleteAtom(atom);
        }
    }
    return atoms;
}

void ReleaseHotKeys(HWND window, const std::vector<ATOM>& atoms) {
    for (auto atom = atoms.rbegin(); atom != atoms.rend(); ++atom) {
        ::UnregisterHotKey(window, *atom);
        ::GlobalDeleteAtom(*atom);
    }
}

void EmptyClipboard(HWND owner) {
    if (::OpenClipboard(owner)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

// The rows' cells, each a zero-terminated text inside the file's text, which is kept whole.
class Rows {
  public:
    explicit Rows(const std::string& bytes) : text_(bytes.size() / sizeof(wchar_t), L'\0') {
        std::memcpy(text_.data(), bytes.data(), text_.size() * sizeof(wchar_t));
        const wchar_t* cell = text_.data();
        for (wchar_t& character : text_) {
            if (character == L'\t' || character == L'\n') {
                character = L'\0';
                cells_.push_back(cell);
                cell = &character + 1;
            }
        }
    }
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;

    int Count() const { return static_cast<int>(cells_.size() / kCellsPerRow); }
    const wchar_t* Cell(int row, int column) const {
        return cells_[static_cast<std::size_t>(row) * kCellsPerRow +
                      static_cast<std::size_t>(column - kFirstTextColumn)];
    }

  private:
    std::wstring text_;
    std::vector<const wchar_t*> cells_;
};

class FloorWindow {
  public:
    explicit FloorWindow(HINSTANCE instance);
    FloorWindow(const FloorWindow&) = delete;
    FloorWindow& operator=(const FloorWindow&) = delete;

    HWND Handle() const { return window_.get(); }
    void AddTrayIcon();
    void DeleteTrayIcon();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Show();
    void MakeList();
    void FillItem(LVITEMW& item) const;

    HINSTANCE instance_;
    quorvel::UniqueIcon icon_;
    quorvel::UniqueIcon smallIcon_;
    NOTIFYICONDATAW trayIcon_{};
    std::optional<Rows> rows_;
    HWND list_ = nullptr;
    quorvel::UniqueWindow window_;  // last: destroyed first, while the rest still stands
};

FloorWindow::FloorWindow(HINSTANCE instance)
    : instance_(instance),
      icon_(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON,
                                            ::GetSystemMetrics(SM_CXICON),
                                            ::GetSystemMetrics(SM_CYICON), 0))),
      smallIcon_(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0))) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &FloorWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon_.get();
    windowClass.hIconSm = smallIcon_.get();
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kFloorWindowClass;
    ::RegisterClassExW(&windowClass);
    window_.reset(::CreateWindowExW(
        /*dwExStyle=*/0, kFloorWindowClass, L"Startup floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, kWindowSize.cx, kWindowSize.cy, /*hWndParent=*/nullptr,
        /*hMenu=*/nullptr, instance, this));
}

void FloorWindow::AddTrayIcon() {
    trayIcon_.cbSize = sizeof(trayIcon_);
    trayIcon_.hWnd = Handle();
    trayIcon_.uID = 1;
    trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIcon_.uCallbackMessage = kTrayIconMessage;
    trayIcon_.hIcon = smallIcon_.get();
    std::wcsncpy(trayIcon_.szTip, kTip, std::size(trayIcon_.szTip) - 1);
    ::Shell_NotifyIconW(NIM_ADD, &trayIcon_);
}

void FloorWindow::DeleteTrayIcon() { ::Shell_NotifyIconW(NIM_DELETE, &trayIcon_); }

LRESULT CALLBACK FloorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create.lpCreateParams));
    }
    auto* const self = reinterpret_cast<FloorWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->Handle() != window) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT FloorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HOTKEY:
            EmptyClipboard(Handle());
            return 0;
        case kTrayIconMessage:
            if (lParam == WM_LBUTTONDOWN) Show();
            return 0;
        case WM_NOTIFY: {
            auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (info.hdr.hwndFrom == list_ && info.hdr.code == LVN_GETDISPINFOW) {
                FillItem(info.item);
            }
            return 0;
        }
        case WM_SYSCOMMAND:
            // The close box hides the window, as Quorvel's does.
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                ::ShowWindow(Handle(), SW_HIDE);
                return 0;
            }
            break;
        case WM_CLOSE:
            // Closing only ends the message loop: the hotkeys go back before their window.
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

void FloorWindow::Show() {
    if (list_ == nullptr) MakeList();
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
}

void FloorWindow::MakeList() {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    rows_.emplace(FileBytes(L"rows.txt"));
    RECT client{};
    ::GetClientRect(Handle(), &client);
    list_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0,
        client.right, client.bottom, Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance_, nullptr);
    ListView_SetExtendedListViewStyle(
        list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES);
    // The list view destroys its image list with itself.
    const HIMAGELIST pictures = ::ImageList_Create(kPictureSize, kPictureSize, ILC_COLOR32, 1, 1);
    ImageList_AddIcon(pictures, icon_.get());
    ListView_SetImageList(list_, pictures, LVSIL_SMALL);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_CENTER;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<wchar_t*>(kColumns[i].header);
        ListView_InsertColumn(list_, static_cast<int>(i), &column);
    }
    ListView_SetItemCountEx(list_, rows_->Count(), LVSICF_NOINVALIDATEALL);
}

void FloorWindow::FillItem(LVITEMW& item) const {
    if (item.iItem < 0 || item.iItem >= rows_->Count()) return;
    if ((item.mask & LVIF_IMAGE) != 0) {
        item.iImage = item.iSubItem == kPictureColumn ? 0 : I_IMAGENONE;
    }
    if ((item.mask & LVIF_TEXT) == 0) return;
    if (item.iSubItem >= kFirstTextColumn) {
        item.pszText = const_cast<wchar_t*>(rows_->Cell(item.iItem, item.iSubItem));
    } else if (item.cchTextMax > 0) {
        item.pszText[0] = L'\0';
        if (item.iSubItem == 0) std::swprintf(item.pszText, item.cchTextMax, L"%d", item.iItem + 1);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/) {
    FloorWindow window(instance);
    if (window.Handle() == nullptr) return 1;
    const std::vector<ATOM> atoms =
        RegisterHotKeys(window.Handle(), HotKeyValues(FileBytes(L"hotkeys.txt")));
    window.AddTrayIcon();
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    window.DeleteTrayIcon();
    ReleaseHotKeys(window.Handle(), atoms);
    return 0;
}
