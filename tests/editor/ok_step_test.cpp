#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "actions/action_catalogue.h"
#include "common/error.h"
#include "common/text.h"
#include "editor/ok_step.h"
#include "error_text.h"
#include "task_rows.h"

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

// The dialog and the task steps, recording their calls in order; the save can be made to fail.
class FakeEnvironment : public OkStepEnvironment, public TaskSteps {
  public:
    TaskTable table;
    std::vector<std::string> calls;
    std::optional<std::u16string> chooserResult;
    std::u16string chooserInitialName;
    std::u16string cdRomDrive;
    bool saveFails = false;

    std::optional<std::u16string> ChooseProgramFile(const std::u16string& initialName) override {
        calls.push_back("ChooseProgramFile");
        chooserInitialName = initialName;
        return chooserResult;
    }
    std::u16string FirstCdRomDrive() override {
        calls.push_back("FirstCdRomDrive");
        return cdRomDrive;
    }
    std::u16string FormatHotKey(std::uint32_t hotKey) override {
        calls.push_back("FormatHotKey");
        return u"key#" + ToText(hotKey);
    }
    TaskTable& NextGrid1() override { return table; }
    void SaveTaskFile() override {
        calls.push_back("SaveTaskFile");
        if (saveFails) throw FileError(IoErrorText(3), 3);
    }
    void RegisterTaskHotKeys() override { calls.push_back("RegisterTaskHotKeys"); }
    void RebuildIcons() override { calls.push_back("RebuildIcons"); }
    void Close() override { calls.push_back("Close"); }
};

EditorFields MakeFields(int action, std::uint16_t hotKey, std::u16string dest, int runType) {
    EditorFields fields;
    fields.actionIndex = action;
    fields.hotKey = hotKey;
    fields.destination = std::move(dest);
    fields.runTypeIndex = runType;
    return fields;
}

const std::vector<std::string> kAllSteps{"SaveTaskFile", "RegisterTaskHotKeys", "RebuildIcons",
                                         "Close"};

// OK pressed with the fields in the mode: the task written into env.table, the steps recorded.
void Ok(EditorFields& fields, FakeEnvironment& env, EditorMode mode = kAdd) {
    BitBtn4Click(fields, mode, env, env);
}

TEST(OkStep, AddAppendsTheTaskThenSavesRegistersRebuildsAndCloses) {
    FakeEnvironment env;
    env.table.AppendRows(1);
    auto fields = MakeFields(kRunMyComputer, 0xC04E, u"typed", kMinimze);

    Ok(fields, env);

    ASSERT_EQ(env.table.RowCount(), 2);
    EXPECT_EQ(env.table.TaskAt(1),
              (Task{u"Run My Computer", u"key#49230", u"typed", u"Minimze", 0, true}));
    std::vector<std::string> expected{"FormatHotKey"};
    expected.insert(expected.end(), kAllSteps.begin(), kAllSteps.end());
    EXPECT_EQ(env.calls, expected);
}

TEST(OkStep, AddShowsTheNewRowToTheViewOnlyWhenComplete) {
    FakeEnvironment env;
    std::vector<Task> painted;
    env.table.SetRepaintHandler([&] {
        if (env.table.RowCount() > 0) painted.push_back(env.table.TaskAt(env.table.RowCount() - 1));
    });
    auto fields = MakeFields(kRunMyComputer, 0x2041, u"d", kNormal);

    Ok(fields, env);

    // No repaint shows a partly written row.
    EXPECT_EQ(painted, (std::vector<Task>{{u"Run My Computer", u"key#8257", u"d", u"Normal"}}));
}

TEST(OkStep, EditOverwritesItsRowAndKeepsItsPictureAndEnabledState) {
    FakeEnvironment env;
    env.table = TableOf({{}, {.image = 5, .enabled = false}, {}});
    auto fields = MakeFields(kCloseCdRom, 0x4046, u"F:", kNormal);

    Ok(fields, env, EditorMode::Edit(1));

    EXPECT_EQ(
        TasksOf(env.table),
        (std::vector<Task>{{}, {u"Close CD-Rom", u"key#16454", u"F:", u"Normal", 5, false}, {}}));
}

TEST(OkStep, EditWithoutSelectedRowFailsBeforeWritingAnything) {
    FakeEnvironment env;
    env.table.AppendRows(2);
    auto fields = MakeFields(kRunMyComputer, 0, u"x", kNormal);

    EXPECT_EQ(ErrorTextOf([&] { Ok(fields, env, EditorMode::Edit(-1)); }),
              u"List index out of bounds (-1)");
    EXPECT_EQ(TasksOf(env.table), (std::vector<Task>(2)));
    EXPECT_TRUE(env.calls.empty());
}

TEST(OkStep, EmptyHotKeyAndUnselectedRunTypeAreStoredAsEmptyTexts) {
    FakeEnvironment env;
    auto fields = MakeFields(kRunMyComputer, 0, u"", -1);

    Ok(fields, env);

    EXPECT_EQ(env.table.TaskAt(0), (Task{.desc = u"Run My Computer"}));
    EXPECT_EQ(env.calls, kAllSteps);
}

TEST(OkStep, EmptyProgramDestinationAsksForTheProgramWithTheChoosersLastName) {
    for (const bool confirmed : {true, false}) {
        FakeEnvironment env;
        if (confirmed) env.chooserResult = u"C:\\Tools\\app.exe";
        auto fields = MakeFields(kRunSelectedProgram, 0, u"", kNormal);
        fields.chooserFileName = u"C:\\last\\used.exe";

        Ok(fields, env);

        EXPECT_EQ(env.chooserInitialName, u"C:\\last\\used.exe");
        EXPECT_EQ(env.table.ViewAt(0).dest, confirmed ? u"C:\\Tools\\app.exe" : u"");
        EXPECT_EQ(fields.chooserFileName,
                  confirmed ? u"C:\\Tools\\app.exe" : u"C:\\last\\used.exe");
        EXPECT_EQ(env.calls.back(), "Close") << "cancelling the chooser still stores the task";
    }
}

TEST(OkStep, TypedDestinationIsKeptForEveryAction) {
    for (const int action : {kRunSelectedProgram, kOpenCdRom, kCloseCdRom}) {
        FakeEnvironment env;
        env.cdRomDrive = u"E";
        auto fields = MakeFields(action, 0, u"as typed", kNormal);

        Ok(fields, env);

        EXPECT_EQ(env.table.ViewAt(0).dest, u"as typed");
        EXPECT_EQ(env.calls, kAllSteps);
    }
}

TEST(OkStep, EmptyCdDestinationBecomesTheFirstCdRomDrive) {
    for (const auto& [drive, expected] :
         std::map<std::u16string, std::u16string>{{u"E", u"E:"}, {u"", u":"}}) {
        for (const int action : {kOpenCdRom, kCloseCdRom}) {
            FakeEnvironment env;
            env.cdRomDrive = drive;
            auto fields = MakeFields(action, 0, u"", kNormal);

            Ok(fields, env);

            EXPECT_EQ(env.table.ViewAt(0).dest, expected);
        }
    }
}

TEST(OkStep, FailedSaveKeepsTheRowSkipsTheRestAndOkAgainAppendsAnother) {
    FakeEnvironment env;
    env.saveFails = true;
    auto fields = MakeFields(kRunMyComputer, 0, u"", kNormal);

    EXPECT_THROW(Ok(fields, env), FileError);
    EXPECT_EQ(env.table.RowCount(), 1);
    EXPECT_EQ(env.calls, std::vector<std::string>{"SaveTaskFile"});

    EXPECT_THROW(Ok(fields, env), FileError);
    EXPECT_EQ(env.table.RowCount(), 2);
}

TEST(OkStep, FailedHotKeyTextLeavesTheTableUntouched) {
    class ThrowingFormat : public FakeEnvironment {
        std::u16string FormatHotKey(std::uint32_t) override { throw Error(u"no layout"); }
    } env;
    auto fields = MakeFields(kRunMyComputer, 0x4041, u"", kNormal);

    EXPECT_THROW(Ok(fields, env), Error);
    EXPECT_EQ(env.table.RowCount(), 0);
}

}  // namespace
}  // namespace quorvel
