#include "app/list_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "actions/action_catalogue.h"
#include "common/error.h"

namespace quorvel {
namespace {

// Records what the editor held each time it was shown, and in which mode.
class FakeEditor final : public EditorForm {
  public:
    EditorFields& Fields() override { return fields; }
    void ShowModal(EditorMode mode) override {
        shown.push_back(fields);
        modesShown.push_back(mode);
    }

    EditorFields fields;
    std::vector<EditorFields> shown;
    std::vector<EditorMode> modesShown;
};

class ListCommandsTest : public ::testing::Test {
  protected:
    ListCommandsTest()
        : commands(
              table, [this] { saved.push_back(Descriptions()); }, [this] { ++repaints; },
              [this](std::u16string_view text) { return shortCuts.at(std::u16string(text)); }) {
        commands.SetEditor(&editor);
    }

    void AddRows(std::initializer_list<std::u16string_view> descs) {
        for (const auto desc : descs) table.AppendTask({.desc = std::u16string(desc)});
    }
    std::vector<std::u16string> Descriptions() {
        std::vector<std::u16string> descs;
        for (int row = 0; row < table.RowCount(); ++row) descs.emplace_back(table.ViewAt(row).desc);
        return descs;
    }

    TaskTable table;
    FakeEditor editor;
    std::map<std::u16string, std::uint16_t> shortCuts{{u"", 0}, {u"Ctrl+Alt+F1", 0xC070}};
    std::vector<std::vector<std::u16string>> saved;
    int repaints = 0;
    ListCommands commands;
};

using Descs = std::vector<std::u16string>;

TEST_F(ListCommandsTest, DeleteRemovesEveryMarkedRowAndSavesOnce) {
    AddRows({u"a", u"b", u"c", u"d", u"e"});
    table.SetMarked(0, true);
    table.SetMarked(1, true);
    table.SetMarked(3, true);
    // The view copies its selection back into the marks when it repaints; it has none left.
    table.SetRepaintHandler([this] {
        ++repaints;
        table.ClearMarks();
    });
    commands.BitBtn3Click();
    EXPECT_EQ(Descriptions(), (Descs{u"c", u"e"}));
    EXPECT_EQ(saved, (std::vector<Descs>{{u"c", u"e"}}));
    EXPECT_EQ(repaints, 1);
}

TEST_F(ListCommandsTest, DeleteWithoutMarksStillWritesTheFile) {
    AddRows({u"a", u"b"});
    commands.BitBtn3Click();
    EXPECT_EQ(saved, (std::vector<Descs>{{u"a", u"b"}}));
}

TEST_F(ListCommandsTest, DeleteAllEmptiesTheTableAndSaves) {
    commands.BitBtn5Click();
    AddRows({u"a", u"b"});
    commands.BitBtn5Click();
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(saved, (std::vector<Descs>{{}, {}}));
}

TEST_F(ListCommandsTest, MoveDownTakesTheSelectionAlongAndSaves) {
    AddRows({u"a", u"b", u"c", u"d", u"e"});
    table.SetSelectedRow(1);
    commands.BitBtn7Click();
    EXPECT_EQ(Descriptions(), (Descs{u"a", u"c", u"b", u"d", u"e"}));
    EXPECT_EQ(table.SelectedRow(), 2);
    EXPECT_EQ(saved.size(), 1u);
    EXPECT_EQ(repaints > 0, true);

    commands.BitBtn8Click();
    commands.BitBtn8Click();
    EXPECT_EQ(Descriptions(), (Descs{u"b", u"a", u"c", u"d", u"e"}));
    EXPECT_EQ(table.SelectedRow(), 0);
}

TEST_F(ListCommandsTest, MovesPastTheEndsOrWithoutSelectionChangeNothingButRepaint) {
    AddRows({u"a", u"b", u"c"});
    const auto tryMove = [&](int selected, bool down) {
        table.SetSelectedRow(selected);
        const int before = repaints;
        EXPECT_NO_THROW(down ? commands.BitBtn7Click() : commands.BitBtn8Click());
        EXPECT_EQ(repaints, before + 1);
    };
    tryMove(2, true);
    tryMove(0, false);
    tryMove(-1, true);
    tryMove(-1, false);
    EXPECT_EQ(Descriptions(), (Descs{u"a", u"b", u"c"}));
    EXPECT_TRUE(saved.empty());
}

TEST_F(ListCommandsTest, FailedSaveAfterAMoveIsIgnored) {
    AddRows({u"a", u"b"});
    ListCommands failing(
        table, [] { throw Error(u"Invalid filename"); }, [this] { ++repaints; }, {});
    table.SetSelectedRow(0);
    EXPECT_NO_THROW(failing.BitBtn7Click());
    EXPECT_EQ(Descriptions(), (Descs{u"b", u"a"}));
    EXPECT_EQ(repaints, 1);
}

TEST_F(ListCommandsTest, DeleteLetsASaveFailureThrough) {
    ListCommands failing(
        table, [] { throw Error(u"Invalid filename"); }, [] {}, {});
    EXPECT_THROW(failing.BitBtn3Click(), Error);
    EXPECT_THROW(failing.BitBtn5Click(), Error);
}

TEST_F(ListCommandsTest, EditCopiesTheSelectedRowIntoTheEditor) {
    AddRows({u"x"});
    table.AppendTask(
        {u"Run selected program...", u"Ctrl+Alt+F1", u"C:\\Tools\\a.exe -q", u"Minimze"});
    table.SetSelectedRow(1);
    commands.NextGrid1CellDblClick();
    ASSERT_EQ(editor.shown.size(), 1u);
    const EditorFields& shown = editor.shown[0];
    EXPECT_FALSE(editor.modesShown[0].adding);
    EXPECT_EQ(editor.modesShown[0].row, 1);
    EXPECT_EQ(shown.actionIndex, static_cast<int>(Action::RunSelectedProgram));
    EXPECT_EQ(shown.hotKey, 0xC070);
    EXPECT_EQ(shown.destination, u"C:\\Tools\\a.exe -q");
    EXPECT_EQ(shown.chooserFileName, u"C:\\Tools\\a.exe -q");
    EXPECT_EQ(shown.runTypeIndex, 3);
    EXPECT_TRUE(saved.empty()) << "the editor's OK saves, not Edit";
}

TEST_F(ListCommandsTest, EditMatchesNamesExactlyAndFallsBackToNormal) {
    table.AppendTask({u"run NOTEPAD", u"", u"", u"Minimize"});
    table.SetSelectedRow(0);
    commands.BitBtn2Click();
    EXPECT_EQ(editor.shown[0].actionIndex, 3) << "a list box's text is found ignoring case";
    EXPECT_EQ(editor.shown[0].runTypeIndex, 0);

    table.SetTask(0, {u"Nothing like it", u"", u"", u"hide"});
    commands.BitBtn2Click();
    EXPECT_EQ(editor.shown[1].actionIndex, -1);
    EXPECT_EQ(editor.shown[1].runTypeIndex, 0);
}

TEST_F(ListCommandsTest, EditWithoutSelectionOpensTheEditorWithItsOldValues) {
    editor.fields.destination = u"kept";
    editor.fields.hotKey = 0x4041;
    editor.fields.rowHotkey = EditorFields::RowHotkey{u"of an earlier Edit", 0x4041};
    commands.BitBtn2Click();
    ASSERT_EQ(editor.shown.size(), 1u);
    EXPECT_FALSE(editor.shown[0].rowHotkey.has_value()) << "no row's text to keep";
    EXPECT_EQ(editor.shown[0].destination, u"kept");
    EXPECT_EQ(editor.shown[0].hotKey, 0x4041);
    EXPECT_EQ(editor.modesShown[0].row, -1) << "OK then reports the missing row";
}

TEST_F(ListCommandsTest, AddResetsActionRunTypeAndDestinationButKeepsTheHotkey) {
    table.AppendTask({u"Run Calc", u"Ctrl+Alt+F1", u"D:", u"Hide"});
    table.SetSelectedRow(0);
    commands.BitBtn2Click();
    commands.BitBtn1Click();
    const EditorFields& shown = editor.shown[1];
    EXPECT_TRUE(editor.modesShown[1].adding);
    EXPECT_EQ(shown.actionIndex, 0);
    EXPECT_EQ(shown.runTypeIndex, 0);
    EXPECT_EQ(shown.destination, u"");
    EXPECT_EQ(shown.hotKey, 0xC070);
    EXPECT_EQ(shown.chooserFileName, u"D:");
}

}  // namespace
}  // namespace quorvel
