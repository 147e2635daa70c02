#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "common/error.h"
#include "editor/ok_step.h"
#include "error_text.h"
#include "session_fixture.h"
#include "tasks/action_catalogue.h"

namespace quorvel {
namespace {

// Positions in the editor's lists.
constexpr int kRunMyComputer = static_cast<int>(Action::RunMyComputer);
constexpr int kRunSelectedProgram = static_cast<int>(Action::RunSelectedProgram);
constexpr int kOpenCdRom = static_cast<int>(Action::OpenCdRom);
constexpr int kCloseCdRom = static_cast<int>(Action::CloseCdRom);
constexpr int kNormal = 0;
constexpr int kMinimze = 3;
const EditorMode kAdd = EditorMode::Add();

// The dialog around the OK step, recording what it was asked; the session is a real one.
class OkStepTest : public ::testing::Test,
                   protected testing_support::SessionFixture,
                   protected OkStepEnvironment {
  protected:
    OkStepTest() { session.StartUp(); }

    std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) override {
        chooserInitialName = initialName;
        return chooserResult;
    }
    std::u16string FirstCdRomDrive() override { return cdRomDrive; }
    void Close() override { ++closed; }

    bool Prepare(EditorFields& fields, int row) {
        return fields.PrepareForRow(session.Tasks(), row, hotKeyText, keyNames);
    }

    // OK pressed with the fields in the mode.
    void Ok(EditorFields& fields, EditorMode mode = kAdd) {
        ConfirmTask(fields, mode, session, *this);
    }
    std::vector<Task> Tasks() const { return TasksOf(session.Tasks()); }

    std::optional<std::u16string> chooserResult;
    std::u16string chooserInitialName;
    std::u16string cdRomDrive;
    int closed = 0;
};

EditorFields MakeFields(int action, std::uint16_t hotKey, std::u16string dest, int runType) {
    EditorFields fields;
    fields.actionIndex = action;
    fields.hotKey = hotKey;
    fields.destination = std::move(dest);
    fields.runTypeIndex = runType;
    return fields;
}

TEST_F(OkStepTest, AddAppendsTheTaskSavedAndBoundThenCloses) {
    session.AddTask({});
    auto fields = MakeFields(kRunMyComputer, 0xC04E, u"typed", kMinimze);

    Ok(fields);

    const Task added{u"Run My Computer", u"Ctrl+Alt+N", u"typed", u"Minimze", 0, true};
    EXPECT_EQ(Tasks(), (std::vector<Task>{{}, added}));
    EXPECT_EQ(SavedTasks()[1].actionName, added.actionName);
    EXPECT_EQ(closed, 1);

    // An empty hotkey and an unselected run type are stored as empty texts.
    fields = MakeFields(kRunMyComputer, 0, u"", -1);
    Ok(fields);
    EXPECT_EQ(Tasks().back().hotKeyText, u"");
    EXPECT_EQ(Tasks().back().runType, u"");
}

TEST_F(OkStepTest, EditOverwritesItsRowAndKeepsItsEnabledState) {
    session.AddTask({});
    session.AddTask({.enabled = false});
    auto fields = MakeFields(kCloseCdRom, 0x4046, u"F:", kNormal);

    Ok(fields, EditorMode::Edit(1));

    EXPECT_EQ(Tasks()[1], (Task{u"Close CD-Rom", u"Ctrl+F", u"F:", u"Normal", 0, false}));
}

TEST_F(OkStepTest, EditFindsTheRowsListTextsAndKeepsAHotKeyTextNoParserReadsUnlessChanged) {
    session.AddTask({u"run NOTEPAD", u"Bogus", u"", u"Minimize"});
    session.AddTask(
        {u"Run selected program...", u"Ctrl+Alt+Win+F1", u"C:\\Tools\\a.exe -q", u"Minimze"});
    EditorFields fields;
    ASSERT_TRUE(Prepare(fields, 1));
    EXPECT_EQ(fields.actionIndex, kRunSelectedProgram);
    EXPECT_EQ(fields.hotKey, 0xC070);
    EXPECT_TRUE(fields.win) << "the Win box set from the text";
    EXPECT_EQ(fields.destination, u"C:\\Tools\\a.exe -q");
    EXPECT_EQ(fields.chooserFileName, u"C:\\Tools\\a.exe -q");
    EXPECT_EQ(fields.runTypeIndex, kMinimze);

    // The action list's text is found ignoring case; a run type spelt otherwise than in its
    // list is a normal window.
    ASSERT_TRUE(Prepare(fields, 0));
    EXPECT_EQ(fields.actionIndex, 3);
    EXPECT_EQ(fields.runTypeIndex, kNormal);
    Ok(fields, EditorMode::Edit(0));
    EXPECT_EQ(Tasks()[0].hotKeyText, u"Bogus");
    ASSERT_TRUE(Prepare(fields, 0));
    fields.win = true;
    Ok(fields, EditorMode::Edit(0));
    EXPECT_EQ(Tasks()[0].hotKeyText, u"") << "Win alone is no hotkey";
    session.ReplaceTask(0, {u"Nothing like it", u"", u"", u"hide"});
    ASSERT_TRUE(Prepare(fields, 0));
    EXPECT_EQ(fields.actionIndex, -1);
    EXPECT_EQ(fields.runTypeIndex, kNormal);
}

TEST_F(OkStepTest, EditWithoutARowOpensNothingAndAddKeepsOnlyTheHotKeyAndTheChoosersName) {
    session.AddTask({u"Run Calc", u"Ctrl+Alt+F1", u"D:", u"Hide"});
    EditorFields fields;
    fields.destination = u"kept";
    EXPECT_FALSE(Prepare(fields, -1));
    EXPECT_FALSE(Prepare(fields, 1));
    EXPECT_EQ(fields.destination, u"kept");

    ASSERT_TRUE(Prepare(fields, 0));
    fields.PrepareForNewTask();
    EXPECT_EQ(fields.actionIndex, 0);
    EXPECT_EQ(fields.runTypeIndex, 0);
    EXPECT_EQ(fields.destination, u"");
    EXPECT_EQ(fields.hotKey, 0xC070);
    EXPECT_EQ(fields.chooserFileName, u"D:");
}

TEST_F(OkStepTest, EditWithoutSelectedRowChangesNothing) {
    session.AddTask({});
    auto fields = MakeFields(kRunMyComputer, 0x4041, u"x", kNormal);

    EXPECT_EQ(ErrorTextOf([&] { Ok(fields, EditorMode::Edit(-1)); }),
              u"List index out of bounds (-1)");
    EXPECT_EQ(Tasks(), (std::vector<Task>(1)));
    EXPECT_EQ(closed, 0);
}

// The click on OK takes the focus from the hotkey field, which holds the hotkeys back: OK's
// change takes them in its one registration and the views are told once.
TEST_F(OkStepTest, AnOkWhileTheHotKeyFieldHoldsTheHotKeysBackBindsEachValueOnceAndTellsOnce) {
    session.AddTask({u"Run Calc", u"Ctrl+Alt+M"});
    session.AddTask({u"Run Calc", u"Ctrl+Alt+Q"});
    int changes = 0;
    session.OnChanged = [&] { ++changes; };
    session.HoldBackHotKeys();
    api.systemCalls = 0;
    auto fields = MakeFields(kRunMyComputer, 0xC04E, u"", kNormal);

    Ok(fields);
    session.ResumeHotKeys();  // the field's loss of the focus, once the click is done

    EXPECT_EQ(api.systemCalls, 3 * 2) << "an atom and a registration for each of three values";
    EXPECT_EQ(api.registered.size(), 3u);
    EXPECT_EQ(changes, 1) << "one repaint";
}

TEST_F(OkStepTest, EmptyProgramDestinationAsksForTheProgramWithTheChoosersLastName) {
    for (const bool confirmed : {true, false}) {
        chooserResult.reset();
        if (confirmed) chooserResult = u"C:\\Tools\\app.exe";
        auto fields = MakeFields(kRunSelectedProgram, 0, u"", kNormal);
        fields.chooserFileName = u"C:\\last\\used.exe";

        Ok(fields);

        EXPECT_EQ(chooserInitialName, u"C:\\last\\used.exe");
        EXPECT_EQ(Tasks().back().dest, confirmed ? u"C:\\Tools\\app.exe" : u"");
        EXPECT_EQ(fields.chooserFileName,
                  confirmed ? u"C:\\Tools\\app.exe" : u"C:\\last\\used.exe");
    }
    EXPECT_EQ(closed, 2) << "cancelling the chooser still stores the task";
}

TEST_F(OkStepTest, TypedDestinationIsKeptAndAnEmptyCdOneBecomesTheFirstCdRomDrive) {
    cdRomDrive = u"E";
    for (const int action : {kRunSelectedProgram, kOpenCdRom, kCloseCdRom}) {
        auto fields = MakeFields(action, 0, u"as typed", kNormal);
        Ok(fields);
        EXPECT_EQ(Tasks().back().dest, u"as typed");
    }
    for (const auto& [drive, expected] :
         std::map<std::u16string, std::u16string>{{u"E", u"E:"}, {u"", u":"}}) {
        for (const int action : {kOpenCdRom, kCloseCdRom}) {
            cdRomDrive = drive;
            auto fields = MakeFields(action, 0, u"", kNormal);
            Ok(fields);
            EXPECT_EQ(Tasks().back().dest, expected);
        }
    }
}

TEST_F(OkStepTest, AFailedSaveAddsNothingSoOkAgainNeverAddsASecondRow) {
    const std::u16string path(kActionsPath);
    files.SetReadOnly(path);
    auto fields = MakeFields(kRunMyComputer, 0xC04E, u"", kNormal);

    for (int i = 0; i < 3; ++i) EXPECT_THROW(Ok(fields), FileError);
    EXPECT_TRUE(Tasks().empty());
    EXPECT_TRUE(Bound().empty()) << "no hotkey taken for a row that is not there";
    EXPECT_EQ(closed, 0) << "the dialog stays open";

    files.ClearReadOnly(path);
    Ok(fields);
    EXPECT_EQ(SavedTasks().size(), 1u);
    EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace quorvel
