#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "actions/dispatcher.h"
#include "actions/system_services.h"
#include "common/file_system.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/registrar.h"
#include "session/hotkey_health.h"
#include "session/task_icons.h"
#include "tasks/task_file.h"
#include "tasks/task_table.h"

namespace quorvel {

// The program's tasks while it runs: the task list and its actions file, the enabled rows'
// hotkeys bound with the registrar and each row's hotkey status, the presses run by the value
// that was bound, and which picture each row shows. The windows are views of it: they read the
// list and change it only through the verbs below.
//
// Every verb ends in one sequence: the file is saved, the registrations follow the list, and
// OnChanged tells the views. A change that cannot be saved is not
// made: the list goes back to what it was and the save's error propagates.
class TaskSession {
  public:
    // Everything given must outlive the session; from now on the registrar's presses go to
    // the dispatcher, which runs the rows on the system. `reportFailure` shows what a task's
    // action threw, from inside its handler.
    TaskSession(FileSystem& files, std::u16string actionsPath, const HotKeyText& hotKeyText,
                HotKeyRegistrar& registrar, SystemServices system,
                std::function<void()> reportFailure);
    ~TaskSession();
    TaskSession(const TaskSession&) = delete;
    TaskSession& operator=(const TaskSession&) = delete;

    // Once, first thing: the actions file read into the list (a failure ends it without a word
    // and keeps the rows read: a first start has no file) and the hotkeys registered. A file
    // that is there but cannot be read, held by another program say, is tried again a few
    // times, with PauseBeforeRetry between the tries; then the list stays empty.
    void StartUp();
    // After a start-up that could not read the file: tries it again, and when it reads, the
    // rows are registered and the views told. Whether it read now.
    bool RetryUnreadableTaskFile();
    // Throws the error that says the list cannot be read, while it cannot: nothing may change
    // it then. Every verb below checks it first.
    void RequireReadableTaskList() const;
    const TaskTable& Tasks() const { return table_; }
    // The picture a row shows: its action's, none for a name that is no action. After a
    // start-up that could not read the whole file, until the list changes, the rows show what
    // the picture list held then: the program's own picture for the number 0, none for others.
    std::optional<PictureSource> PictureOfRow(int row) const;

    // The verbs. Rows are positions in the list; a row out of range throws the list's Error
    // and changes nothing. `hotKey`, the editor's, is the task's hotkey as a value (0 for
    // none), whose text the session writes over the task's; without one the task's text stays
    // as it is, so that an edit that leaves the hotkey alone keeps a text no parser reads.
    void AddTask(const Task& task, std::optional<HotKeyValue> hotKey = {});
    void ReplaceTask(int row, const Task& task, std::optional<HotKeyValue> hotKey = {});
    // Deletes the rows given, in any order.
    void DeleteTasks(std::span<const int> rows);
    void DeleteAllTasks();
    // Moves a row one place up (-1) or down (+1) and gives its new place; a move past either
    // end changes nothing and gives the row back.
    int MoveTask(int row, int step);
    void SetTaskEnabled(int row, bool enabled);

    // A save moment: writes the list to the actions file when the file would change (see
    // TaskFile::Save); the many moments that save cost nothing when the list has not changed
    // since. A failure is not raised here: the verbs raise it for the change they make, and
    // SaveTaskFileBeforeExit for what is left at the end. Nothing is written before the
    // start-up read, which an earlier save would replace with the still empty list, nor over
    // a file that could not be read.
    void SaveTaskFile();
    // The same, raising a failure, for an exit that asks what to do about it.
    void SaveTaskFileBeforeExit();
    // Gives every hotkey back, while the editor's hotkey field takes every combination and at
    // program end. Until ResumeHotKeys or a change to the list nothing is taken: the editor's
    // OK takes the hotkeys in its change's own registration, and the resume that follows it
    // finds nothing held back.
    void HoldBackHotKeys();
    // After HoldBackHotKeys: the registrations follow the list again and the views are told.
    // Without a hold nothing happens.
    void ResumeHotKeys();
    // The program is ending (an Exit, the end of the Windows session): no row of a press runs
    // any more, the one whose box is open included.
    void EndPresses() { dispatcher_.EndPresses(); }

    // Tries again the hotkeys another program held at the last registration, and only those:
    // with none missing it asks the system nothing. The views are told when one was taken.
    void RetryMissingHotKeys();
    // Says, when it changed at a registration, whether a hotkey of an enabled task is held by
    // another program, so that the retries run just as long.
    std::function<void(bool missing)> OnMissingHotKeys;

    // Paused, every hotkey goes back to the system and the enabled rows read as paused; the
    // list can still change, and takes no hotkey. Unpaused, the registrations follow the list
    // again. A pause lasts as long as the session: a new start is never paused.
    void PauseHotKeys(bool paused);
    bool HotKeysPaused() const { return paused_; }

    // What the start-up read found besides the rows: damage, and where the file is kept.
    const TaskFileLoad& TaskFileRead() const { return taskFile_.LastLoad(); }

    // Each row's status as the last registration found it, in row order.
    std::span<const HotKeyStatus> HotKeyStatuses() const { return hotKeyStatuses_; }
    HotKeyStatus HotKeyStatusAt(int row) const;

    // Called after every change to the list or its statuses.
    std::function<void()> OnChanged;
    // Called after OnChanged when a row's hotkey status or the pause changed since the last
    // call: what the notification-area icon shows.
    std::function<void()> OnHotKeysChanged;
    // Called with a notice when a save kept another program's version of the file.
    std::function<void(const std::u16string&)> OnTaskFileNote;
    // Waits between the start-up's tries of a file it cannot read; none: one try only.
    std::function<void()> PauseBeforeRetry;

  private:
    // The system's refusal of each value it did not take.
    using Refusals = std::unordered_map<HotKeyValue, std::uint32_t>;

    template <typename Change>
    void Commit(Change&& change);
    Task WithHotKey(Task task, std::optional<HotKeyValue> hotKey) const;
    // Also says whether the rows show their actions' pictures: when the whole file was read.
    void LoadTasks();
    // Resolves what the rows from `first` up to `end` stand for.
    void ResolveRows(int first, int end);
    void SaveWhenDue();
    void Bind();
    void ReleaseUnwanted(const std::unordered_set<HotKeyValue>& wanted);
    Refusals BindWanted(const std::vector<HotKeyValue>& wanted);
    void SetStatuses(const Refusals& refusals);
    void KeepMissing(const Refusals& refusals);
    void Notify();

    TaskTable table_;
    TaskFile taskFile_;
    bool taskFileLoaded_ = false;
    bool picturesByAction_ = false;  // see PictureOfRow
    // The list's change count when it last matched the file, as far as the save could tell.
    std::optional<std::uint64_t> savedChangeCount_;
    const HotKeyText& hotKeyText_;
    HotKeyRegistrar& registrar_;
    std::vector<HotKeyStatus> hotKeyStatuses_;
    std::vector<HotKeyValue> missingHotKeys_;  // wanted, but another program holds them
    bool paused_ = false;
    bool hotKeysChanged_ = false;  // since the last OnHotKeysChanged
    bool toldMissing_ = false;     // as OnMissingHotKeys last said
    bool heldBack_ = false;        // given back by HoldBackHotKeys: the registrations wait
    RowsByHotKey rowsByHotKey_;
    Dispatcher dispatcher_;
};

}  // namespace quorvel
