#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// A launch that did not happen: the system's reason and the program, document or address.
struct LaunchFailure {
    std::u16string reason;
    std::u16string target;
    friend bool operator==(const LaunchFailure&, const LaunchFailure&) = default;
};

// Everything a task's action does to the system: the launches and the system operations.
// Only ToggleMinimizeAll and ClearClipboard report failure by throwing Error; the launches
// give theirs back; the others fail silently or show their own messages.
class ActionOperations {
  public:
    virtual ~ActionOperations() = default;

    // Why `file` cannot be opened, found without opening anything: longer than the shell
    // takes, or a full path to a file that is not there. Nothing when it may be opened.
    virtual std::optional<LaunchFailure> CannotLaunch(std::u16string_view file) = 0;
    // Opens `file` through the shell in `directory` (empty: none of its own); an empty
    // operation stands for the default verb. Gives the failure when the shell refused.
    virtual std::optional<LaunchFailure> ShellExecuteW(std::u16string_view operation,
                                                       std::u16string_view file,
                                                       std::u16string_view parameters,
                                                       std::u16string_view directory,
                                                       int showCommand) = 0;
    // Starts a command line with a show command in `directory` (empty: none of its own); the
    // result is not examined. A program named without a folder ("calc.exe") is the one in the
    // system folder, wherever else one of that name lies.
    virtual void WinExec(std::u16string_view commandLine, int showCommand,
                         std::u16string_view directory) = 0;
    // The text with each %NAME% of the program's environment replaced by its value; an unknown
    // name stays as written.
    virtual std::u16string ExpandEnvironmentStringsW(std::u16string_view text) = 0;
    // The program's standard error box, in front of the window the user is in.
    virtual void ShowErrorBox(std::u16string_view text) = 0;

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
