#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "actions/action_operations.h"
#include "actions/system_services.h"

namespace quorvel {

// The actions' operations over the system's services: the launches, power and log-off, the
// CD door, closing programs by name, shell folders, minimise-all and the clipboard.
class SystemOperations : public ActionOperations {
  public:
    explicit SystemOperations(SystemServices services);

    std::optional<LaunchFailure> CannotLaunch(std::u16string_view file) override;
    std::optional<LaunchFailure> ShellExecuteW(std::u16string_view operation,
                                               std::u16string_view file,
                                               std::u16string_view parameters,
                                               std::u16string_view directory,
                                               int showCommand) override;
    void WinExec(std::u16string_view commandLine, int showCommand,
                 std::u16string_view directory) override;
    std::u16string ExpandEnvironmentStringsW(std::u16string_view text) override;
    void ShowErrorBox(std::u16string_view text) override;
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
    // Enables the shutdown privilege; a failing step shows its "Exit Error" message and gives
    // false.
    bool EnableShutdownPrivilege();
    void EndSessionWithShutdownPrivilege(std::uint32_t flags);
    void SuspendWithShutdownPrivilege(bool hibernate, bool force);
    void SetCdDoor(std::u16string_view drive, Door door);
    LaunchFailure Failure(std::uint32_t errorCode, std::u16string_view file);

    SystemServices system_;
    bool windowsMinimized_ = false;
};

// The name the CD device is opened by: the drive letter of a destination such as "e", "E:"
// or "E:\" followed by ":" ("E:"); nothing when the destination starts with no letter.
std::optional<std::u16string> CdElementName(std::u16string_view drive);

// Whether a process's executable name stands for `fileName`: by its file-name part or as a
// whole, ignoring the letter case of ASCII letters only.
bool ProcessNameMatches(std::u16string_view exeFile, std::u16string_view fileName);

}  // namespace quorvel
