#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/action_operations.h"
#include "common/text.h"

namespace quorvel::testing_support {

// Writes every operation it is asked for into a log, one line per call; an operation can
// be made to throw.
class RecordingOperations final : public ActionOperations {
  public:
    std::vector<std::string> log;
    std::function<void()> onClearClipboard;

    void ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                       std::u16string_view parameters, int showCommand) override {
        Record("ShellExecute [" + ToUtf8(operation) + "] [" + ToUtf8(file) + "] [" +
               ToUtf8(parameters) + "] " + std::to_string(showCommand));
    }
    void WinExec(std::u16string_view commandLine, int showCommand) override {
        Record("WinExec [" + ToUtf8(commandLine) + "] " + std::to_string(showCommand));
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
};

}  // namespace quorvel::testing_support
