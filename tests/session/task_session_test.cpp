#include "session/task_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "error_text.h"
#include "session_fixture.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Status = HotKeyStatus;

constexpr HotKeyValue kCtrlAltN = 0xC04E;
constexpr HotKeyValue kCtrlAltM = 0xC04D;
constexpr HotKeyValue kCtrlAltQ = 0xC051;
constexpr HotKeyValue kCtrlShiftK = 0x604B;

class TaskSessionTest : public ::testing::Test, protected testing_support::SessionFixture {
  protected:
    TaskSessionTest() {
        session.OnChanged = [this] { ++changes; };
        session.OnHotKeysChanged = [this] { ++hotKeyChanges; };
        session.OnMissingHotKeys = [this](bool missing) { retrying.push_back(missing); };
    }
    std::vector<Status> Statuses() const {
        return {session.HotKeyStatuses().begin(), session.HotKeyStatuses().end()};
    }
    // The tasks as the user wrote them: the picture cells are the session's numbers.
    static std::vector<Task> Written(std::vector<Task> tasks) {
        for (Task& task : tasks) task.image = 0;
        return tasks;
    }
    std::vector<Task> Tasks() const { return Written(TasksOf(session.Tasks())); }
    std::vector<Task> Saved() { return Written(SavedTasks()); }
    void StartWith(std::initializer_list<Task> tasks) {
        session.StartUp();
        for (const Task& task : tasks) session.AddTask(task);
        api.systemCalls = 0;
        changes = hotKeyChanges = 0;
    }

    // The programs the presses started and their show commands, forgotten as they are read.
    std::vector<std::pair<std::u16string, int>> Started() {
        std::vector<std::pair<std::u16string, int>> started;
        for (const auto& launch : system.launcher.launches)
            started.emplace_back(launch.file, launch.showCommand);
        system.launcher.launches.clear();
        return started;
    }

    int changes = 0;
    int hotKeyChanges = 0;       // what the tray is told
    std::vector<bool> retrying;  // whether the registrar retries, as it changes
    const std::u16string path{kActionsPath};
};

TEST_F(TaskSessionTest, StartUpReadsTheTasksAndBindsTheEnabledRowsHotKeysAndNumbersThePictures) {
    WriteActionsFile(
        u"1,Run Calc,Ctrl+Alt+N,,Normal,7,True\r\n2,Run Notepad,Ctrl+Alt+M,,Normal,0,False\r\n"
        u"3,Run Calc,,,,0,True\r\n4,Run Calc,Bogus,,,0,True\r\n5,Run "
        u"Notepad,Ctrl+Alt+N,,,0,True\r\n6,Run Calc,Ctrl+Alt+Q,,,0,True\r\n7,Open CD-Rom,"
        u"Ctrl+Alt+Q,,,0,True\r\n");
    api.registered[1] = {0x9999, kModControl | kModAlt, 0x51};  // another program's Ctrl+Alt+Q

    session.StartUp();

    EXPECT_EQ(session.Tasks().RowCount(), 7);
    EXPECT_EQ(session.Tasks().ViewAt(2).image, 2);
    EXPECT_EQ(session.PictureOfRow(6), PictureSource(IconFile{u"SHELL32.dll", 188}));
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN}) << "once, and not the disabled row's";
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kActive, Status::kDisabled,
                                               Status::kNoHotKey, Status::kNotOnLayout,
                                               Status::kActive, Status::kInUse, Status::kInUse}));
    EXPECT_EQ(ToUtf8(InactiveHotKeysNote(session.Tasks(), session.HotKeyStatuses())),
              "4 hotkeys are not active\nRun Calc: (no hotkey)\nRun Calc: Bogus (not a hotkey on "
              "this keyboard layout)\nRun Calc: Ctrl+Alt+Q (in use by another program)\n...");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(files.Writes(path), 1) << "only the test's own: the list stays saved";
}

TEST_F(TaskSessionTest, EveryVerbSavesBindsAndTellsTheViewsOnce) {
    StartWith({});
    const Task calc{u"Run Calc", u"Ctrl+Alt+N"};
    const Task notepad{u"Run Notepad", u"Ctrl+Alt+M"};
    const Task cd{u"Open CD-Rom", u"Ctrl+Alt+Q", u"E:"};
    const auto expectEverywhere = [&](const std::vector<Task>& tasks, int changeCount) {
        EXPECT_EQ(Tasks(), tasks);
        EXPECT_EQ(Saved(), tasks) << "saved";
        EXPECT_EQ(changes, changeCount) << "one notice per change";
    };

    session.AddTask(calc);
    session.AddTask(notepad);
    session.AddTask(cd);
    expectEverywhere({calc, notepad, cd}, 3);
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM, kCtrlAltQ}));

    EXPECT_EQ(session.MoveTask(0, +1), 1);
    EXPECT_EQ(session.MoveTask(2, -1), 1);
    expectEverywhere({notepad, cd, calc}, 5);
    EXPECT_EQ(hotKeyChanges, 3) << "a move leaves every status as it was";
    EXPECT_EQ(session.MoveTask(2, +1), 2) << "past the end: nothing";
    EXPECT_EQ(session.MoveTask(-1, -1), -1);
    expectEverywhere({notepad, cd, calc}, 5);

    session.SetTaskEnabled(0, false);
    Task off = notepad;
    off.enabled = false;
    expectEverywhere({off, cd, calc}, 6);
    EXPECT_EQ(hotKeyChanges, 4);
    EXPECT_EQ(api.AtomCount(kCtrlAltM), 0) << "a disabled task gives its hotkey back";

    const Task renamed{u"Run Command Promt", u"Ctrl+Shift+K", u"", u"Hide"};
    session.ReplaceTask(2, renamed);
    expectEverywhere({off, cd, renamed}, 7);
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltQ, kCtrlShiftK}));
    Press(kCtrlShiftK);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"cmd.exe", 0})) << "the row runs as it reads now";

    const std::vector<int> rows{2, 0};
    session.DeleteTasks(rows);
    expectEverywhere({cd}, 8);
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltQ});

    session.DeleteAllTasks();
    expectEverywhere({}, 9);
    EXPECT_TRUE(api.registered.empty());
}

TEST_F(TaskSessionTest, AChangeThatCannotBeSavedIsNotMade) {
    const Task calc{u"Run Calc", u"Ctrl+Alt+N"};
    const Task notepad{u"Run Notepad", u"Ctrl+Alt+M"};
    StartWith({calc, notepad});
    const auto saved = files.Files().at(path);
    files.SetReadOnly(path);
    const std::vector<int> firstRow{0};
    const Task added{u"Run Calc", u"Ctrl+Alt+Q"};
    const std::function<void()> edits[] = {
        [&] { session.AddTask(added); },          [&] { session.AddTask(added); },
        [&] { session.ReplaceTask(0, added); },   [&] { session.DeleteTasks(firstRow); },
        [&] { session.DeleteAllTasks(); },        [&] { session.MoveTask(0, +1); },
        [&] { session.SetTaskEnabled(0, false); }};
    for (const auto& edit : edits) {
        EXPECT_EQ(ErrorTextOf(edit), u"Cannot write file \"" + path + u"\". File access denied");
    }
    EXPECT_EQ(Tasks(), (std::vector<Task>{calc, notepad})) << "no row added twice, none lost";
    EXPECT_EQ(files.Files().at(path), saved);
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM}));
    EXPECT_EQ(changes, 0);
    Press(kCtrlAltN);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"calc.exe", 1}));

    EXPECT_EQ(ErrorTextOf([&] { session.ReplaceTask(5, calc); }), u"List index out of bounds (5)");
    EXPECT_EQ(Tasks(), (std::vector<Task>{calc, notepad}));
}

TEST_F(TaskSessionTest, WarningsKeepARealHotKeyWholeAndCutAnyLongerText) {
    EXPECT_EQ(HotKeyWarningText(u"Ctrl+Shift+Alt+Win+Scroll Lock", Status::kInUse),
              u"Ctrl+Shift+Alt+Win+Scroll Lock (in use by another program)");
    const std::u16string junk = std::u16string(5000, u'x') + u"\t";
    const std::u16string cut = std::u16string(40, u'x') + u"...";
    EXPECT_EQ(HotKeyWarningText(junk, Status::kNotOnLayout),
              cut + u" (not a hotkey on this keyboard layout)");
    const TaskTable table = TableOf({{junk, junk, u"", u"", 0}});
    const std::vector<Status> statuses{Status::kNotOnLayout};
    EXPECT_EQ(InactiveHotKeysNote(table, statuses), u"1 hotkey is not active\n" + cut + u": " +
                                                        cut +
                                                        u" (not a hotkey on this keyboard layout)");
}

TEST_F(TaskSessionTest, RegistrationsFollowTheListOncePerValueAndRetryARefusal) {
    session.StartUp();
    for (int i = 0; i < 3; ++i) session.AddTask({u"Run Calc", u"Ctrl+Alt+N"});
    EXPECT_EQ(api.AtomCount(kCtrlAltN), 1) << "one atom and one registration per value";
    api.systemCalls = 0;
    session.SetTaskEnabled(0, true);
    EXPECT_EQ(api.systemCalls, 0) << "nothing changed, nothing asked";

    session.SetTaskEnabled(0, false);
    session.SetTaskEnabled(1, false);
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN}) << "one enabled row keeps it";
    session.SetTaskEnabled(2, false);
    EXPECT_THAT(Bound(), IsEmpty());
    session.SetTaskEnabled(1, true);
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN});

    // A refused hotkey is tried again at each registration.
    api.registerError = testing_support::FakeHotKeyApi::kErrorNotEnoughMemory;
    session.AddTask({u"Run Calc", u"Ctrl+Alt+Q"});
    EXPECT_EQ(session.HotKeyStatusAt(3), Status::kRefused);
    api.registerError = 0;
    session.SetTaskEnabled(3, true);
    EXPECT_EQ(session.HotKeyStatusAt(3), Status::kActive);
}

TEST_F(TaskSessionTest, AHotKeyAnotherProgramHeldIsTakenOnARetryAndTheRetriesStopThen) {
    WriteActionsFile(
        u"1,Run Calc,Ctrl+Alt+N,,,0,True\r\n2,Run Notepad,Ctrl+Alt+Q,,,0,True\r\n"
        u"3,Run Calc,Bogus,,,0,True\r\n");
    api.registered[1] = {0x9999, kModControl | kModAlt, 0x51};  // another program's Ctrl+Alt+Q
    session.StartUp();
    EXPECT_EQ(Statuses(),
              (std::vector<Status>{Status::kActive, Status::kInUse, Status::kNotOnLayout}));
    EXPECT_EQ(retrying, std::vector<bool>{true});

    // Still held: the retry asks for that hotkey alone, and nothing changes.
    api.systemCalls = 0;
    changes = 0;
    session.RetryMissingHotKeys();
    EXPECT_EQ(api.systemCalls, 3) << "an atom added, a registration refused, the atom given up";
    EXPECT_EQ(changes, 0);

    // Let go: taken at the next retry, the row and the views follow and the retries stop.
    api.registered.erase(1);
    session.RetryMissingHotKeys();
    EXPECT_EQ(Statuses(),
              (std::vector<Status>{Status::kActive, Status::kActive, Status::kNotOnLayout}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(retrying.back(), false);
    Press(kCtrlAltQ);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"notepad.exe", 1}));
    api.systemCalls = 0;
    session.RetryMissingHotKeys();
    EXPECT_EQ(api.systemCalls, 0) << "nothing missing, nothing asked";

    // A refusal of another kind does not come right by waiting: no retries for it.
    api.registerError = testing_support::FakeHotKeyApi::kErrorNotEnoughMemory;
    session.AddTask({u"Run Calc", u"Ctrl+Alt+M"});
    EXPECT_EQ(session.HotKeyStatusAt(3), Status::kRefused);
    EXPECT_EQ(retrying, (std::vector<bool>{true, false})) << "told only as it changes";
}

TEST_F(TaskSessionTest, APauseGivesEveryHotKeyBackEditsTakeNoneAndUnpausingFollowsTheList) {
    Task off{u"Run Notepad", u"Ctrl+Alt+M"};
    off.enabled = false;
    StartWith({{u"Run Calc", u"Ctrl+Alt+N"}, off, {u"Run Calc", u""}});
    session.PauseHotKeys(true);
    EXPECT_TRUE(api.registered.empty());
    EXPECT_EQ(api.AtomCount(kCtrlAltN), 0);
    EXPECT_EQ(Statuses(),
              (std::vector<Status>{Status::kPaused, Status::kDisabled, Status::kNoHotKey}));
    EXPECT_EQ(changes, 1);

    // Paused, the list changes and is saved as ever, and no hotkey is taken or retried.
    session.AddTask({u"Run Calc", u"Ctrl+Alt+Q"});
    session.SetTaskEnabled(1, true);
    session.RetryMissingHotKeys();
    EXPECT_EQ(Saved().size(), 4u);
    EXPECT_TRUE(api.registered.empty());
    EXPECT_EQ(session.HotKeyStatusAt(3), Status::kPaused);

    // Meanwhile another program took Ctrl+Alt+Q: unpaused, the rest is taken and it is missing.
    api.registered[1] = {0x9999, kModControl | kModAlt, 0x51};
    session.PauseHotKeys(false);
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM}));
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kActive, Status::kActive, Status::kNoHotKey,
                                               Status::kInUse}));
    EXPECT_TRUE(retrying.back());
    Press(kCtrlAltN);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"calc.exe", 1}));

    // While the editor's hotkey field holds them back, a pause and its end take nothing.
    session.HoldBackHotKeys();
    EXPECT_FALSE(retrying.back());
    session.PauseHotKeys(true);
    session.PauseHotKeys(false);
    session.RetryMissingHotKeys();
    EXPECT_EQ(api.registered.size(), 1u) << "the other program's alone";
    session.ResumeHotKeys();
    EXPECT_EQ(Bound(), (std::vector<HotKeyValue>{kCtrlAltN, kCtrlAltM}));
}

TEST_F(TaskSessionTest, TheTrayTipCountsTheHotKeysThatDoNotWorkOrSaysTheyArePaused) {
    const std::vector<Status> fine{Status::kActive, Status::kDisabled};
    const std::vector<Status> two{Status::kInUse, Status::kActive, Status::kNoHotKey};
    EXPECT_EQ(TrayIconTip(fine, false), u"Quorvel");
    EXPECT_EQ(TrayIconTip(two, false), u"Quorvel\n2 hotkeys are not active");
    EXPECT_EQ(TrayIconTip(two, true), u"Quorvel\nHotkeys are paused");
}

// Until the list changes its rows show the program's picture for the number 0, none for others.
TEST_F(TaskSessionTest, AFailedReadKeepsItsRowsAndTheirPictureNumbersAndStillBinds) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,,3,True\r\n2,Run Notepad,Ctrl+Alt+M,,,bad,True\r\n");
    session.StartUp();
    EXPECT_EQ(session.Tasks().RowCount(), 2);
    EXPECT_EQ(session.PictureOfRow(0), std::nullopt);
    EXPECT_EQ(session.PictureOfRow(1), PictureSource(ProgramPicture()));
    // The row the reading stopped in is off: its hotkey stays free.
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN});
    EXPECT_TRUE(session.TaskFileRead().damaged);
    EXPECT_EQ(session.TaskFileRead().backup, path + u".bak");
    session.SetTaskEnabled(1, true);
    EXPECT_EQ(session.PictureOfRow(0), PictureSource(IconFile{u"calc.exe", 0}));
}

TEST_F(TaskSessionTest, NothingIsSavedBeforeTheStartUpReadAndAFirstStartIsEmpty) {
    session.SaveTaskFile();
    EXPECT_FALSE(files.FileExists(path));
    session.StartUp();
    EXPECT_EQ(session.Tasks().RowCount(), 0);
    session.SaveTaskFile();
    EXPECT_EQ(files.ReadFile(path), Utf16LittleEndian(u""));

    // Saved as it stands, the list is not written again, so an unwritable file is no news.
    files.SetReadOnly(path);
    EXPECT_NO_THROW(session.SaveTaskFile());
    EXPECT_EQ(files.Writes(path), 1);
}

TEST_F(TaskSessionTest, AFileHeldAtStartIsTriedAgainAndTheHotKeysComeUp) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,Normal,0,True\r\n");
    files.SetLocked(path, 32);
    int pauses = 0;
    session.PauseBeforeRetry = [&] {
        if (++pauses == 3) files.ClearLocked(path);
    };
    session.StartUp();
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN});
    EXPECT_EQ(DamagedTaskFileNote(session.TaskFileRead(), 1), u"");
}

// Held for longer than the tries: no tasks, nothing changes the list, nothing writes the file,
// until an activation of the window reads it.
TEST_F(TaskSessionTest, AFileThatCannotBeReadIsLeftAloneUntilARetryReadsIt) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,Normal,0,True\r\n");
    const auto original = files.Files().at(path);
    files.SetLocked(path, 32);
    int pauses = 0;
    session.PauseBeforeRetry = [&] { ++pauses; };
    session.StartUp();
    EXPECT_EQ(pauses, 11);
    EXPECT_EQ(session.Tasks().RowCount(), 0);
    EXPECT_THAT(Bound(), IsEmpty());
    files.ClearLocked(path);
    const std::u16string unreadable = UnreadableTaskListText(session.TaskFileRead());
    EXPECT_NE(unreadable.find(u"The file is in use by another program."), std::u16string::npos);
    const std::vector<int> noRows;
    const std::function<void()> edits[] = {
        [&] { session.AddTask({u"Run Calc"}); }, [&] { session.DeleteTasks(noRows); },
        [&] { session.DeleteAllTasks(); }, [&] { session.MoveTask(0, 1); },
        [&] { session.RequireReadableTaskList(); }};
    for (const auto& edit : edits) EXPECT_EQ(ErrorTextOf(edit), unreadable);
    session.SaveTaskFile();
    session.SaveTaskFileBeforeExit();
    EXPECT_EQ(files.Files().at(path), original);
    EXPECT_EQ(files.Files().size(), 1u) << "no copy either";

    changes = 0;
    EXPECT_TRUE(session.RetryUnreadableTaskFile());
    EXPECT_FALSE(session.RetryUnreadableTaskFile()) << "read once is enough";
    EXPECT_EQ(Bound(), std::vector<HotKeyValue>{kCtrlAltN});
    EXPECT_EQ(session.PictureOfRow(0), PictureSource(IconFile{u"calc.exe", 0}));
    EXPECT_EQ(changes, 1);
    session.AddTask({u"Run Notepad", u"Ctrl+Alt+M"});
    EXPECT_EQ(Saved().size(), 2u);
}

// The file is written when its bytes would change: another form, picture numbers. A file that
// cannot be written is no news at a save moment, only at the exit; another program's change is
// left as it is until the list changes, and then kept in a backup, with a notice. One that no
// longer reads whole is kept so at once, and the list written.
TEST_F(TaskSessionTest, SaveMomentsWriteWhenTheFileWouldChangeAndKeepAnotherProgramsChange) {
    WriteActionsFile(u"1,Run Calc,Ctrl+Alt+N,,Normal,5,TRUE\r\n");
    const auto foreign = files.Files().at(path);
    std::vector<std::u16string> notes;
    session.OnTaskFileNote = [&](const std::u16string& note) { notes.push_back(note); };
    session.StartUp();
    files.SetReadOnly(path);
    for (int moment = 0; moment < 10; ++moment) EXPECT_NO_THROW(session.SaveTaskFile());
    EXPECT_EQ(ErrorTextOf([&] { session.SaveTaskFileBeforeExit(); }),
              u"Cannot write file \"" + path + u"\". File access denied");
    files.ClearReadOnly(path);
    session.SaveTaskFile();
    session.SaveTaskFile();
    EXPECT_EQ(files.ReadFile(path), Utf16LittleEndian(u"1,Run Calc,Ctrl+Alt+N,,Normal,0,True\r\n"));
    EXPECT_EQ(files.Writes(path), 2);

    session.AddTask({u"Run Notepad", u"Ctrl+Alt+M"});
    EXPECT_EQ(SavedTasks().at(1).image, 1) << "the new row's picture";

    const auto appended = Utf16LittleEndian(
        u"1,Run Calc,Ctrl+Alt+N,,Normal,0,True\r\n2,Run Notepad,Ctrl+Alt+M,,,1,True\r\n"
        u"3,Run Calc,Ctrl+Alt+Q,,,2,True\r\n");
    files.ReplaceFile(path, appended);
    session.SaveTaskFile();
    EXPECT_EQ(files.Files().at(path), appended);
    const std::vector<int> firstRow{0};
    session.DeleteTasks(firstRow);
    EXPECT_EQ(files.Files().at(path + u".bak"), foreign);
    EXPECT_EQ(files.Files().at(path + u".bak2"), appended);
    EXPECT_EQ(notes, std::vector<std::u16string>{ChangedOutsideNote(path, path + u".bak2")});

    // Cut short mid-record, no task list, empty.
    const auto written = files.Files().at(path);
    const std::pair<std::u16string, std::vector<std::uint8_t>> damaged[] = {
        {u".bak3", {written.begin(), written.end() - 6}},
        {u".bak4", Utf16LittleEndian(u"1,Run Calc,,,Normal,x,True\r\n")},
        {u".bak5", {}}};
    for (const auto& [backup, version] : damaged) {
        files.ReplaceFile(path, version);
        session.SaveTaskFile();
        EXPECT_EQ(files.Files().at(path), written) << ToUtf8(backup);
        EXPECT_EQ(files.Files().at(path + backup), version);
        EXPECT_EQ(notes.back(), ChangedOutsideNote(path, path + backup));
    }
}

TEST_F(TaskSessionTest, APressRunsTheRowsBoundToItsValueWhateverTheirSpelling) {
    WriteActionsFile(
        u"1,Run Notepad,Ctrl+Alt+N,,,0,False\r\n2,Run Calc,ctrl+alt+n,,Hide,0,True\r\n"
        u"3,Run Command Promt,Alt + Ctrl + N,,,0,True\r\n4,Run Notepad,SHIFT+CTRL+K,,,0,True\r\n"
        u"5,Run Calc,Ctrl+Alt+M,,,0,True\r\n");
    session.StartUp();
    EXPECT_EQ(Statuses(), (std::vector<Status>{Status::kDisabled, Status::kActive, Status::kActive,
                                               Status::kActive, Status::kActive}));

    Press(kCtrlAltN);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"calc.exe", 0}, std::pair{u"cmd.exe", 1}));
    Press(kCtrlShiftK);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"notepad.exe", 1}));

    // An edit takes effect at the next press; the rows' texts stay as written.
    session.SetTaskEnabled(2, false);
    Press(kCtrlAltN);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"calc.exe", 0}));
    EXPECT_EQ(SavedTasks()[1].hotKeyText, u"ctrl+alt+n");
}

TEST_F(TaskSessionTest, AFailingActionOrRowsChangedWhileItRunsEndThePress) {
    StartWith({{u"Run Notepad", u"Ctrl+Alt+N"},
               {u"Clear the Windows clipboard", u"Ctrl+Alt+N"},
               {u"Run Calc", u"Ctrl+Alt+N"}});
    system.clipboard.heldByAnotherProgram = true;
    Press(kCtrlAltN);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"notepad.exe", 1}));
    EXPECT_THAT(failures, ElementsAre(u"Cannot open clipboard"));

    // As when the user deletes a row while an action's message box is open.
    const std::vector<int> lastRow{2};
    system.clipboard.heldByAnotherProgram = false;
    system.clipboard.whileOpen = [&] { session.DeleteTasks(lastRow); };
    Press(kCtrlAltN);
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"notepad.exe", 1}));
    EXPECT_FALSE(system.clipboard.holdsData);
}

TEST_F(TaskSessionTest, PressesDuringAnActionWaitOncePerHotKeyAndNeverNest) {
    StartWith({{u"Clear the Windows clipboard", u"Ctrl+Alt+N"}, {u"Run Calc", u"Ctrl+Alt+M"}});
    int depth = 0;
    int deepest = 0;
    std::vector<std::size_t> launchesAtClear;
    system.clipboard.whileOpen = [&] {
        deepest = std::max(deepest, ++depth);
        // Presses while the action's box is open: its own hotkey three times, another once.
        if (launchesAtClear.empty()) {
            for (int i = 0; i < 3; ++i) Press(kCtrlAltN);
            Press(kCtrlAltM);
        }
        launchesAtClear.push_back(system.launcher.launches.size());
        --depth;
    };
    Press(kCtrlAltN);
    EXPECT_EQ(deepest, 1);
    EXPECT_THAT(launchesAtClear, ElementsAre(0, 0)) << "the clipboard twice, then Calc";
    EXPECT_THAT(Started(), ElementsAre(std::pair{u"calc.exe", 1}));
}

}  // namespace
}  // namespace quorvel
