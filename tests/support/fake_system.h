#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "actions/system_services.h"
#include "common/error.h"

namespace quorvel::testing_support {

// A computer that keeps what it was asked to do, in order, and whether the shutdown privilege
// was enabled by then.
class FakePowerControl final : public PowerControl {
  public:
    struct Exit {
        std::uint32_t flags;
        bool privileged;
        friend bool operator==(const Exit&, const Exit&) = default;
    };
    struct Suspension {
        bool hibernate;
        bool force;
        bool privileged;
        friend bool operator==(const Suspension&, const Suspension&) = default;
    };

    // What enabling the privilege comes to; it stays enabled once it was.
    ShutdownPrivilege privilegeAnswer = ShutdownPrivilege::kEnabled;
    bool privilegeEnabled = false;
    std::vector<Exit> exits;
    std::vector<Suspension> suspensions;

    ShutdownPrivilege EnableShutdownPrivilege() override {
        privilegeEnabled = privilegeEnabled || privilegeAnswer == ShutdownPrivilege::kEnabled;
        return privilegeAnswer;
    }
    void EndSession(std::uint32_t flags) override { exits.push_back({flags, privilegeEnabled}); }
    void Suspend(bool hibernate, bool force) override {
        suspensions.push_back({hibernate, force, privilegeEnabled});
    }
};

// Running processes; those in `unendable` cannot be opened to be ended.
class FakeProcessList final : public ProcessList {
  public:
    std::vector<RunningProcess> processes;
    std::set<std::uint32_t> unendable;

    std::vector<RunningProcess> Running() override { return processes; }
    void End(std::uint32_t processId) override {
        if (unendable.contains(processId)) return;
        std::erase_if(processes, [&](const RunningProcess& p) { return p.id == processId; });
    }
};

// The CD drives there are, by the element name they are opened by, and their doors.
class FakeCdDoors final : public CdDoors {
  public:
    std::map<std::u16string, Door> doors;

    void SetDoor(std::u16string_view element, Door door) override {
        const auto drive = doors.find(std::u16string(element));
        if (drive != doors.end()) drive->second = door;
    }
};

// `whileOpen` runs while the program holds the clipboard, before it is emptied.
class FakeClipboard final : public Clipboard {
  public:
    bool holdsData = true;
    bool heldByAnotherProgram = false;
    std::function<void()> whileOpen;

    bool Empty() override {
        if (heldByAnotherProgram) return false;
        if (whileOpen) whileOpen();
        holdsData = false;
        return true;
    }
};

// What was opened and started. A file in `refusals` is not opened: the shell gives its result
// instead; one in `absent` is not there. A started command line is kept as a launch without an
// operation.
class FakeLauncher final : public Launcher {
  public:
    struct Launch {
        std::u16string operation;
        std::u16string file;
        std::u16string parameters;
        std::u16string directory;
        int showCommand;
        friend bool operator==(const Launch&, const Launch&) = default;
    };

    std::vector<Launch> launches;
    std::map<std::u16string, std::uintptr_t> refusals;
    std::set<std::u16string> absent;
    // The environment %NAME% is expanded from; a name it lacks stays as written.
    std::map<std::u16string, std::u16string> environment;
    // The system's texts by error code; others have none.
    std::map<std::uint32_t, std::u16string> errorTexts{{2, u"The file was not found."},
                                                       {111, u"The file name is too long."}};

    std::uintptr_t Execute(std::u16string_view operation, std::u16string_view file,
                           std::u16string_view parameters, std::u16string_view directory,
                           int showCommand) override {
        if (const auto refused = refusals.find(std::u16string(file)); refused != refusals.end())
            return refused->second;
        launches.push_back({std::u16string(operation), std::u16string(file),
                            std::u16string(parameters), std::u16string(directory), showCommand});
        return 42;
    }
    std::uint32_t MissingFileError(std::u16string_view path) override {
        return absent.contains(std::u16string(path)) ? 2 : 0;
    }
    void Start(std::u16string_view commandLine, int showCommand,
               std::u16string_view directory) override {
        launches.push_back(
            {u"", std::u16string(commandLine), u"", std::u16string(directory), showCommand});
    }
    std::u16string ExpandEnvironmentStringsW(std::u16string_view text) override {
        std::u16string expanded(text);
        for (const auto& [name, value] : environment) {
            const std::u16string variable = u'%' + name + u'%';
            for (auto at = expanded.find(variable); at != std::u16string::npos;
                 at = expanded.find(variable, at + value.size())) {
                expanded.replace(at, variable.size(), value);
            }
        }
        return expanded;
    }
    std::u16string ErrorText(std::uint32_t errorCode) override {
        const auto text = errorTexts.find(errorCode);
        return text == errorTexts.end() ? std::u16string() : text->second;
    }
};

// The folders opened and the state of the desktop's windows.
class FakeDesktop final : public Desktop {
  public:
    std::vector<std::pair<int, int>> openedFolders;  // the folder and its show command
    bool windowsMinimized = false;
    bool refusesMinimizeAll = false;

    void OpenFolder(int folder, int showCommand) override {
        openedFolders.emplace_back(folder, showCommand);
    }
    void MinimizeAll() override { SetMinimized(true); }
    void UndoMinimizeAll() override { SetMinimized(false); }

  private:
    void SetMinimized(bool minimized) {
        if (refusesMinimizeAll) throw Error(u"Not implemented");
        windowsMinimized = minimized;
    }
};

// The boxes shown, in order of kind. `onErrorBox` runs while an error box is open.
class FakePressBoxes final : public PressBoxes {
  public:
    struct Message {
        std::u16string text;
        std::u16string caption;
        friend bool operator==(const Message&, const Message&) = default;
    };

    std::vector<std::u16string> errorBoxes;
    std::function<void()> onErrorBox;
    std::vector<Message> messages;

    void ShowErrorBox(std::u16string_view text) override {
        errorBoxes.emplace_back(text);
        if (onErrorBox) onErrorBox();
    }
    void ShowMessage(std::u16string_view text, std::u16string_view caption) override {
        messages.push_back({std::u16string(text), std::u16string(caption)});
    }
};

// All of them, as one system.
struct FakeSystem {
    FakePowerControl power;
    FakeProcessList processes;
    FakeCdDoors cdDoors;
    FakeClipboard clipboard;
    FakeLauncher launcher;
    FakeDesktop desktop;
    FakePressBoxes boxes;

    SystemServices Services() {
        return {power, processes, cdDoors, clipboard, launcher, desktop, boxes};
    }
};

}  // namespace quorvel::testing_support
