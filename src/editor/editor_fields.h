#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

// The task editor's field values; the dialog loads them when shown and stores them at OK,
// and the list commands prepare them before showing it.
struct EditorFields {
    int actionIndex = -1;  // ComboBox1's selected item in the action list, -1 for none
    std::uint16_t hotKey =
        0;  // HotKey1: key code in the low byte, Shift 0x2000, Ctrl 0x4000, Alt 0x8000
    std::u16string destination;      // Combobox2's text
    int runTypeIndex = -1;           // ComboBox3's selected item in the run types, -1 for none
    std::u16string chooserFileName;  // OpenDialog1's file name

    // Edit: the row's Hotkey text and the field value made of it. While the field holds that
    // value, OK keeps the text, so that a hotkey the field cannot show (one with Win, or a text
    // no parser reads) is not lost by an edit of the other fields.
    struct RowHotkey {
        std::u16string text;
        std::uint16_t hotKey = 0;
    };
    std::optional<RowHotkey> rowHotkey;
};

// What the editor's OK writes: a new row at the end of the table, or the row Edit opened it on
// (-1 when none was selected: OK then fails with the list's error and writes nothing).
struct EditorMode {
    static EditorMode Add() { return {true, -1}; }
    static EditorMode Edit(int row) { return {false, row}; }

    bool adding;
    int row;
};

// What the list commands need of the editor window.
class EditorForm {
  public:
    virtual ~EditorForm() = default;
    virtual EditorFields& Fields() = 0;
    // Runs the dialog modally in the mode; returns when it closes.
    virtual void ShowModal(EditorMode mode) = 0;
};

}  // namespace quorvel
