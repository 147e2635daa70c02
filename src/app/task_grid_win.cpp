#include "app/task_grid_win.h"

#include <vsstyle.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "common/error.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace {

struct ShownColumn {
    Column column;
    const wchar_t* header;
    int widthAt96;
    UINT cellAlignment;  // DT_CENTER or DT_LEFT
};

// The grid shows the columns in another order than the table stores them.
constexpr std::array<ShownColumn, kColumnCount> kShownColumns{{
    {kNumberColumn, L"#", 27, DT_CENTER},
    {kImageColumn, L"", 34, DT_CENTER},
    {kDescColumn, L"Description", 104, DT_LEFT},
    {kHotKeyColumn, L"Hotkey", 105, DT_CENTER},
    {kDestColumn, L"Destination", 211, DT_LEFT},
    {kTypeRunColumn, L"Type of run", 59, DT_CENTER},
    {kEnabledColumn, L"Enabled", 45, DT_CENTER},
}};
constexpr int kRowHeightAt96 = 32;
constexpr int kCheckBoxSizeAt96 = 13;
constexpr int kTextPaddingAt96 = 4;
constexpr int kWarningIconAt96 = 16;
constexpr int kTipWidthAt96 = 320;
// A header's text and the margins the header keeps on both sides of it.
constexpr int kHeaderMarginsAt96 = 16;
// Enough passes for a scroll bar that comes or goes with the new width.
constexpr int kFitPasses = 3;
constexpr UINT_PTR kTipTool = 1;

// Theme support comes from the system folder at run time: uxtheme.dll is not among the
// libraries Windows always takes from its own folder, so the executable does not import it.
constexpr wchar_t kThemeLibrary[] = L"uxtheme.dll";

// Null without theme support, and then check boxes are drawn plain.
HTHEME OpenButtonTheme(HWND window) {
    try {
        return LateBound<decltype(::OpenThemeData)>(kThemeLibrary, "OpenThemeData")(window,
                                                                                    L"BUTTON");
    } catch (const Error&) {
        return nullptr;
    }
}

int ShownIndexOf(Column column) {
    for (int i = 0; i < kColumnCount; ++i) {
        if (kShownColumns[i].column == column) return i;
    }
    return -1;
}

}  // namespace

// A theme was opened, so its library is there.
void ThemeTraits::Close(HTHEME theme) {
    LateBound<decltype(::CloseThemeData)>(kThemeLibrary, "CloseThemeData")(theme);
}

TaskGrid::TaskGrid(HWND parent, int id, const TaskTable& table, HotKeyStatusSource hotKeyStatusAt,
                   PictureSourceOfRow pictureAt, ImageListPictures& pictures, const Dpi& dpi,
                   Events events)
    : table_(table),
      hotKeyStatusAt_(std::move(hotKeyStatusAt)),
      pictureAt_(std::move(pictureAt)),
      pictures_(pictures),
      dpi_(dpi),
      events_(std::move(events)) {
    list_ = MakeControl(parent,
                        {WC_LISTVIEWW, L"",
                         WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA |
                             LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                         WS_EX_CLIENTEDGE, id},
                        dpi_, /*font=*/nullptr);
    ListView_SetExtendedListViewStyle(
        list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    ListView_SetImageList(list_, pictures_.List(), LVSIL_SMALL);
    buttonTheme_.reset(OpenButtonTheme(list_));
    LoadWarningIcon();
    AddColumns();
    CreateTip();
    Refresh();  // the rows the table holds already
}

void TaskGrid::AddColumns() {
    for (int i = 0; i < kColumnCount; ++i) {
        const ShownColumn& shown = kShownColumns[i];
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_CENTER;
        column.cx = dpi_.Scale(shown.widthAt96);
        column.pszText = const_cast<wchar_t*>(shown.header);
        ListView_InsertColumn(list_, i, &column);
    }
    // The list view keeps its first column's header left-aligned; the header control itself
    // centres it like the others.
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    item.fmt = HDF_CENTER | HDF_STRING;
    Header_SetItem(ListView_GetHeader(list_), 0, &item);
}

// One tool over the list view, moved to the marked Hotkey cell under the mouse: the list view
// passes its mouse messages on, and the tip asks for its text as it shows.
void TaskGrid::CreateTip() {
    tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, list_, /*hMenu=*/nullptr,
                             /*hInstance=*/nullptr, /*lpParam=*/nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = list_;
    tool.uId = kTipTool;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, dpi_.Scale(kTipWidthAt96));
    listSubclass_.emplace(list_,
                          [this](ControlMessage& message) { return HandleListMessage(message); });
}

LRESULT TaskGrid::HandleListMessage(ControlMessage& message) {
    const UINT id = message.message;
    if (id >= WM_MOUSEFIRST && id <= WM_MOUSELAST) {
        RelayToTip(id, message.wParam, message.lParam);
    } else if (id == WM_KEYDOWN || id == WM_CHAR || id == WM_KEYUP || id == WM_KILLFOCUS) {
        if (OnKey(id, message.wParam)) return 0;
    } else if (id == WM_NOTIFY) {
        auto& header = *reinterpret_cast<NMHDR*>(message.lParam);
        if (header.hwndFrom == tip_ && header.code == TTN_GETDISPINFOW) {
            FillTip(reinterpret_cast<NMTTDISPINFOW&>(header));
            return 0;
        }
    } else if (id == WM_GETDLGCODE) {
        // Enter reaches the list view instead of the dialog navigation, which has no default
        // button to press with it.
        return TakeEnterKey(message);
    }
    const LRESULT result = message.Default();
    // The list view has taken the new font or focus by now.
    if (id == WM_SETFOCUS) {
        ShowFocusedRow();
    } else if (id == WM_SETFONT) {
        FitHeaders(reinterpret_cast<HFONT>(message.wParam));
    }
    return result;
}

void TaskGrid::RelayToTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) TrackTipCell({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    MSG relayed{list_, message, wParam, lParam, 0, {}};
    ::SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TaskGrid::TrackTipCell(POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    ListView_SubItemHitTest(list_, &hit);
    const bool marked = hit.iItem >= 0 && hit.iItem < table_.RowCount() &&
                        hit.iSubItem == ShownIndexOf(kHotKeyColumn) &&
                        NeedsWarning(hotKeyStatusAt_(hit.iItem));
    const int row = marked ? hit.iItem : -1;
    if (row == tipRow_) return;
    // Another cell: the tip goes, and the tool covers the new cell (or nothing).
    tipRow_ = row;
    ::SendMessageW(tip_, TTM_POP, 0, 0);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = list_;
    tool.uId = kTipTool;
    if (marked) ListView_GetSubItemRect(list_, hit.iItem, hit.iSubItem, LVIR_BOUNDS, &tool.rect);
    ::SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The cell's text as its title, under a warning mark, and what to do about it.
void TaskGrid::FillTip(NMTTDISPINFOW& info) {
    info.lpszText = nullptr;
    if (tipRow_ < 0 || tipRow_ >= table_.RowCount()) return;
    const HotKeyStatus status = hotKeyStatusAt_(tipRow_);
    if (!NeedsWarning(status)) return;
    const std::wstring title = ToWide(HotKeyWarningText(table_.ViewAt(tipRow_).hotKeyText, status));
    ::SendMessageW(tip_, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
    tipText_ = ToWide(HotKeyAdvice(status));
    info.lpszText = tipText_.data();
}

void TaskGrid::Refresh() {
    // The rows or their statuses changed: the tip waits for the next mouse move.
    tipRow_ = -1;
    ::SendMessageW(tip_, TTM_POP, 0, 0);
    // Columns that took up the width stay so as the vertical scroll bar comes or goes.
    const bool fitted = ColumnsEndAtTheEdge();
    ListView_SetItemCountEx(list_, table_.RowCount(), LVSICF_NOSCROLL);
    if (fitted) FitDestination();
    ::InvalidateRect(list_, nullptr, FALSE);
}

std::vector<int> TaskGrid::SelectedRows() const {
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
         row >= 0 && row < table_.RowCount();
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

int TaskGrid::CurrentRow() const {
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (focused >= 0 && focused < table_.RowCount() &&
        ListView_GetItemState(list_, focused, LVIS_SELECTED) != 0) {
        return focused;
    }
    const int first = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    return first < table_.RowCount() ? first : -1;
}

void TaskGrid::SelectOnly(int row) {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0 || row >= table_.RowCount()) return;
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list_, row);
    ListView_EnsureVisible(list_, row, FALSE);
}

int TaskGrid::ColumnWidth(Column column) const {
    return dpi_.Unscale(ListView_GetColumnWidth(list_, ShownIndexOf(column)));
}

int TaskGrid::DesignedWidth(Column column) { return kShownColumns[ShownIndexOf(column)].widthAt96; }

void TaskGrid::SetColumnWidth(Column column, int width) {
    // Each change lays the list out and paints it again.
    const int shown = ShownIndexOf(column);
    if (ListView_GetColumnWidth(list_, shown) != dpi_.Scale(width)) {
        ListView_SetColumnWidth(list_, shown, dpi_.Scale(width));
    }
}

void TaskGrid::Place(const RECT& place, bool followWindow) {
    RECT before{};
    ::GetWindowRect(list_, &before);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    ::MoveWindow(list_, place.left, place.top, width, height, /*bRepaint=*/TRUE);
    const bool laidOutBefore = before.right > before.left;
    const bool resized =
        width != before.right - before.left || height != before.bottom - before.top;
    if (followWindow && laidOutBefore && resized) FitDestination();
}

void TaskGrid::FitHeaders(HFONT font) {
    const HWND header = ListView_GetHeader(list_);
    const HDC dc = ::GetDC(header);
    {
        const SelectedObject selected(dc, font);
        for (int shown = 0; shown < kColumnCount; ++shown) {
            const std::wstring_view text = kShownColumns[shown].header;
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
            headerWidths_[shown] = static_cast<int>(extent.cx) + dpi_.Scale(kHeaderMarginsAt96);
        }
    }
    ::ReleaseDC(header, dc);
    for (int shown = 0; shown < kColumnCount; ++shown) {
        if (ListView_GetColumnWidth(list_, shown) < headerWidths_[shown]) {
            ListView_SetColumnWidth(list_, shown, headerWidths_[shown]);
        }
    }
}

int TaskGrid::ColumnsWidth() const {
    int total = 0;
    for (int shown = 0; shown < kColumnCount; ++shown)
        total += ListView_GetColumnWidth(list_, shown);
    return total;
}

bool TaskGrid::ColumnsEndAtTheEdge() const {
    RECT client{};
    ::GetClientRect(list_, &client);
    return client.right > 0 && ColumnsWidth() == client.right;
}

void TaskGrid::FitDestination() {
    const int destination = ShownIndexOf(kDestColumn);
    for (int pass = 0; pass < kFitPasses; ++pass) {
        RECT client{};
        ::GetClientRect(list_, &client);
        if (client.right <= 0) break;  // not laid out yet
        const int current = ListView_GetColumnWidth(list_, destination);
        const int others = ColumnsWidth() - current;
        const int width =
            std::max(headerWidths_[destination], static_cast<int>(client.right) - others);
        if (width == current) break;
        ListView_SetColumnWidth(list_, destination, width);
    }
}

bool TaskGrid::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_) return false;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            // Owner drawing paints the rows; the text still serves type-ahead and accessibility.
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
            if ((info.item.mask & LVIF_TEXT) && info.item.iItem < table_.RowCount() &&
                info.item.iSubItem >= 0 && info.item.iSubItem < kColumnCount) {
                const std::wstring text =
                    ToWide(CellText(kShownColumns[info.item.iSubItem].column, info.item.iItem));
                ::lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
            }
            return true;
        }
        case NM_CLICK: {
            const int row = EnabledBoxAt(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction);
            if (row >= 0) {
                events_.setEnabled(row, !table_.ViewAt(row).enabled);
            } else {
                events_.click();
            }
            return true;
        }
        case NM_DBLCLK:
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) events_.open();
            return true;
        default:
            return false;
    }
}

bool TaskGrid::OnKey(UINT message, WPARAM key) {
    // A key held down acts once: until it comes up, or the focus leaves with it.
    if (message == WM_KILLFOCUS || (message == WM_KEYUP && key == heldKey_)) heldKey_ = 0;
    if (message == WM_KILLFOCUS || message == WM_KEYUP) return false;
    const bool modified = ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0;
    // Ctrl+Space is the list view's own: it marks the focused row or unmarks it.
    if (modified || table_.RowCount() == 0) return false;
    if (message == WM_CHAR) return key == L' ' || key == L'\r';  // no type-ahead for these
    if (key == VK_SPACE || key == VK_RETURN) {
        if (key == heldKey_) return true;
        heldKey_ = key;
    }
    if (key == VK_SPACE) {
        SwitchSelectedRows();
        return true;
    }
    if (key == VK_RETURN) {
        SelectFocusedRowIfNone();
        events_.open();
        return true;
    }
    return false;
}

void TaskGrid::SwitchSelectedRows() {
    SelectFocusedRowIfNone();
    const int current = CurrentRow();
    if (current < 0) return;
    const bool enabled = !table_.ViewAt(current).enabled;
    for (const int row : SelectedRows()) {
        if (table_.ViewAt(row).enabled != enabled) events_.setEnabled(row, enabled);
    }
}

void TaskGrid::SelectFocusedRowIfNone() {
    if (ListView_GetNextItem(list_, -1, LVNI_SELECTED) >= 0) return;
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (focused >= 0 && focused < table_.RowCount()) SelectOnly(focused);
}

void TaskGrid::ShowFocusedRow() {
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (table_.RowCount() == 0 || (focused >= 0 && focused < table_.RowCount())) return;
    const int row = std::max(CurrentRow(), 0);
    ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED);
}

int TaskGrid::EnabledBoxAt(POINT point) const {
    LVHITTESTINFO hit{};
    hit.pt = point;
    ListView_SubItemHitTest(list_, &hit);
    if (hit.iItem < 0 || hit.iItem >= table_.RowCount()) return -1;
    return hit.iSubItem == ShownIndexOf(kEnabledColumn) ? hit.iItem : -1;
}

std::u16string TaskGrid::CellText(Column column, int row) const {
    // The box's state in words, for a screen reader.
    if (column == kEnabledColumn) return table_.ViewAt(row).enabled ? u"Enabled" : u"Disabled";
    if (column != kHotKeyColumn) return table_.TextAt(column, row);
    return HotKeyCellText(table_.ViewAt(row).hotKeyText, hotKeyStatusAt_(row));
}

UINT TaskGrid::RowHeight(const Dpi& dpi) { return static_cast<UINT>(dpi.Scale(kRowHeightAt96)); }

int TaskGrid::PictureSize(const Dpi& dpi) { return dpi.Scale(kRowHeightAt96); }

// The system's warning icon at the size drawn (the shared one is the large size).
void TaskGrid::LoadWarningIcon() {
    const int iconSize = dpi_.Scale(kWarningIconAt96);
    warningIcon_.reset(static_cast<HICON>(
        ::LoadImageW(/*hInst=*/nullptr, IDI_WARNING, IMAGE_ICON, iconSize, iconSize, 0)));
}

void TaskGrid::SetDpi(const Dpi& dpi) {
    dpi_ = dpi;
    LoadWarningIcon();
    checkBoxPictures_.clear();  // drawn at the old size
    ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, dpi_.Scale(kTipWidthAt96));
    // The list view measures its rows again as it takes the list.
    ListView_SetImageList(list_, pictures_.List(), LVSIL_SMALL);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void TaskGrid::OnThemeChanged() {
    buttonTheme_.reset(OpenButtonTheme(list_));
    checkBoxPictures_.clear();
    ::InvalidateRect(list_, nullptr, TRUE);
}

void TaskGrid::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    const int row = static_cast<int>(item.itemID);
    if (row < 0 || row >= table_.RowCount()) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = ::GetFocus() == list_;
    // Each background with its own text colour, as high-contrast schemes pair them.
    const auto [background, foreground] = !selected ? std::pair{COLOR_WINDOW, COLOR_WINDOWTEXT}
                                          : focused
                                              ? std::pair{COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT}
                                              : std::pair{COLOR_BTNFACE, COLOR_BTNTEXT};
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(background));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(foreground));
    RECT cell = item.rcItem;
    const UniqueGdiObject linePen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT)));
    const SelectedObject selectedPen(item.hDC, linePen.get());
    for (int shown = 0; shown < kColumnCount; ++shown) {
        cell.right = cell.left + ListView_GetColumnWidth(list_, shown);
        DrawCell(item.hDC, shown, row, cell, selected, ::GetSysColor(background));
        ::MoveToEx(item.hDC, cell.right - 1, cell.top, nullptr);
        ::LineTo(item.hDC, cell.right - 1, cell.bottom);
        cell.left = cell.right;
    }
    ::MoveToEx(item.hDC, item.rcItem.left, item.rcItem.bottom - 1, nullptr);
    ::LineTo(item.hDC, cell.right, item.rcItem.bottom - 1);
    if ((item.itemState & ODS_FOCUS) && focused) ::DrawFocusRect(item.hDC, &item.rcItem);
}

void TaskGrid::DrawCell(HDC dc, int shownColumn, int row, const RECT& cell, bool selected,
                        COLORREF background) const {
    const ShownColumn& shown = kShownColumns[shownColumn];
    const TaskView task = table_.ViewAt(row);
    if (shown.column == kImageColumn) {
        // Rows with the same picture share it in the list.
        const auto source = pictureAt_(row);
        const int picture = source ? pictures_.PictureOf(*source) : -1;
        if (picture >= 0) {
            int width = 0;
            int height = 0;
            ImageList_GetIconSize(pictures_.List(), &width, &height);
            ImageList_Draw(pictures_.List(), picture, dc, (cell.left + cell.right - width) / 2,
                           (cell.top + cell.bottom - height) / 2,
                           selected ? ILD_SELECTED : ILD_NORMAL);
        }
        return;
    }
    if (shown.column == kEnabledColumn) {
        DrawCheckBox(dc, cell, task.enabled, background);
        return;
    }
    const std::wstring text = ToWide(CellText(shown.column, row));
    RECT textRect = cell;
    ::InflateRect(&textRect, -dpi_.Scale(kTextPaddingAt96), 0);
    UINT alignment = shown.cellAlignment;
    if (shown.column == kHotKeyColumn && NeedsWarning(hotKeyStatusAt_(row))) {
        // The mark before the text, which then starts beside it.
        const int size = dpi_.Scale(kWarningIconAt96);
        ::DrawIconEx(dc, textRect.left, (cell.top + cell.bottom - size) / 2, warningIcon_.get(),
                     size, size, /*istepIfAniCur=*/0, /*hbrFlickerFreeDraw=*/nullptr, DI_NORMAL);
        textRect.left += size + dpi_.Scale(kTextPaddingAt96);
        alignment = DT_LEFT;
    }
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                alignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TaskGrid::DrawCheckBox(HDC dc, const RECT& cell, bool checked, COLORREF background) const {
    const int size = dpi_.Scale(kCheckBoxSizeAt96);
    RECT box;
    box.left = (cell.left + cell.right - size) / 2;
    box.top = (cell.top + cell.bottom - size) / 2;
    box.right = box.left + size;
    box.bottom = box.top + size;
    if (buttonTheme_) {
        POINT origin{};
        ::SetBrushOrgEx(dc, box.left, box.top, &origin);
        ::FillRect(dc, &box, ThemedCheckBox(dc, checked, background));
        ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    } else {
        ::DrawFrameControl(dc, &box, DFC_BUTTON,
                           DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
    }
}

// The style's drawing is slow under Wine (a fifth of a millisecond a box): each state on each
// background is drawn once, and copied from then on.
HBRUSH TaskGrid::ThemedCheckBox(HDC dc, bool checked, COLORREF background) const {
    for (const CheckBoxPicture& picture : checkBoxPictures_) {
        if (picture.checked == checked && picture.background == background) {
            return static_cast<HBRUSH>(picture.brush.get());
        }
    }
    const int size = dpi_.Scale(kCheckBoxSizeAt96);
    const RECT box{0, 0, size, size};
    const HDC memory = ::CreateCompatibleDC(dc);
    const UniqueGdiObject bitmap(::CreateCompatibleBitmap(dc, size, size));
    {
        const SelectedObject selected(memory, bitmap.get());
        const UniqueGdiObject fill(::CreateSolidBrush(background));
        ::FillRect(memory, &box, static_cast<HBRUSH>(fill.get()));
        static const auto drawThemeBackground =
            LateBound<decltype(::DrawThemeBackground)>(kThemeLibrary, "DrawThemeBackground");
        drawThemeBackground(buttonTheme_.get(), memory, BP_CHECKBOX,
                            checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, &box, nullptr);
    }
    ::DeleteDC(memory);
    checkBoxPictures_.push_back(
        {checked, background,
         UniqueGdiObject(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())))});
    return static_cast<HBRUSH>(checkBoxPictures_.back().brush.get());
}

}  // namespace quorvel
