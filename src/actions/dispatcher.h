#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "actions/system_services.h"
#include "hotkeys/hotkey.h"
#include "hotkeys/registrar.h"
#include "tasks/task_table.h"

namespace quorvel {

// What the actions make of the system's services, with the decisions around each call: which
// failure is told and how, which CD device and which processes are meant.

// A launch that did not happen: the system's reason and the program, document or address.
struct LaunchFailure {
    std::u16string reason;
    std::u16string target;
    friend bool operator==(const LaunchFailure&, const LaunchFailure&) = default;
};

// Why `file` cannot be opened, found without opening anything: longer than the shell takes,
// or a full path to a file that is not there. Nothing when it may be opened.
std::optional<LaunchFailure> CannotLaunch(Launcher& launcher, std::u16string_view file);
// Opens `file` through the shell in `directory` (empty: none of its own); an empty operation
// stands for the default verb. Gives the failure when the shell refused.
std::optional<LaunchFailure> OpenWithShell(Launcher& launcher, std::u16string_view operation,
                                           std::u16string_view file, std::u16string_view parameters,
                                           std::u16string_view directory, int showCommand);

// Power off or restart (the ExitWindowsEx flags) with the shutdown privilege enabled first;
// a failing step shows its "Exit Error" message and ends nothing.
void EndSessionWithShutdownPrivilege(PowerControl& power, PressBoxes& boxes, std::uint32_t flags);
// Hibernation or suspend, silent, tried whenever the token took the privilege's change.
void SuspendWithShutdownPrivilege(PowerControl& power, bool hibernate, bool force);

// Opens or closes the door of the CD drive a destination names ("e", "E:", "E:\").
void SetCdDoor(CdDoors& cdDoors, std::u16string_view drive, Door door);
// The name the CD device is opened by: the drive letter of a destination such as "e", "E:"
// or "E:\" followed by ":" ("E:"); nothing when the destination starts with no letter.
std::optional<std::u16string> CdElementName(std::u16string_view drive);

// Ends every running process whose executable stands for `fileName`.
void CloseProgramByName(ProcessList& processes, std::u16string_view fileName);
// Whether a process's executable name stands for `fileName`: by its file-name part or as a
// whole, ignoring the letter case of ASCII letters only.
bool ProcessNameMatches(std::u16string_view exeFile, std::u16string_view fileName);

// For each bound hotkey value, the enabled rows that asked for it, top row first: what a press
// of that value runs. The registrations keep it as they bind.
using RowsByHotKey = std::unordered_map<HotKeyValue, std::vector<int>>;

// Runs the tasks of a pressed hotkey: the rows bound to the pressed value, top row first, all
// within the one press. A press reads no hotkey text: the value was matched when it was bound.
//
// Launches that fail are told in one box for the press, listing each: shown before the next
// row that does something runs, so that a run of missing programs gives one box and what
// follows it waits until the user has seen it; or at the press's end.
//
// Each row runs from what the session resolved of it (its action and show command): a press
// switches on the action into the system's services.
class Dispatcher final : public HotKeyListener {
  public:
    // `reportFailure` is called inside the handler of what an action threw, to show it; the
    // table, the rows and the services must outlive the dispatcher.
    Dispatcher(const TaskTable& table, const RowsByHotKey& rowsByHotKey, SystemServices system,
               std::function<void()> reportFailure);

    // A failing action ends its press (the rows below are not visited) and is reported. A press
    // that arrives while an action runs (its box open, say) waits until the running press
    // ends, once per hotkey however often it was pressed: presses never nest.
    void OnHotKeyPressed(HotKeyValue hotKey) override;
    // The program is ending: no further row runs, not even of the press whose box is open, and
    // the waiting presses and those still to come are dropped.
    void EndPresses();

  private:
    void RunPress(HotKeyValue hotKey);
    // Whether the walk goes on past this row.
    bool RunTask(int row);
    bool Launch(std::u16string_view operation, std::u16string_view file,
                std::u16string_view parameters, std::u16string_view directory, int show);
    std::u16string ProfileFolder();
    std::u16string Expand(std::u16string_view text) {
        return system_.launcher.ExpandEnvironmentStringsW(text);
    }
    // Minimises all windows, or restores them when the last successful call minimised.
    void ToggleMinimizeAll();
    // Shows the failures not shown yet; whether a row may run after the box.
    bool ShowFailures();
    bool MayRun() const;

    const TaskTable& table_;
    const RowsByHotKey& rowsByHotKey_;
    SystemServices system_;
    std::function<void()> reportFailure_;
    bool running_ = false;
    bool ended_ = false;
    std::deque<HotKeyValue> waiting_;
    std::vector<int> pressRows_;  // the rows of the running press
    std::uint64_t pressChangeCount_ = 0;
    std::vector<LaunchFailure> failures_;  // the running press's, not shown yet
    bool windowsMinimized_ = false;        // by the last minimise-all that went through
};

// The text of a press's box about its failed launches: each reason once for the targets in a
// row that share it, the targets in quotes, and beyond the first few only how many more.
std::u16string LaunchFailuresText(const std::vector<LaunchFailure>& failures);

}  // namespace quorvel
