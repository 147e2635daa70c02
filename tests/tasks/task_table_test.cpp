#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "error_text.h"
#include "task_rows.h"
#include "tasks/task_table.h"
#include "tasks/task_table_load.h"

namespace quorvel {
namespace {

TEST(TaskTable, NewRowsTakeColumnDefaults) {
    TaskTable t;
    t.AppendTask({});
    t.AppendTask({});
    ASSERT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.TextAt(kNumberColumn, 1), u"2");
    EXPECT_EQ(t.TextAt(kImageColumn, 0), u"0");
    EXPECT_EQ(t.TextAt(kEnabledColumn, 0), u"True");
    EXPECT_EQ(t.TextAt(kDescColumn, 0), u"");
}

// The number column is the position whatever was read; the picture and Enabled convert.
TEST(TaskTable, ReadTextsConvertAsTheirColumnsHold) {
    const std::u16string_view pool = u"42-7x1";
    using Piece = TaskTableLoad::TextPiece;
    TaskTable t;
    TaskTableLoad load(t);
    load.Start({pool.begin(), pool.end()});
    load.AppendRow(std::vector<Piece>{{0, 2}, {}, {}, {}, {}, {}});
    load.AppendRow(std::vector<Piece>{{}, {}, {}, {}, {}, {2, 2}});
    EXPECT_EQ(t.TextAt(kNumberColumn, 0), u"1");
    EXPECT_EQ(t.ViewAt(0).image, 0);
    EXPECT_EQ(t.TextAt(kImageColumn, 1), u"-7");
    EXPECT_EQ(ErrorTextOf([&] {
                  load.AppendRow(std::vector<Piece>{{}, {}, {}, {}, {}, {4, 2}});
              }),
              u"'x1' is not a valid integer value");
    for (auto [text, expected] : {std::pair{u"1", true},
                                  {u"TRUE", true},
                                  {u"true", true},
                                  {u"", false},
                                  {u"2", false},
                                  {u"yes", false}}) {
        const std::u16string_view enabled = text;
        TaskTableLoad reading(t);
        reading.Start({enabled.begin(), enabled.end()});
        reading.AppendRow(std::vector<Piece>{
            {}, {}, {}, {}, {}, {}, {0, static_cast<std::uint32_t>(enabled.size())}});
        EXPECT_EQ(t.ViewAt(0).enabled, expected) << ToUtf8(text);
    }
}

TEST(TaskTable, RowsMoveAndNumbersFollowPositions) {
    TaskTable t;
    for (int r = 0; r < 3; ++r) t.AppendTask({.actionName = ToText(r)});
    t.RelocateRow(0, 2);
    EXPECT_EQ(t.TextAt(kDescColumn, 0), u"1");
    EXPECT_EQ(t.TextAt(kDescColumn, 2), u"0");
    EXPECT_EQ(t.TextAt(kNumberColumn, 2), u"3");
    t.RemoveRow(1);
    EXPECT_EQ(t.TextAt(kDescColumn, 1), u"0");
    EXPECT_EQ(ErrorTextOf([&] { t.RelocateRow(1, 2); }), u"List index out of bounds (2)");
    t.ClearRows();
    EXPECT_EQ(t.RowCount(), 0);
}

TEST(TaskTable, TasksAreWrittenWholeAndReadAsTheirCellsRead) {
    TaskTable t;
    t.AppendTask({u"Run Calc", u"Ctrl+K", u"C:\\x, y", u"Hide", -4, false});
    t.AppendTask({.actionName = u"Run Notepad"});
    EXPECT_EQ(t.TextAt(kImageColumn, 1), u"0");
    EXPECT_EQ(t.TextAt(kEnabledColumn, 1), u"True");
    t.SetTask(1, t.TaskAt(0));
    t.SetEnabled(1, true);
    t.SetImage(0, 9);
    EXPECT_EQ(TasksOf(t),
              (std::vector<Task>{{u"Run Calc", u"Ctrl+K", u"C:\\x, y", u"Hide", 9, false},
                                 {u"Run Calc", u"Ctrl+K", u"C:\\x, y", u"Hide", -4, true}}));
    EXPECT_EQ(t.ViewAt(1).dest, t.TextAt(kDestColumn, 1));
    EXPECT_EQ(ErrorTextOf([&] { t.SetImage(2, 0); }), u"List index out of bounds (2)");
    EXPECT_EQ(ErrorTextOf([&] { t.ViewAt(-1); }), u"List index out of bounds (-1)");
}

TEST(TaskTable, TextsSurviveReassignmentsRemovalsAndMoves) {
    // Enough reassignments to make the table reclaim the space of replaced texts many times.
    TaskTable t;
    std::vector<std::u16string> expected;
    for (int r = 0; r < 40; ++r) t.AppendTask({});
    expected.resize(40);
    for (int round = 0; round < 400; ++round) {
        for (int row = 0; row < t.RowCount(); ++row) {
            std::u16string text(static_cast<std::size_t>((round * 7 + row) % 23), u'a');
            text += ToText(round * 1000 + row);
            t.SetTask(row, {.dest = text});
            expected[row] = text;
        }
        if (round % 50 == 0) {
            t.RemoveRow(round % t.RowCount());
            expected.erase(expected.begin() + round % static_cast<int>(expected.size()));
            t.RelocateRow(0, t.RowCount() - 1);
            std::rotate(expected.begin(), expected.begin() + 1, expected.end());
        }
    }
    ASSERT_EQ(t.RowCount(), static_cast<int>(expected.size()));
    for (int row = 0; row < t.RowCount(); ++row) {
        EXPECT_EQ(t.TextAt(kDestColumn, row), expected[row]) << row;
        EXPECT_EQ(t.TextAt(kDescColumn, row), u"");
    }
}

// Rows read out of one buffer: the cells hold pieces of it, texts added at its end too.
TEST(TaskTable, AppendRowTakesPiecesOfTheTextPoolInColumnOrderUntilATextFails) {
    TaskTable t = TableOf({{u"old", u"", u"", u"", 0, true}});
    const std::u16string_view pool = u"9abcd50surplus|no";
    TaskTableLoad load(t);
    load.Start({pool.begin(), pool.end()});
    using Piece = TaskTableLoad::TextPiece;
    const Piece full[] = {
        {0, 1}, {1, 1}, {2, 1}, load.Store(u"c\r\n", {3, 1}), load.Store(u"d", {7, 7}),
        {5, 1}, {6, 1}, {8, 6}};
    load.AppendRow(full);
    // A text that fits its room is put there, a longer one at the end.
    EXPECT_EQ(TasksOf(t), (std::vector<Task>{{u"a", u"b", u"c\r\n", u"d", 5, false}}));
    EXPECT_EQ(load.Text().substr(7, 1), u"d");
    EXPECT_EQ(t.TextAt(kNumberColumn, 0), u"1");

    const Piece bad[] = {{0, 1}, {1, 1}, {2, 1}, {}, {}, {15, 2}, {6, 1}};
    EXPECT_EQ(ErrorTextOf([&] { load.AppendRow(bad); }), u"'no' is not a valid integer value");
    EXPECT_EQ(TasksOf(t).back(), (Task{u"a", u"b", u"", u"", 0, true}));

    // Texts assigned later go to the same pool without disturbing the rows read.
    t.SetTask(1, {.dest = u"new"});
    EXPECT_EQ(TasksOf(t)[0].dest, u"c\r\n");
    EXPECT_EQ(TasksOf(t)[1].dest, u"new");
}

}  // namespace
}  // namespace quorvel
