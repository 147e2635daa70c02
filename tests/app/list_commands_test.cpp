#include "app/list_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tasks/action_catalogue.h"

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
    ListCommandsTest() { commands.SetEditor(&editor); }

    TaskTable table;
    FakeEditor editor;
    std::map<std::u16string, HotKeyValue> shortCuts{
        {u"", 0}, {u"Ctrl+Alt+F1", 0xC070}, {u"Ctrl+Alt+Win+F1", 0x1C070}};
    ListCommands commands{
        table, [this](std::u16string_view text) { return shortCuts.at(std::u16string(text)); }};
};

TEST_F(ListCommandsTest, EditCopiesTheSelectedRowIntoTheEditorFindingItsListTexts) {
    table.AppendTask({u"x"});
    table.AppendTask(
        {u"Run selected program...", u"Ctrl+Alt+Win+F1", u"C:\\Tools\\a.exe -q", u"Minimze"});
    commands.Edit(1);
    ASSERT_EQ(editor.shown.size(), 1u);
    const EditorFields& shown = editor.shown[0];
    EXPECT_FALSE(editor.modesShown[0].adding);
    EXPECT_EQ(editor.modesShown[0].row, 1);
    EXPECT_EQ(shown.actionIndex, static_cast<int>(Action::RunSelectedProgram));
    EXPECT_EQ(shown.hotKey, 0xC070);
    EXPECT_TRUE(shown.win) << "the Win box set from the text";
    EXPECT_EQ(shown.destination, u"C:\\Tools\\a.exe -q");
    EXPECT_EQ(shown.chooserFileName, u"C:\\Tools\\a.exe -q");
    EXPECT_EQ(shown.runTypeIndex, 3);

    // The action list's text is found ignoring case; a run type spelt otherwise than in its
    // list is a normal window.
    table.SetTask(0, {u"run NOTEPAD", u"", u"", u"Minimize"});
    commands.Edit(0);
    EXPECT_EQ(editor.shown[1].actionIndex, 3);
    EXPECT_EQ(editor.shown[1].runTypeIndex, 0);
    table.SetTask(0, {u"Nothing like it", u"", u"", u"hide"});
    commands.Edit(0);
    EXPECT_EQ(editor.shown[2].actionIndex, -1);
    EXPECT_EQ(editor.shown[2].runTypeIndex, 0);
}

TEST_F(ListCommandsTest, EditWithoutARowOpensNothing) {
    editor.fields.destination = u"kept";
    table.AppendTask({u"Run Calc"});
    commands.Edit(-1);
    commands.Edit(1);
    EXPECT_TRUE(editor.shown.empty());
    EXPECT_EQ(editor.fields.destination, u"kept");
}

TEST_F(ListCommandsTest, AddResetsActionRunTypeAndDestinationButKeepsTheHotKey) {
    table.AppendTask({u"Run Calc", u"Ctrl+Alt+F1", u"D:", u"Hide"});
    commands.Edit(0);
    commands.Add();
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
