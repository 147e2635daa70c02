#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "actions/system_services.h"
#include "common/error.h"

namespace quorvel::testing_support {

// A computer that keeps what it was asked to do, and whether the shutdown privilege was
// enabled by then.
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
    struct Message {
        std::u16string text;
        std::u16string caption;
        friend bool operator==(const Message&, const Message&) = default;
    };

    // What enabling the privilege comes to; it stays enabled once it was.
    ShutdownPrivilege privilegeAnswer = ShutdownPrivilege::kEnabled;
    bool privilegeEnabled = false;
    std::optional<Exit> exit;
    std::optional<Suspension> suspension;
    std::vector<Message> messages;

    ShutdownPrivilege EnableShutdownPrivilege() override {
        privilegeEnabled = privilegeEnabled || privilegeAnswer == ShutdownPrivilege::kEnabled;
        return privilegeAnswer;
    }
    void EndSession(std::uint32_t flags) override { exit = Exit{flags, privilegeEnabled}; }
    void Suspend(bool hibernate, bool force) override {
        suspension = Suspension{hibernate, force, privilegeEnabled};
    }
    void ShowMessage(std::u16string_view text, std::u16string_view caption) override {
        messages.push_back({std::u16string(text), std::u16string(caption)});
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

class FakeClipboard final : public Clipboard {
  public:
    bool holdsData = true;
    bool heldByAnotherProgram = false;

    bool Empty() override {
        if (heldByAnotherProgram) return false;
        holdsData = false;
        return true;
    }
};

// What the shell opened, started and showed, and the state of the desktop's windows. A file
// in `refusals` is not opened: the shell gives its result instead; one in `absent` is not there.
class FakeShell final : public Shell {
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
    bool windowsMinimized = false;
    bool refusesMinimizeAll = false;
    std::vector<std::u16string> errorBoxes;
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
        return std::u16string(text);
    }
    void OpenFolder(int, int) override {}
    void MinimizeAll() override { SetMinimized(true); }
    void UndoMinimizeAll() override { SetMinimized(false); }
    std::u16string ErrorText(std::uint32_t errorCode) override {
        const auto text = errorTexts.find(errorCode);
        return text == errorTexts.end() ? std::u16string() : text->second;
    }
    void ShowErrorBox(std::u16string_view text) override { errorBoxes.emplace_back(text); }

  private:
    void SetMinimized(bool minimized) {
        if (refusesMinimizeAll) throw Error(u"Not implemented");
        windowsMinimized = minimized;
    }
};

// The five, as one system.
struct FakeSystem {
    FakePowerControl power;
    FakeProcessList processes;
    FakeCdDoors cdDoors;
    FakeClipboard clipboard;
    FakeShell shell;

    SystemServices Services() { return {power, processes, cdDoors, clipboard, shell}; }
};

}  // namespace quorvel::testing_support
