#include "session/task_session.h"

#include <algorithm>
#include <utility>

#include "common/error.h"
#include "tasks/action_catalogue.h"

namespace quorvel {

namespace {

// A file another program holds is usually let go within a few seconds.
constexpr int kStartUpTries = 12;

HotKeyStatus StatusOf(const TaskView& task, HotKeyValue hotKey,
                      const std::unordered_map<HotKeyValue, std::uint32_t>& refusals, bool paused) {
    if (!task.enabled) return HotKeyStatus::kDisabled;
    if (task.hotKeyText.empty()) return HotKeyStatus::kNoHotKey;
    if (hotKey == 0) return HotKeyStatus::kNotOnLayout;
    if (paused) return HotKeyStatus::kPaused;
    const auto refusal = refusals.find(hotKey);
    if (refusal == refusals.end()) return HotKeyStatus::kActive;
    return refusal->second == kErrorHotKeyAlreadyRegistered ? HotKeyStatus::kInUse
                                                            : HotKeyStatus::kRefused;
}

}  // namespace

TaskSession::TaskSession(FileSystem& files, std::u16string actionsPath,
                         const HotKeyText& hotKeyText, HotKeyRegistrar& registrar,
                         SystemServices system, std::function<void()> reportFailure)
    : taskFile_(files, std::move(actionsPath)),
      hotKeyText_(hotKeyText),
      registrar_(registrar),
      dispatcher_(table_, rowsByHotKey_, system, std::move(reportFailure)) {
    registrar_.SetListener(&dispatcher_);
}

TaskSession::~TaskSession() { registrar_.SetListener(nullptr); }

void TaskSession::StartUp() {
    LoadTasks();
    for (int tries = 1; !taskFile_.Readable() && tries < kStartUpTries && PauseBeforeRetry;
         ++tries) {
        PauseBeforeRetry();
        LoadTasks();
    }
    Bind();
    Notify();
}

bool TaskSession::RetryUnreadableTaskFile() {
    if (!taskFileLoaded_ || taskFile_.Readable()) return false;
    LoadTasks();
    if (!taskFile_.Readable()) return false;
    Bind();
    Notify();
    return true;
}

void TaskSession::RequireReadableTaskList() const {
    if (!taskFile_.Readable()) throw Error(UnreadableTaskListText(taskFile_.LastLoad()));
}

std::optional<PictureSource> TaskSession::PictureOfRow(int row) const {
    const TaskView task = table_.ViewAt(row);
    if (!picturesByAction_) {
        return task.image == 0 ? std::optional<PictureSource>(ProgramPicture()) : std::nullopt;
    }
    const std::optional<Action> action = table_.ResolvedAt(row).action;
    if (!action) return std::nullopt;
    return PictureSourceFor(*action, task.dest);
}

void TaskSession::LoadTasks() {
    // From here on the file may be written.
    taskFileLoaded_ = true;
    savedChangeCount_.reset();
    bool whole = true;
    try {
        taskFile_.Load(table_);
    } catch (const Error&) {
        // The program starts with what could be read, without its actions' pictures.
        whole = false;
    }
    ResolveRows(0, table_.RowCount());
    picturesByAction_ = whole && taskFile_.Readable();
    // The picture cells as the file holds them.
    if (picturesByAction_) NumberTaskPictures(table_);
}

template <typename Change>
void TaskSession::Commit(Change&& change) {
    RequireReadableTaskList();
    TaskTable before = table_;
    try {
        change();
        NumberTaskPictures(table_);
        SaveWhenDue();
    } catch (...) {
        table_ = std::move(before);
        throw;
    }
    // The editor's OK, made while its hotkey field holds the hotkeys back, takes them here.
    heldBack_ = false;
    picturesByAction_ = true;
    Bind();
    Notify();
}

void TaskSession::AddTask(const Task& task, std::optional<HotKeyValue> hotKey) {
    Commit([&] {
        table_.AppendTask(WithHotKey(task, hotKey));
        ResolveRows(table_.RowCount() - 1, table_.RowCount());
    });
}

void TaskSession::ReplaceTask(int row, const Task& task, std::optional<HotKeyValue> hotKey) {
    Commit([&] {
        table_.SetTask(row, WithHotKey(task, hotKey));
        ResolveRows(row, row + 1);
    });
}

Task TaskSession::WithHotKey(Task task, std::optional<HotKeyValue> hotKey) const {
    if (hotKey) task.hotKeyText = *hotKey == 0 ? u"" : hotKeyText_.FormatHotKey(*hotKey, true);
    return task;
}

void TaskSession::DeleteTasks(std::span<const int> rows) {
    std::vector<int> lastFirst(rows.begin(), rows.end());
    std::sort(lastFirst.begin(), lastFirst.end(), std::greater<>());
    lastFirst.erase(std::unique(lastFirst.begin(), lastFirst.end()), lastFirst.end());
    Commit([&] {
        for (const int row : lastFirst) table_.RemoveRow(row);
    });
}

void TaskSession::DeleteAllTasks() {
    Commit([&] { table_.ClearRows(); });
}

int TaskSession::MoveTask(int row, int step) {
    RequireReadableTaskList();
    const int to = row + step;
    if (row < 0 || row >= table_.RowCount() || to < 0 || to >= table_.RowCount()) return row;
    Commit([&] { table_.RelocateRow(row, to); });
    return to;
}

void TaskSession::SetTaskEnabled(int row, bool enabled) {
    Commit([&] { table_.SetEnabled(row, enabled); });
}

void TaskSession::SaveTaskFile() {
    try {
        SaveWhenDue();
    } catch (const Error&) {
        // Raised by the next change, or asked about at the exit.
    }
}

void TaskSession::SaveTaskFileBeforeExit() { SaveWhenDue(); }

void TaskSession::SaveWhenDue() {
    if (!taskFileLoaded_) return;
    if (savedChangeCount_ == table_.ChangeCount() && !taskFile_.ChangedOutside()) return;
    const std::u16string kept = taskFile_.Save(table_);
    savedChangeCount_ = table_.ChangeCount();
    if (!kept.empty() && OnTaskFileNote) OnTaskFileNote(ChangedOutsideNote(taskFile_.Path(), kept));
}

void TaskSession::ResumeHotKeys() {
    if (!heldBack_) return;
    heldBack_ = false;
    Bind();
    Notify();
}

void TaskSession::HoldBackHotKeys() {
    heldBack_ = true;
    registrar_.ReleaseAll();
    rowsByHotKey_.clear();
    KeepMissing({});
}

void TaskSession::RetryMissingHotKeys() {
    bool taken = false;
    for (const HotKeyValue hotKey : missingHotKeys_) taken |= registrar_.BindHotKey(hotKey) != 0;
    if (!taken) return;
    Bind();
    Notify();
}

void TaskSession::PauseHotKeys(bool paused) {
    hotKeysChanged_ |= paused != paused_;
    paused_ = paused;
    Bind();
    Notify();
}

void TaskSession::Bind() {
    // The enabled rows' values, in the order of their first row; none while paused.
    std::vector<HotKeyValue> wanted;
    std::unordered_set<HotKeyValue> wantedSet;
    for (int row = 0; row < table_.RowCount(); ++row) {
        const HotKeyValue hotKey = table_.ResolvedAt(row).hotKey;
        if (!paused_ && hotKey != 0 && table_.ViewAt(row).enabled &&
            wantedSet.insert(hotKey).second) {
            wanted.push_back(hotKey);
        }
    }
    Refusals refusals;
    if (!heldBack_) {
        ReleaseUnwanted(wantedSet);
        refusals = BindWanted(wanted);
    }
    SetStatuses(refusals);
    KeepMissing(refusals);
    // What each press runs: exactly the rows that read as active.
    rowsByHotKey_.clear();
    for (int row = 0; row < table_.RowCount(); ++row) {
        if (hotKeyStatuses_[static_cast<std::size_t>(row)] == HotKeyStatus::kActive) {
            rowsByHotKey_[table_.ResolvedAt(row).hotKey].push_back(row);
        }
    }
}

// Each distinct hotkey text is read once: long lists repeat a few hotkeys many times.
void TaskSession::ResolveRows(int first, int end) {
    std::unordered_map<std::u16string_view, HotKeyValue> read;
    for (int row = first; row < end; ++row) {
        const TaskView task = table_.ViewAt(row);
        auto [found, added] = read.try_emplace(task.hotKeyText, 0);
        if (added) found->second = hotKeyText_.ParseHotKey(task.hotKeyText);
        table_.SetResolved(
            row, {FindAction(task.actionName), ShowCommandOf(task.runType), found->second});
    }
}

void TaskSession::ReleaseUnwanted(const std::unordered_set<HotKeyValue>& wanted) {
    std::vector<HotKeyValue> unwanted;
    for (const HotKeyBinding& binding : registrar_.Bindings()) {
        if (!wanted.contains(binding.HotKey)) unwanted.push_back(binding.HotKey);
    }
    for (const HotKeyValue hotKey : unwanted) registrar_.UnbindHotKey(hotKey);
}

TaskSession::Refusals TaskSession::BindWanted(const std::vector<HotKeyValue>& wanted) {
    Refusals refusals;
    for (const HotKeyValue hotKey : wanted) {
        if (registrar_.IsBound(hotKey)) continue;
        if (registrar_.BindHotKey(hotKey) == 0) refusals[hotKey] = registrar_.LastBindError();
    }
    return refusals;
}

void TaskSession::SetStatuses(const Refusals& refusals) {
    const auto rows = static_cast<std::size_t>(table_.RowCount());
    hotKeysChanged_ |= rows != hotKeyStatuses_.size();
    hotKeyStatuses_.resize(rows);
    for (std::size_t row = 0; row < rows; ++row) {
        const auto status =
            StatusOf(table_.ViewAt(static_cast<int>(row)),
                     table_.ResolvedAt(static_cast<int>(row)).hotKey, refusals, paused_);
        hotKeysChanged_ |= status != hotKeyStatuses_[row];
        hotKeyStatuses_[row] = status;
    }
}

// Only what another program holds can come free later; the system's other refusals stay.
void TaskSession::KeepMissing(const Refusals& refusals) {
    missingHotKeys_.clear();
    for (const auto& [hotKey, error] : refusals) {
        if (error == kErrorHotKeyAlreadyRegistered) missingHotKeys_.push_back(hotKey);
    }
    const bool missing = !missingHotKeys_.empty();
    if (missing == toldMissing_ || !OnMissingHotKeys) return;
    toldMissing_ = missing;
    OnMissingHotKeys(missing);
}

HotKeyStatus TaskSession::HotKeyStatusAt(int row) const {
    if (row < 0 || row >= static_cast<int>(hotKeyStatuses_.size())) return HotKeyStatus::kActive;
    return hotKeyStatuses_[static_cast<std::size_t>(row)];
}

void TaskSession::Notify() {
    if (OnChanged) OnChanged();
    if (std::exchange(hotKeysChanged_, false) && OnHotKeysChanged) OnHotKeysChanged();
}

}  // namespace quorvel
