#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "actions/system_calls.h"
#include "common/error.h"
#include "common/text.h"

namespace quorvel::testing_support {

std::string Hex(std::uint32_t value);

// A scripted system: answers each call as its fields say and logs every call, including
// the closing of the handles it gave out, one line per call.
class FakeSystemCalls final : public SystemCalls {
  public:
    std::vector<std::string> log;

    std::optional<std::uint32_t> platformId = 2;
    bool tokenOpens = true;
    std::optional<Luid> shutdownPrivilege = Luid{19, 0};
    bool adjustSucceeds = true;
    std::uint32_t lastErrorAfterAdjust = 0;
    std::uint32_t mciOpenResult = 0;
    std::uint32_t mciDeviceId = 7;
    bool snapshotOpens = true;
    std::vector<ProcessEntry> processes;
    std::set<std::uint32_t> processesThatCannotBeOpened;
    bool folderFound = true;
    bool shellCallFails = false;
    bool clipboardOpens = true;
    std::uintptr_t shellExecuteResult = 42;
    // The system's texts by error code; others have none.
    std::map<std::uint32_t, std::u16string> errorTexts{{2, u"The file was not found."}};

    std::uintptr_t ShellExecuteW(std::u16string_view operation, std::u16string_view file,
                                 std::u16string_view parameters, int showCommand) override;
    void WinExec(std::u16string_view commandLine, int showCommand) override;
    std::optional<std::uint32_t> GetVersionExW() override;
    OwnedHandle OpenProcessToken(std::uint32_t desiredAccess) override;
    std::optional<Luid> LookupPrivilegeValueW(std::u16string_view name) override;
    bool AdjustTokenPrivileges(SystemHandle& token, Luid privilege, std::uint32_t attributes,
                               bool askPreviousState) override;
    std::uint32_t GetLastError() override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
    bool SetSuspendState(bool hibernate, bool force) override;
    void MessageBoxW(std::u16string_view text, std::u16string_view caption) override;
    std::u16string FormatMessageW(std::uint32_t errorCode) override;
    void ShowErrorBox(std::u16string_view text) override;
    std::uint32_t mciSendCommandW(std::uint32_t deviceId, std::uint32_t message,
                                  std::uint32_t flags, MciOpenParms* parms) override;
    OwnedHandle CreateToolhelp32Snapshot(std::uint32_t flags) override;
    std::optional<ProcessEntry> Process32FirstW(SystemHandle& snapshot) override;
    std::optional<ProcessEntry> Process32NextW(SystemHandle& snapshot) override;
    OwnedHandle OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                            std::uint32_t processId) override;
    bool TerminateProcess(SystemHandle& process, std::uint32_t exitCode) override;
    OwnedHandle SHGetSpecialFolderLocation(int folder) override;
    bool ShellExecuteExW(SystemHandle& itemIdList, int showCommand) override;
    void MinimizeAll() override;
    void UndoMinimizeALL() override;
    bool OpenClipboard() override;
    bool EmptyClipboard() override;
    bool CloseClipboard() override;

  private:
    class FakeHandle;
    OwnedHandle Handed(std::string name);
    static const std::string& NameOf(SystemHandle& handle);
    std::optional<ProcessEntry> NextProcess();
    void ShellCall(std::string name);

    std::size_t nextProcess_ = 0;
};

}  // namespace quorvel::testing_support
