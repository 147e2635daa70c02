#include "app/task_session.h"

#include <exception>
#include <utility>

#include "common/error.h"

namespace quorvel {

namespace {

HotKeyStatus StatusOf(const TaskView& task, HotKeyValue hotKey,
                      const std::unordered_map<HotKeyValue, std::uint32_t>& refusals) {
    if (!task.enabled) return HotKeyStatus::kDisabled;
    if (task.hotkey.empty()) return HotKeyStatus::kNoHotKey;
    if (hotKey == 0) return HotKeyStatus::kNotOnLayout;
    const auto refusal = refusals.find(hotKey);
    if (refusal == refusals.end()) return HotKeyStatus::kActive;
    return refusal->second == kErrorHotKeyAlreadyRegistered ? HotKeyStatus::kInUse
                                                            : HotKeyStatus::kRefused;
}

}  // namespace

TaskSession::TaskSession(FileSystem& files, std::u16string actionsPath,
                         const HotKeyText& hotKeyText, TDravlin& dravlin1,
                         ActionOperations& operations, TaskPictures& pictures)
    : taskFile_(files, std::move(actionsPath)),
      hotKeyText_(hotKeyText),
      dravlin1_(dravlin1),
      pictures_(pictures),
      dispatcher_(
          table_, [&hotKeyText](HotKeyValue hotKey) { return hotKeyText.FormatHotKey(hotKey); },
          operations) {
    // The road of a press: the registrar's window, the registrar, the dispatcher, the actions.
    dravlin1_.OnHotKeyPressed = [this](HotKeyValue hotKey, std::uint16_t index) {
        dispatcher_.Dravlin1HotKeyPressed(hotKey, index);
    };
}

TaskSession::~TaskSession() { dravlin1_.OnHotKeyPressed = nullptr; }

void TaskSession::StartUp() {
    const bool loaded = LoadTasks();
    // The hotkeys are what a start is for; the pictures only show in the window, and are made
    // whatever the registration does, as when they came before it.
    std::exception_ptr registration;
    try {
        RegisterTaskHotKeys();
    } catch (...) {
        registration = std::current_exception();
    }
    if (loaded) BuildStartPictures();
    if (registration) std::rethrow_exception(registration);
}

bool TaskSession::LoadTasks() {
    // From here on the file may be written.
    taskFileLoaded_ = true;
    try {
        taskFile_.Load(table_);
        return true;
    } catch (const Error&) {
        // The program starts with what could be read, without pictures.
        return false;
    }
}

void TaskSession::BuildStartPictures() {
    try {
        RebuildIcons();
    } catch (const Error&) {
        // The rows show no pictures until the next rebuild.
    }
}

void TaskSession::SaveTaskFile() {
    if (taskFileLoaded_) taskFile_.Save(table_);
}

void TaskSession::RegisterTaskHotKeys() {
    const std::vector<HotKeyValue> rowHotKeys = RowHotKeys();
    // The enabled rows' values, in the order of their first row.
    std::vector<HotKeyValue> wanted;
    std::unordered_set<HotKeyValue> wantedSet;
    for (int row = 0; row < table_.RowCount(); ++row) {
        const HotKeyValue hotKey = rowHotKeys[static_cast<std::size_t>(row)];
        if (hotKey != 0 && table_.ViewAt(row).enabled && wantedSet.insert(hotKey).second) {
            wanted.push_back(hotKey);
        }
    }
    ReleaseUnwanted(wantedSet);
    const Refusals refusals = BindWanted(wanted);
    SetStatuses(rowHotKeys, refusals);
    table_.Repaint();
}

// Each distinct text is read once: long lists repeat a few hotkeys many times.
std::vector<HotKeyValue> TaskSession::RowHotKeys() const {
    std::vector<HotKeyValue> values(static_cast<std::size_t>(table_.RowCount()));
    std::unordered_map<std::u16string_view, HotKeyValue> read;
    for (int row = 0; row < table_.RowCount(); ++row) {
        const std::u16string_view text = table_.ViewAt(row).hotkey;
        auto [found, added] = read.try_emplace(text, 0);
        if (added) found->second = hotKeyText_.ParseHotKey(text);
        values[static_cast<std::size_t>(row)] = found->second;
    }
    return values;
}

void TaskSession::ReleaseUnwanted(const std::unordered_set<HotKeyValue>& wanted) {
    std::vector<HotKeyValue> unwanted;
    for (const HotKeyBinding& binding : dravlin1_.Bindings()) {
        if (!wanted.contains(binding.HotKey)) unwanted.push_back(binding.HotKey);
    }
    for (const HotKeyValue hotKey : unwanted) dravlin1_.UnbindHotKey(hotKey);
}

TaskSession::Refusals TaskSession::BindWanted(const std::vector<HotKeyValue>& wanted) {
    std::unordered_set<HotKeyValue> bound;
    for (const HotKeyBinding& binding : dravlin1_.Bindings()) bound.insert(binding.HotKey);
    Refusals refusals;
    for (const HotKeyValue hotKey : wanted) {
        if (bound.contains(hotKey)) continue;
        if (dravlin1_.BindHotKey(hotKey) == 0) refusals[hotKey] = dravlin1_.LastBindError();
    }
    return refusals;
}

void TaskSession::SetStatuses(const std::vector<HotKeyValue>& rowHotKeys,
                              const Refusals& refusals) {
    hotKeyStatuses_.resize(rowHotKeys.size());
    for (int row = 0; row < table_.RowCount(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        hotKeyStatuses_[index] = StatusOf(table_.ViewAt(row), rowHotKeys[index], refusals);
    }
}

HotKeyStatus TaskSession::HotKeyStatusAt(int row) const {
    if (row < 0 || row >= static_cast<int>(hotKeyStatuses_.size())) return HotKeyStatus::kActive;
    return hotKeyStatuses_[static_cast<std::size_t>(row)];
}

void TaskSession::RebuildIcons() { BitBtn5Click(table_, pictures_); }

}  // namespace quorvel
