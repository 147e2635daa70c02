#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names.h"
#include "tasks/task_table.h"

namespace quorvel {

// The task editor's field values; the dialog prepares them for Add or Edit, loads them when
// shown and stores them at OK.
struct EditorFields {
    // Add: the first action and run type and no destination; the hotkey field and Win box
    // keep what the last use left in them.
    void PrepareForNewTask();
    // Edit: the row's texts in the fields, its list texts found as the lists would find them,
    // its hotkey text read as the hotkey field shows it. Without the row (-1 when none is
    // selected) nothing changes and it gives false: the editor would only show the last task.
    bool PrepareForRow(const TaskTable& tasks, int row, const HotKeyText& hotKeyText,
                       const KeyNameProvider& keyNames);

    int actionIndex = -1;  // the action list's selected item, -1 for none
    // The hotkey field: key code in the low byte, Shift 0x2000, Ctrl 0x4000, Alt 0x8000.
    std::uint16_t hotKey = 0;
    bool win = false;                // the Win box beside it: the modifier the field cannot hold
    std::u16string destination;      // the destination box's text
    int runTypeIndex = -1;           // the run type list's selected item, -1 for none
    std::u16string chooserFileName;  // the file chooser's file name

    // Edit: the row's Hotkey text and the field and Win box made of it. While they hold that,
    // OK keeps the text, so that a text no parser reads is not lost by an edit of the other
    // fields.
    struct RowHotKey {
        std::u16string text;
        std::uint16_t hotKey = 0;
        bool win = false;
    };
    std::optional<RowHotKey> rowHotKey;
};

// What the editor's OK writes: a new row at the end of the table, or the row Edit opened it on
// (-1 when none was selected: OK then fails with the list's error and writes nothing).
struct EditorMode {
    static EditorMode Add() { return {true, -1}; }
    static EditorMode Edit(int row) { return {false, row}; }

    bool adding;
    int row;
};

}  // namespace quorvel
