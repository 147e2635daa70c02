#include "app/task_session.h"

#include <exception>
#include <utility>

#include "common/error.h"

namespace quorvel {

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
    const int rowCount = table_.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        const HotKeyValue hotKey = hotKeyText_.ParseHotKey(table_.ViewAt(row).hotkey);
        if (hotKey != 0) dravlin1_.BindHotKey(hotKey);
    }
}

void TaskSession::RebuildIcons() { BitBtn5Click(table_, pictures_); }

}  // namespace quorvel
