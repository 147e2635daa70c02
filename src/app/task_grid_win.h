#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/window_win.h"
#include "session/hotkey_health.h"
#include "session/task_icons_win.h"
#include "tasks/task_table.h"

namespace quorvel {

// A visual style's data, closed through the theme library loaded at run time.
struct ThemeTraits {
    static HTHEME Invalid() { return nullptr; }
    static void Close(HTHEME theme);
};

// The task grid: a report-view ListView in virtual mode over the task list, so that the list
// stays the one store of the rows and a long list costs nothing to show. Rows are drawn here
// (picture, centred cells, the Enabled check box, a warning mark on a Hotkey cell whose hotkey
// does not work, with a tip that says why). The selection is the control's own.
// The columns keep the widths they are given, no narrower than their headers at first. When the
// user resizes the window, Destination takes up the width the others leave beside the vertical
// scroll bar, and columns that take up the width stay so as the scroll bar comes or goes.
class TaskGrid {
  public:
    struct Events {
        std::function<void()> click;  // mouse released over the grid, not on a check box
        // A row's Enabled check box clicked, or Space on the selected rows: the row switched.
        std::function<void(int row, bool enabled)> setEnabled;
        std::function<void()> open;  // a row double-clicked, or Enter on the selection
    };
    using HotKeyStatusSource = std::function<HotKeyStatus(int row)>;
    using PictureSourceOfRow = std::function<std::optional<PictureSource>(int row)>;

    // `pictures` stays its caller's: the list view only borrows their list.
    TaskGrid(HWND parent, int id, const TaskTable& table, HotKeyStatusSource hotKeyStatusAt,
             PictureSourceOfRow pictureAt, ImageListPictures& pictures, const Dpi& dpi,
             Events events);
    TaskGrid(const TaskGrid&) = delete;
    TaskGrid& operator=(const TaskGrid&) = delete;

    HWND Handle() const { return list_; }

    // After the list changed: its rows and statuses shown anew.
    void Refresh();

    // The selected rows in order, and the current row: the focused one when it is selected,
    // else the first selected, -1 for none.
    std::vector<int> SelectedRows() const;
    int CurrentRow() const;
    // Selects the row alone, focused and in view; -1 selects nothing.
    void SelectOnly(int row);

    // Widths in pixels at 96 DPI, by the column's storage index.
    int ColumnWidth(Column column) const;
    void SetColumnWidth(Column column, int width);
    // The width a column is made with, and the narrowest that shows any of a cell's text, at 96
    // DPI.
    static int DesignedWidth(Column column);
    static constexpr int kSmallestUsefulWidth = 20;
    // Moves the grid to its place in its window. When the user has resized the window
    // (`followWindow`) and the grid's size changed, Destination takes up the width the other
    // columns leave; otherwise every column keeps its width.
    void Place(const RECT& place, bool followWindow);
    // Destination takes up the width the other columns leave in the client area, down to its
    // header's width.
    void FitDestination();

    // Messages the grid sends its parent; OnNotify gives false for ones it does not handle.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The list view asks for its row height while it is being created.
    static UINT RowHeight(const Dpi& dpi);
    // The rows' pictures fill their height.
    static int PictureSize(const Dpi& dpi);
    // At another DPI: the marks, the tip and the rows' height (the pictures' list, drawn at
    // the new size already, set again). The new font comes with WM_SETFONT.
    void SetDpi(const Dpi& dpi);
    // The visual style changed: the check boxes are drawn with the new one, or without.
    void OnThemeChanged();
    void OnDrawItem(const DRAWITEMSTRUCT& item) const;

  private:
    // The list view's messages, before and after its own handling.
    LRESULT HandleListMessage(ControlMessage& message);
    void AddColumns();
    // With the header's font: every column at least as wide as its header's text.
    void FitHeaders(HFONT font);
    int ColumnsWidth() const;
    bool ColumnsEndAtTheEdge() const;
    void CreateTip();
    void TrackTipCell(POINT point);
    void RelayToTip(UINT message, WPARAM wParam, LPARAM lParam);
    void FillTip(NMTTDISPINFOW& info);
    int EnabledBoxAt(POINT point) const;
    // Keys the list view has no use for of its own; true when handled.
    bool OnKey(UINT message, WPARAM key);
    // Space: every selected row takes the state opposite to the current row's, as the list
    // view's own check boxes do.
    void SwitchSelectedRows();
    // Space and Enter act on the selection; with none, on the row the focus shows, selected
    // first.
    void SelectFocusedRowIfNone();
    // The grid shows where the keyboard is as it takes the focus: the current row, else the
    // first.
    void ShowFocusedRow();
    // A cell's text: the table's, with a Hotkey cell's reason after it when the row is marked,
    // and Enabled's state in words.
    std::u16string CellText(Column column, int row) const;
    void DrawCell(HDC dc, int shownColumn, int row, const RECT& cell, bool selected,
                  COLORREF background) const;
    void DrawCheckBox(HDC dc, const RECT& cell, bool checked, COLORREF background) const;
    // A pattern brush of the style's check box in that state on that background.
    HBRUSH ThemedCheckBox(HDC dc, bool checked, COLORREF background) const;
    void LoadWarningIcon();

    const TaskTable& table_;
    HotKeyStatusSource hotKeyStatusAt_;
    PictureSourceOfRow pictureAt_;
    ImageListPictures& pictures_;
    Dpi dpi_;
    Events events_;
    HWND list_ = nullptr;
    UniqueHandle<ThemeTraits> buttonTheme_;  // none without theme support
    struct CheckBoxPicture {
        bool checked;
        COLORREF background;
        UniqueGdiObject brush;
    };
    // Drawn with buttonTheme_ at the grid's DPI as rows needed them.
    mutable std::vector<CheckBoxPicture> checkBoxPictures_;
    UniqueIcon warningIcon_;
    HWND tip_ = nullptr;  // owned by the list view, destroyed with it
    WPARAM heldKey_ = 0;  // Space or Enter, down since it acted
    int tipRow_ = -1;     // the row whose marked Hotkey cell the tip's tool covers
    std::wstring tipText_;
    std::array<int, kColumnCount> headerWidths_{};  // each header's text with its margins
    std::optional<ControlSubclass> listSubclass_;   // last: undone before the rest goes
};

}  // namespace quorvel
