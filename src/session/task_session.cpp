#include "session/task_session.h"

#include <algorithm>
#include <utility>

#include "common/error.h"

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
                         ActionOperations& operations, TaskPictures& pictures,
                         std::function<void()> reportFailure)
    : taskFile_(files, std::move(actionsPath)),
      hotKeyText_(hotKeyText),
      registrar_(registrar),
      pictures_(pictures),
      dispatcher_(table_, rowsByHotKey_, operations, std::move(reportFailure)) {
    registrar_.OnHotKeyPressed = [this](HotKeyValue hotKey, std::uint16_t /*id*/) {
        dispatcher_.OnHotKeyPressed(hotKey);
    };
}

TaskSession::~TaskSession() { registrar_.OnHotKeyPressed = nullptr; }

void TaskSession::StartUp() {
    picturesDue_ = LoadTasks();
    for (int tries = 1; !taskFile_.Readable() && tries < kStartUpTries && PauseBeforeRetry;
         ++tries) {
        PauseBeforeRetry();
        picturesDue_ = LoadTasks();
    }
    Bind();
    Notify();
}

bool TaskSession::RetryUnreadableTaskFile() {
    if (!taskFileLoaded_ || taskFile_.Readable()) return false;
    picturesDue_ = LoadTasks();
    if (!taskFile_.Readable()) return false;
    Bind();
    MakePictures();
    Notify();
    return true;
}

void TaskSession::RequireReadableTaskList() const {
    if (!taskFile_.Readable()) throw Error(UnreadableTaskListText(taskFile_.LastLoad()));
}

void TaskSession::MakePictures() {
    if (!picturesDue_) return;
    RebuildPictures();
}

bool TaskSession::LoadTasks() {
    // From here on the file may be written.
    taskFileLoaded_ = true;
    savedChangeCount_.reset();
    try {
        taskFile_.Load(table_);
    } catch (const Error&) {
        // The program starts with what could be read, without pictures.
        return false;
    }
    if (!taskFile_.Readable()) return false;
    // The picture cells as the pictures will number them, also before they are made: the
    // file holds them so.
    NumberTaskPictures(table_);
    return true;
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
    Bind();
    RebuildPictures();
    Notify();
}

void TaskSession::AddTask(const Task& task, std::optional<HotKeyValue> hotKey) {
    Commit([&] { table_.AppendTask(WithHotKey(task, hotKey)); });
}

void TaskSession::ReplaceTask(int row, const Task& task, std::optional<HotKeyValue> hotKey) {
    Commit([&] { table_.SetTask(row, WithHotKey(task, hotKey)); });
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
    paused_ = paused;
    Bind();
    Notify();
}

void TaskSession::Bind() {
    const std::vector<HotKeyValue> rowHotKeys = RowHotKeys();
    // The enabled rows' values, in the order of their first row; none while paused.
    std::vector<HotKeyValue> wanted;
    std::unordered_set<HotKeyValue> wantedSet;
    for (int row = 0; row < table_.RowCount(); ++row) {
        const HotKeyValue hotKey = rowHotKeys[static_cast<std::size_t>(row)];
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
    SetStatuses(rowHotKeys, refusals);
    KeepMissing(refusals);
    // What each press runs: exactly the rows that read as active.
    rowsByHotKey_.clear();
    for (int row = 0; row < table_.RowCount(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        if (hotKeyStatuses_[index] == HotKeyStatus::kActive) {
            rowsByHotKey_[rowHotKeys[index]].push_back(row);
        }
    }
}

// Each distinct text is read once: long lists repeat a few hotkeys many times.
std::vector<HotKeyValue> TaskSession::RowHotKeys() const {
    std::vector<HotKeyValue> values(static_cast<std::size_t>(table_.RowCount()));
    std::unordered_map<std::u16string_view, HotKeyValue> read;
    for (int row = 0; row < table_.RowCount(); ++row) {
        const std::u16string_view text = table_.ViewAt(row).hotKeyText;
        auto [found, added] = read.try_emplace(text, 0);
        if (added) found->second = hotKeyText_.ParseHotKey(text);
        values[static_cast<std::size_t>(row)] = found->second;
    }
    return values;
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

void TaskSession::SetStatuses(const std::vector<HotKeyValue>& rowHotKeys,
                              const Refusals& refusals) {
    hotKeyStatuses_.resize(rowHotKeys.size());
    for (int row = 0; row < table_.RowCount(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        hotKeyStatuses_[index] = StatusOf(table_.ViewAt(row), rowHotKeys[index], refusals, paused_);
    }
}

// Only what another program holds can come free later; the system's other refusals stay.
void TaskSession::KeepMissing(const Refusals& refusals) {
    missingHotKeys_.clear();
    for (const auto& [hotKey, error] : refusals) {
        if (error == kErrorHotKeyAlreadyRegistered) missingHotKeys_.push_back(hotKey);
    }
    if (OnMissingHotKeys) OnMissingHotKeys(HotKeysMissing());
}

HotKeyStatus TaskSession::HotKeyStatusAt(int row) const {
    if (row < 0 || row >= static_cast<int>(hotKeyStatuses_.size())) return HotKeyStatus::kActive;
    return hotKeyStatuses_[static_cast<std::size_t>(row)];
}

// A list of pictures that cannot be made is not worth a box: the rows show none until the
// next change.
void TaskSession::RebuildPictures() {
    picturesDue_ = false;
    try {
        RebuildTaskPictures(table_, pictures_);
    } catch (const Error&) {
    }
}

void TaskSession::Notify() const {
    if (OnChanged) OnChanged();
}

}  // namespace quorvel
