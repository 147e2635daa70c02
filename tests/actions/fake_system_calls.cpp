#include "fake_system_calls.h"

#include <cstdio>

namespace quorvel::testing_support {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

namespace {
std::string Flag(bool value) { return value ? "true" : "false"; }
}  // namespace

class FakeSystemCalls::FakeHandle final : public SystemHandle {
  public:
    FakeHandle(std::vector<std::string>& log, std::string name)
        : log_(log), name_(std::move(name)) {}
    ~FakeHandle() override { log_.push_back("close " + name_); }
    FakeHandle(const FakeHandle&) = delete;
    FakeHandle& operator=(const FakeHandle&) = delete;
    const std::string& Name() const { return name_; }

  private:
    std::vector<std::string>& log_;
    std::string name_;
};

OwnedHandle FakeSystemCalls::Handed(std::string name) {
    return std::make_unique<FakeHandle>(log, std::move(name));
}

const std::string& FakeSystemCalls::NameOf(SystemHandle& handle) {
    return static_cast<FakeHandle&>(handle).Name();
}

std::uintptr_t FakeSystemCalls::ShellExecuteW(std::u16string_view operation,
                                              std::u16string_view file,
                                              std::u16string_view parameters, int showCommand) {
    log.push_back("ShellExecute [" + ToUtf8(operation) + "] [" + ToUtf8(file) + "] [" +
                  ToUtf8(parameters) + "] " + std::to_string(showCommand));
    return shellExecuteResult;
}

void FakeSystemCalls::WinExec(std::u16string_view commandLine, int showCommand) {
    log.push_back("WinExec [" + ToUtf8(commandLine) + "] " + std::to_string(showCommand));
}

std::optional<std::uint32_t> FakeSystemCalls::GetVersionExW() {
    log.push_back("GetVersionEx");
    return platformId;
}

OwnedHandle FakeSystemCalls::OpenProcessToken(std::uint32_t desiredAccess) {
    log.push_back("OpenProcessToken " + Hex(desiredAccess));
    return tokenOpens ? Handed("token") : nullptr;
}

std::optional<Luid> FakeSystemCalls::LookupPrivilegeValueW(std::u16string_view name) {
    log.push_back("LookupPrivilegeValue " + ToUtf8(name));
    return shutdownPrivilege;
}

bool FakeSystemCalls::AdjustTokenPrivileges(SystemHandle& token, Luid privilege,
                                            std::uint32_t attributes, bool askPreviousState) {
    log.push_back("AdjustTokenPrivileges " + NameOf(token) + " " +
                  std::to_string(privilege.lowPart) + " " + Hex(attributes) +
                  (askPreviousState ? " previous" : ""));
    return adjustSucceeds;
}

std::uint32_t FakeSystemCalls::GetLastError() {
    log.push_back("GetLastError");
    return lastErrorAfterAdjust;
}

bool FakeSystemCalls::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    log.push_back("ExitWindowsEx " + Hex(flags) + " " + std::to_string(reason));
    return true;
}

bool FakeSystemCalls::SetSuspendState(bool hibernate, bool force) {
    log.push_back("SetSuspendState " + Flag(hibernate) + " " + Flag(force));
    return true;
}

void FakeSystemCalls::MessageBoxW(std::u16string_view text, std::u16string_view caption) {
    log.push_back("MessageBox [" + ToUtf8(text) + "] [" + ToUtf8(caption) + "]");
}

std::u16string FakeSystemCalls::FormatMessageW(std::uint32_t errorCode) {
    log.push_back("FormatMessage " + std::to_string(errorCode));
    const auto text = errorTexts.find(errorCode);
    return text == errorTexts.end() ? std::u16string() : text->second;
}

void FakeSystemCalls::ShowErrorBox(std::u16string_view text) {
    log.push_back("ErrorBox [" + ToUtf8(text) + "]");
}

std::uint32_t FakeSystemCalls::mciSendCommandW(std::uint32_t deviceId, std::uint32_t message,
                                               std::uint32_t flags, MciOpenParms* parms) {
    std::string line =
        "mciSendCommand " + std::to_string(deviceId) + " " + Hex(message) + " " + Hex(flags);
    if (parms) line += " [" + ToUtf8(parms->deviceType) + "] [" + ToUtf8(parms->elementName) + "]";
    log.push_back(line);
    if (message != win::kMciOpen) return 0;
    if (mciOpenResult == 0 && parms) parms->deviceId = mciDeviceId;
    return mciOpenResult;
}

OwnedHandle FakeSystemCalls::CreateToolhelp32Snapshot(std::uint32_t flags) {
    log.push_back("CreateToolhelp32Snapshot " + Hex(flags));
    nextProcess_ = 0;
    return snapshotOpens ? Handed("snapshot") : nullptr;
}

std::optional<ProcessEntry> FakeSystemCalls::NextProcess() {
    if (nextProcess_ >= processes.size()) return std::nullopt;
    return processes[nextProcess_++];
}

std::optional<ProcessEntry> FakeSystemCalls::Process32FirstW(SystemHandle& snapshot) {
    log.push_back("Process32First " + NameOf(snapshot));
    nextProcess_ = 0;
    return NextProcess();
}

std::optional<ProcessEntry> FakeSystemCalls::Process32NextW(SystemHandle& snapshot) {
    log.push_back("Process32Next " + NameOf(snapshot));
    return NextProcess();
}

OwnedHandle FakeSystemCalls::OpenProcess(std::uint32_t desiredAccess, bool inheritHandle,
                                         std::uint32_t processId) {
    log.push_back("OpenProcess " + Hex(desiredAccess) + " " + Flag(inheritHandle) + " " +
                  std::to_string(processId));
    if (processesThatCannotBeOpened.contains(processId)) return nullptr;
    return Handed("process " + std::to_string(processId));
}

bool FakeSystemCalls::TerminateProcess(SystemHandle& process, std::uint32_t exitCode) {
    log.push_back("TerminateProcess " + NameOf(process) + " " + std::to_string(exitCode));
    return true;
}

OwnedHandle FakeSystemCalls::SHGetSpecialFolderLocation(int folder) {
    log.push_back("SHGetSpecialFolderLocation " + std::to_string(folder));
    return folderFound ? Handed("item-ID list") : nullptr;
}

bool FakeSystemCalls::ShellExecuteExW(SystemHandle& itemIdList, int showCommand) {
    log.push_back("ShellExecuteEx " + NameOf(itemIdList) + " " + std::to_string(showCommand));
    return true;
}

void FakeSystemCalls::ShellCall(std::string name) {
    log.push_back(name);
    if (shellCallFails) throw Error(u"Not implemented");
}

void FakeSystemCalls::MinimizeAll() { ShellCall("MinimizeAll"); }
void FakeSystemCalls::UndoMinimizeALL() { ShellCall("UndoMinimizeALL"); }

bool FakeSystemCalls::OpenClipboard() {
    log.push_back("OpenClipboard");
    return clipboardOpens;
}

bool FakeSystemCalls::EmptyClipboard() {
    log.push_back("EmptyClipboard");
    return true;
}

bool FakeSystemCalls::CloseClipboard() {
    log.push_back("CloseClipboard");
    return true;
}

}  // namespace quorvel::testing_support
