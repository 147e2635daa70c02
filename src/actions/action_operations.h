#pragma once

#include <string_view>

namespace quorvel {

// Everything a task's action does to the system: the launches and the system operations.
// Only ToggleMinimizeAll and ClearClipboard report failure (by throwing Error); the others
// fail silently or show their own messages.
class ActionOperations {
  public:
    virtual ~ActionOperations() = default;

    // Opens `file` through the shell; an empty operation stands for the default verb. A failure
    // is shown in the standard error box, and the caller goes on once it is closed; so is a
    // file or address longer than the shell takes, which is then not handed over.
    virtual void ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                               std::u16string_view parameters, int showCommand) = 0;
    // Starts a command line with a show command; the result is not examined. A program named
    // without a folder ("calc.exe") is the one in the system folder, wherever else one of
    // that name lies.
    virtual void WinExec(std::u16string_view commandLine, int showCommand) = 0;

    virtual void OpenSpecialFolder(int folder, int showCommand) = 0;
    virtual void PowerOffComputer() = 0;
    virtual void RebootComputer() = 0;
    virtual void HibernateComputer() = 0;
    virtual void StandByComputer() = 0;
    virtual void LogOffComputer() = 0;
    virtual void OpenCdDoor(std::u16string_view drive) = 0;
    virtual void CloseCdDoor(std::u16string_view drive) = 0;
    virtual void CloseProgramByName(std::u16string_view fileName) = 0;
    virtual void ToggleMinimizeAll() = 0;
    virtual void ClearClipboard() = 0;
};

}  // namespace quorvel
