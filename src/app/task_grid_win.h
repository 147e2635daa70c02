#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <functional>
#include <string>

#include "app/hotkey_health.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "editor/task_icons_win.h"
#include "tasks/task_table.h"

namespace quorvel {

// A visual style's data, closed through the theme library loaded at run time.
struct ThemeTraits {
    static HTHEME Invalid() { return nullptr; }
    static void Close(HTHEME theme);
};

// NextGrid1 on screen: a report-view ListView in virtual mode over the task table, so that the
// table stays the one store of the rows and a long list costs nothing to show. Rows are drawn
// here (picture, centred cells, the Enabled check box, a warning mark on a Hotkey cell whose
// hotkey does not work, with a tip that says why). The control's selection is copied into
// the table's selected row and marks as the user changes it, and back after the table changes.
class TaskGrid {
  public:
    struct Events {
        std::function<void()> click;         // mouse released over the grid (NextGrid1Click)
        std::function<void()> enabledClick;  // an Enabled check box toggled, before the click
        std::function<void()> cellDblClick;  // NextGrid1CellDblClick
        std::function<void()> scheduleSync;  // post a call of SyncSelectionToView
    };
    using HotKeyStatusSource = std::function<HotKeyStatus(int row)>;

    // `pictures` stays its caller's: the list view only borrows their list.
    TaskGrid(HWND parent, int id, TaskTable& table, HotKeyStatusSource hotKeyStatusAt,
             const ImageListPictures& pictures, const Dpi& dpi, Events events);
    ~TaskGrid();
    TaskGrid(const TaskGrid&) = delete;
    TaskGrid& operator=(const TaskGrid&) = delete;

    HWND Handle() const { return list_; }

    // After the table changed: the row count now, the selection soon (once per burst).
    void Refresh();
    void SyncSelectionToView();

    // Widths in pixels at 96 DPI, by the column's storage index.
    int ColumnWidth(Column column) const;
    void SetColumnWidth(Column column, int width);

    // Messages the grid sends its parent; OnNotify gives false for ones it does not handle.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The list view asks for its row height while it is being created.
    static UINT RowHeight(const Dpi& dpi);
    void OnDrawItem(const DRAWITEMSTRUCT& item) const;

  private:
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR subclassId, DWORD_PTR grid);
    void AddColumns();
    void CreateTip();
    void TrackTipCell(POINT point);
    void RelayToTip(UINT message, WPARAM wParam, LPARAM lParam);
    void FillTip(NMTTDISPINFOW& info);
    bool ToggleEnabledAt(POINT point);
    // A cell's text: the table's, with a Hotkey cell's reason after it when the row is marked.
    std::u16string CellText(Column column, int row) const;
    void SyncSelectionFromView(int changedRow);
    void DrawCell(HDC dc, int shownColumn, int row, const RECT& cell, bool selected) const;
    void DrawCheckBox(HDC dc, const RECT& cell, bool checked) const;

    TaskTable& table_;
    HotKeyStatusSource hotKeyStatusAt_;
    const ImageListPictures& pictures_;
    Dpi dpi_;
    Events events_;
    HWND list_ = nullptr;
    UniqueHandle<ThemeTraits> buttonTheme_;  // none without theme support
    UniqueIcon warningIcon_;
    HWND tip_ = nullptr;  // owned by the list view, destroyed with it
    int tipRow_ = -1;     // the row whose marked Hotkey cell the tip's tool covers
    std::wstring tipText_;
    bool syncingToView_ = false;
    bool syncScheduled_ = false;
};

}  // namespace quorvel
