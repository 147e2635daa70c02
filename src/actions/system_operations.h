#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "actions/action_operations.h"
#include "actions/system_calls.h"

namespace quorvel {

// The actions' operations as sequences of system calls: the launches, power and log-off,
// the CD door, closing programs by name, shell folders, minimise-all and the clipboard.
class SystemOperations : public ActionOperations {
  public:
    explicit SystemOperations(std::unique_ptr<SystemCalls> calls);

    // "Win32s", "Windows 95", "Windows NT", or empty when the version is unknown.
    std::u16string GetOsFamilyName();
    // Enables the shutdown privilege for this process. A failing step shows its "Exit Error"
    // message and gives false; nothing further is tried.
    bool EnableShutdownPrivilege();

    void ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                       std::u16string_view parameters, int showCommand) override;
    void WinExec(std::u16string_view commandLine, int showCommand) override;
    void OpenSpecialFolder(int folder, int showCommand) override;
    void PowerOffComputer() override;
    void RebootComputer() override;
    void HibernateComputer() override;
    void StandByComputer() override;
    void LogOffComputer() override;
    void OpenCdDoor(std::u16string_view drive) override;
    void CloseCdDoor(std::u16string_view drive) override;
    void CloseProgramByName(std::u16string_view fileName) override;
    // Minimises all windows, or restores them when the last successful call minimised.
    void ToggleMinimizeAll() override;
    void ClearClipboard() override;

  private:
    void ExitWindowsWithShutdownPrivilege(std::uint32_t flags);
    void SuspendWithShutdownPrivilege(bool hibernate, bool force);
    void SetCdDoor(std::u16string_view drive, std::uint32_t doorFlag);
    void ShowLaunchFailure(std::uint32_t errorCode, std::u16string_view file);

    std::unique_ptr<SystemCalls> calls_;
    bool windowsMinimized_ = false;
};

// The name the CD device is opened by: the drive letter of a destination such as "e", "E:"
// or "E:\" followed by ":" ("E:"); nothing when the destination starts with no letter.
std::optional<std::u16string> CdElementName(std::u16string_view drive);

// The error box's text for a launch that failed: the system's message for the error (or its
// number when the system has no text), then on a line of its own the file, in quotes, as
// VisibleText shows it.
std::u16string LaunchFailureText(std::u16string_view systemMessage, std::uint32_t errorCode,
                                 std::u16string_view file);

// Whether a process's executable name stands for `fileName`: by its file-name part or as a
// whole, ignoring the letter case of ASCII letters only.
bool ProcessNameMatches(std::u16string_view exeFile, std::u16string_view fileName);

}  // namespace quorvel
