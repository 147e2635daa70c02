#include "program_harness_win.h"

#include <algorithm>

namespace quorvel {

namespace fs = std::filesystem;

void DeleteRegValues() {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kVendorKey, L"fr");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Quorvel");
}

std::string UserSettings(std::string_view settings) {
    const std::size_t lastLine =
        settings.rfind("\r\n", settings.size() - std::min<std::size_t>(settings.size(), 3));
    return std::string(lastLine == std::string_view::npos ? settings
                                                          : settings.substr(0, lastLine + 2));
}

Quorvel::Quorvel(const fs::path& executable, const fs::path& workingFolder) {
    const auto counterBefore = RegValue(kVendorKey, L"fr");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + executable.wstring() + L"\"";
    const std::wstring folder =
        (workingFolder.empty() ? executable.parent_path() : workingFolder).wstring();
    const auto create = [&] {
        return ::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                nullptr, folder.c_str(), &startup, &info);
    };
    // Wine now and then fails a process's creation with an internal error (once in many hundred
    // starts); one more try tells that from a program that cannot start.
    bool created = create();
    if (!created && ::GetLastError() == ERROR_INTERNAL_ERROR) {
        ::Sleep(500);
        created = create();
    }
    if (!created) {
        ADD_FAILURE() << "CreateProcessW failed: " << ::GetLastError();
        return;
    }
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    id_ = info.dwProcessId;
    WaitForStartUp(counterBefore);
}

// A test that failed half way leaves the program running; it must be gone before the scratch
// folder with its executable can be removed.
Quorvel::~Quorvel() {
    if (process_ && Running()) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), kStartTimeoutMs);
    }
}

HWND Quorvel::MainWindow() const {
    HWND window = nullptr;
    WaitUntil([&] {
        const auto windows = TopLevelWindows(id_, kMainWindowClass);
        window = windows.empty() ? nullptr : windows.front();
        return window != nullptr;
    });
    return window;
}

bool Quorvel::Running() const { return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Quorvel::WaitForExit(DWORD timeoutMs) const {
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

void Quorvel::Close() const {
    ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), std::optional<DWORD>(0));
}

// Counting the start is the main window's first step with an effect outside; the window
// answers a message once the rest of its creation is done and the program waits for input.
void Quorvel::WaitForStartUp(const std::optional<std::wstring>& counterBefore) const {
    ::WaitForInputIdle(process_.get(), kStartTimeoutMs);
    WaitUntil([&] { return !Running() || RegValue(kVendorKey, L"fr") != counterBefore; });
    if (!Running()) return;  // a second start hands over to the first and ends
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_BLOCK, kStartTimeoutMs, &ignored);
}

void QuorvelProgramTest::SetUp() {
    fs::create_directories(Data());
    fs::copy_file(PathFromBuild(QUORVEL_EXE_PATH), Executable());
    WriteFile(Data() / "actions.cfg", "\xFF\xFE");
    WriteFile(Data() / "settings.cnfg", kDefaultSettings);
    WriteFile(Data() / "w_size.cnfg", "609\r\n449\r\n0\r\n207\r\n159\r\n");
    DeleteRegValues();
}

void QuorvelProgramTest::RemoveDataFiles() const {
    for (const char* name : {"actions.cfg", "settings.cnfg", "w_size.cnfg"}) {
        fs::remove(Data() / name);
    }
}

void QuorvelProgramTest::TearDown() { DeleteRegValues(); }

}  // namespace quorvel
