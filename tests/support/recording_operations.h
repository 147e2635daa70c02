#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "actions/action_operations.h"
#include "common/text.h"

namespace quorvel::testing_support {

// Writes every operation it is asked for into a log, one line per call, a working folder as
// "in [...]" where one is given; an operation can be made to throw, a launch to fail.
class RecordingOperations final : public ActionOperations {
  public:
    std::vector<std::string> log;
    std::function<void()> onClearClipboard;
    std::function<void()> onErrorBox;
    // The environment %NAME% is expanded from.
    std::map<std::u16string, std::u16string> environment;
    // Targets known to be missing before any launch, and those the shell refuses.
    std::set<std::u16string> missing;
    std::set<std::u16string> refused;

    std::optional<LaunchFailure> CannotLaunch(std::u16string_view file) override {
        if (!missing.contains(std::u16string(file))) return std::nullopt;
        return LaunchFailure{u"Not found.", std::u16string(file)};
    }
    std::optional<LaunchFailure> ShellExecuteW(std::u16string_view operation,
                                               std::u16string_view file,
                                               std::u16string_view parameters,
                                               std::u16string_view directory,
                                               int showCommand) override {
        Record("ShellExecute [" + ToUtf8(operation) + "] [" + ToUtf8(file) + "] [" +
               ToUtf8(parameters) + "]" + In(directory) + " " + std::to_string(showCommand));
        if (!refused.contains(std::u16string(file))) return std::nullopt;
        return LaunchFailure{u"No association.", std::u16string(file)};
    }
    void WinExec(std::u16string_view commandLine, int showCommand,
                 std::u16string_view directory) override {
        Record("WinExec [" + ToUtf8(commandLine) + "]" + In(directory) + " " +
               std::to_string(showCommand));
    }
    // A name the environment lacks stays as written.
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
    void ShowErrorBox(std::u16string_view text) override {
        Record("ErrorBox [" + ToUtf8(text) + "]");
        if (onErrorBox) onErrorBox();
    }
    void OpenSpecialFolder(int folder, int showCommand) override {
        Record("OpenSpecialFolder " + std::to_string(folder) + " " + std::to_string(showCommand));
    }
    void PowerOffComputer() override { Record("PowerOffComputer"); }
    void RebootComputer() override { Record("RebootComputer"); }
    void HibernateComputer() override { Record("HibernateComputer"); }
    void StandByComputer() override { Record("StandByComputer"); }
    void LogOffComputer() override { Record("LogOffComputer"); }
    void OpenCdDoor(std::u16string_view drive) override {
        Record("OpenCdDoor [" + ToUtf8(drive) + "]");
    }
    void CloseCdDoor(std::u16string_view drive) override {
        Record("CloseCdDoor [" + ToUtf8(drive) + "]");
    }
    void CloseProgramByName(std::u16string_view fileName) override {
        Record("CloseProgramByName [" + ToUtf8(fileName) + "]");
    }
    void ToggleMinimizeAll() override { Record("ToggleMinimizeAll"); }
    void ClearClipboard() override {
        if (onClearClipboard) onClearClipboard();
        Record("ClearClipboard");
    }

  private:
    void Record(std::string line) { log.push_back(std::move(line)); }
    static std::string In(std::u16string_view directory) {
        return directory.empty() ? "" : " in [" + ToUtf8(directory) + "]";
    }
};

}  // namespace quorvel::testing_support
