#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/error.h"
#include "common/text.h"
#include "editor/ok_step.h"

namespace quorvel {
namespace {

constexpr int kRunMyComputer = 0;
constexpr int kRunSelectedProgram = 10;
constexpr int kOpenCdRom = 13;
constexpr int kCloseCdRom = 14;
constexpr int kNormal = 0;
constexpr int kMinimze = 3;
constexpr bool kAdd = true;
constexpr bool kEdit = false;

// Records the environment calls in order; each step can be made to fail.
class FakeEnvironment : public OkStepEnvironment {
  public:
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
    void SaveTaskFile() override {
        calls.push_back("SaveTaskFile");
        if (saveFails) throw FileError(IoErrorText(3), 3);
    }
    void RegisterTaskHotKeys() override { calls.push_back("RegisterTaskHotKeys"); }
    void RebuildIcons() override { calls.push_back("RebuildIcons"); }
    void Close() override { calls.push_back("Close"); }
};

struct Row {
    std::u16string desc, hotkey, dest, typeRun, image, enabled;
    bool operator==(const Row&) const = default;
};

Row RowAt(TaskTable& table, int row) {
    auto text = [&](std::u16string_view column) { return table.CellAt(column, row).AsString(); };
    return {text(u"Desc"),     text(u"Hotkey"), text(u"Dest"),
            text(u"Type_run"), text(u"Image"),  text(u"Enabled")};
}

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

TEST(OkStep, AddAppendsTheTaskThenSavesRegistersRebuildsAndCloses) {
    TaskTable table;
    table.AppendRows(1);
    FakeEnvironment env;
    auto fields = MakeFields(kRunMyComputer, 0xC04E, u"typed", kMinimze);

    BitBtn4Click(fields, kAdd, table, env);

    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(RowAt(table, 1),
              (Row{u"Run My Computer", u"key#49230", u"typed", u"Minimze", u"0", u"True"}));
    std::vector<std::string> expected{"FormatHotKey"};
    expected.insert(expected.end(), kAllSteps.begin(), kAllSteps.end());
    EXPECT_EQ(env.calls, expected);
}

TEST(OkStep, AddShowsTheNewRowToTheViewOnlyWhenComplete) {
    TaskTable table;
    std::vector<Row> painted;
    table.SetRepaintHandler([&] {
        if (table.RowCount() > 0) painted.push_back(RowAt(table, table.RowCount() - 1));
    });
    FakeEnvironment env;
    auto fields = MakeFields(kRunMyComputer, 0x2041, u"d", kNormal);

    BitBtn4Click(fields, kAdd, table, env);

    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(),
              (Row{u"Run My Computer", u"key#8257", u"d", u"Normal", u"0", u"True"}));
    // The cells are assigned inside one batch: no repaint shows a partly written row.
    for (const Row& row : painted) {
        EXPECT_TRUE(row.desc.empty() || !row.typeRun.empty());
    }
}

TEST(OkStep, EditOverwritesTheSelectedRowAndKeepsItsPictureAndEnabledState) {
    TaskTable table;
    table.AppendRows(3);
    table.CellAt(u"Image", 1).SetAsInteger(5);
    table.CellAt(u"Enabled", 1).SetAsBoolean(false);
    table.SetSelectedRow(1);
    FakeEnvironment env;
    auto fields = MakeFields(kCloseCdRom, 0x4046, u"F:", kNormal);

    BitBtn4Click(fields, kEdit, table, env);

    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(RowAt(table, 1),
              (Row{u"Close CD-Rom", u"key#16454", u"F:", u"Normal", u"5", u"False"}));
    EXPECT_EQ(RowAt(table, 0).desc, u"");
    EXPECT_EQ(RowAt(table, 2).desc, u"");
}

TEST(OkStep, EditWithoutSelectedRowFailsBeforeWritingAnything) {
    TaskTable table;
    table.AppendRows(2);
    FakeEnvironment env;
    auto fields = MakeFields(kRunMyComputer, 0, u"x", kNormal);

    try {
        BitBtn4Click(fields, kEdit, table, env);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (-1)");
    }
    EXPECT_EQ(RowAt(table, 0).desc, u"");
    EXPECT_EQ(RowAt(table, 1).desc, u"");
    EXPECT_TRUE(env.calls.empty());
}

TEST(OkStep, EmptyHotKeyAndUnselectedRunTypeAreStoredAsEmptyTexts) {
    TaskTable table;
    FakeEnvironment env;
    auto fields = MakeFields(kRunMyComputer, 0, u"", -1);

    BitBtn4Click(fields, kAdd, table, env);

    EXPECT_EQ(RowAt(table, 0), (Row{u"Run My Computer", u"", u"", u"", u"0", u"True"}));
    EXPECT_EQ(env.calls, kAllSteps);
}

TEST(OkStep, EmptyProgramDestinationAsksForTheProgramWithTheChoosersLastName) {
    for (const bool confirmed : {true, false}) {
        TaskTable table;
        FakeEnvironment env;
        if (confirmed) env.chooserResult = u"C:\\Tools\\app.exe";
        auto fields = MakeFields(kRunSelectedProgram, 0, u"", kNormal);
        fields.chooserFileName = u"C:\\last\\used.exe";

        BitBtn4Click(fields, kAdd, table, env);

        EXPECT_EQ(env.chooserInitialName, u"C:\\last\\used.exe");
        EXPECT_EQ(RowAt(table, 0).dest, confirmed ? u"C:\\Tools\\app.exe" : u"");
        EXPECT_EQ(fields.chooserFileName,
                  confirmed ? u"C:\\Tools\\app.exe" : u"C:\\last\\used.exe");
        EXPECT_EQ(env.calls.back(), "Close") << "cancelling the chooser still stores the task";
    }
}

TEST(OkStep, TypedDestinationIsKeptForEveryAction) {
    for (const int action : {kRunSelectedProgram, kOpenCdRom, kCloseCdRom}) {
        TaskTable table;
        FakeEnvironment env;
        env.cdRomDrive = u"E";
        auto fields = MakeFields(action, 0, u"as typed", kNormal);

        BitBtn4Click(fields, kAdd, table, env);

        EXPECT_EQ(RowAt(table, 0).dest, u"as typed");
        EXPECT_EQ(env.calls, kAllSteps);
    }
}

TEST(OkStep, EmptyCdDestinationBecomesTheFirstCdRomDrive) {
    for (const auto& [drive, expected] :
         std::map<std::u16string, std::u16string>{{u"E", u"E:"}, {u"", u":"}}) {
        for (const int action : {kOpenCdRom, kCloseCdRom}) {
            TaskTable table;
            FakeEnvironment env;
            env.cdRomDrive = drive;
            auto fields = MakeFields(action, 0, u"", kNormal);

            BitBtn4Click(fields, kAdd, table, env);

            EXPECT_EQ(RowAt(table, 0).dest, expected);
        }
    }
}

TEST(OkStep, FailedSaveKeepsTheRowSkipsTheRestAndOkAgainAppendsAnother) {
    TaskTable table;
    FakeEnvironment env;
    env.saveFails = true;
    auto fields = MakeFields(kRunMyComputer, 0, u"", kNormal);

    EXPECT_THROW(BitBtn4Click(fields, kAdd, table, env), FileError);
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(env.calls, std::vector<std::string>{"SaveTaskFile"});

    EXPECT_THROW(BitBtn4Click(fields, kAdd, table, env), FileError);
    EXPECT_EQ(table.RowCount(), 2);
}

TEST(OkStep, FailedHotKeyTextLeavesTheTableUntouched) {
    class ThrowingFormat : public FakeEnvironment {
        std::u16string FormatHotKey(std::uint32_t) override { throw Error(u"no layout"); }
    } env;
    TaskTable table;
    auto fields = MakeFields(kRunMyComputer, 0x4041, u"", kNormal);

    EXPECT_THROW(BitBtn4Click(fields, kAdd, table, env), Error);
    EXPECT_EQ(table.RowCount(), 0);
}

}  // namespace
}  // namespace quorvel
