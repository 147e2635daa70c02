#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "fake_hotkey_api.h"
#include "fake_key_names.h"
#include "memory_file_system.h"
#include "fake_system.h"
#include "session/task_session.h"
#include "task_rows.h"

namespace quorvel::testing_support {

// A task session over files in memory, the US English key names, the fake hotkey calls and the
// fake system: the program's centre without a window.
struct SessionFixture {
    static constexpr std::u16string_view kActionsPath = u"C:\\Quorvel\\data\\actions.cfg";

    SessionFixture() { files.AddFolder(u"C:\\Quorvel\\data"); }

    void WriteActionsFile(std::u16string_view lines) {
        files.ReplaceFile(std::u16string(kActionsPath), Utf16LittleEndian(lines));
    }
    std::vector<Task> SavedTasks() {
        TaskTable saved;
        TaskFile(files, std::u16string(kActionsPath)).Load(saved);
        return TasksOf(saved);
    }
    std::vector<HotKeyValue> Bound() const {
        std::vector<HotKeyValue> bound;
        for (const HotKeyBinding& binding : registrar.Bindings()) bound.push_back(binding.HotKey);
        return bound;
    }
    // The system reports a press of the value, as it does for a bound hotkey only.
    void Press(HotKeyValue hotKey) {
        if (!registrar.IsBound(hotKey)) return;
        const SplitKey keys = SplitHotKey(hotKey);
        registrar.ReportPress(std::uintptr_t{keys.key} << 16 | keys.modifiers);
    }

    MemoryFileSystem files;
    testing::FakeKeyNames keyNames;
    HotKeyText hotKeyText{keyNames};
    FakeHotKeyApi api;
    HotKeyRegistrar registrar{api, /*windowHandle=*/1};
    FakeSystem system;
    std::vector<std::u16string> failures;  // what the actions threw, as the box shows it
    TaskSession session{
        files, std::u16string(kActionsPath), hotKeyText, registrar, system.Services(), [this] {
            try {
                throw;
            } catch (const Error& e) {
                failures.push_back(e.Message());
            }
        }};
};

}  // namespace quorvel::testing_support
