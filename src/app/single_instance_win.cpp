#include "app/single_instance_win.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <iterator>

#include "common/paths.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace {

// Kernel object names may not contain "\", and paths can be longer than a name may be: a
// path stands in a name as its hash, without regard to case, as the file system compares.
std::wstring PathKey(const std::wstring& path) {
    std::wstring upper = path;
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : upper) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    wchar_t key[32];
    std::swprintf(key, std::size(key), L"path-%016llx", static_cast<unsigned long long>(hash));
    return key;
}

// The folder's identity: its volume's serial number and its file number, the same by every
// path that leads to it. A folder that cannot be opened (not there yet) is known by its path.
std::wstring FolderKey(const std::wstring& folder) {
    const UniqueFileHandle handle(
        ::CreateFileW(folder.c_str(), /*dwDesiredAccess=*/0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !::GetFileInformationByHandle(handle.get(), &info)) return PathKey(folder);
    wchar_t key[48];
    std::swprintf(key, std::size(key), L"file-%08lx-%08lx%08lx", info.dwVolumeSerialNumber,
                  info.nFileIndexHigh, info.nFileIndexLow);
    return key;
}

// The keys of a program's data folder and of its own folder.
std::vector<std::wstring> KeysOf(const std::u16string& executablePath) {
    const std::wstring programFolder = ToWide(FolderOf(executablePath));
    return {L"data-" + FolderKey(programFolder + L"\\data"),
            L"program-" + FolderKey(programFolder)};
}

std::u16string ProcessExecutable(DWORD processId) {
    UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, /*bInheritHandle=*/FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH * 4];
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!::QueryFullProcessImageNameW(process.get(), /*dwFlags=*/0, path, &size)) return {};
    return FromWide({path, size});
}

// The first instance makes its main window after its hotkeys, which a long task list makes
// take a while.
constexpr DWORD kFirstWindowWaitMs = 10000;
constexpr DWORD kFirstWindowPollMs = 50;

}  // namespace

SingleInstance::SingleInstance(const std::u16string& executablePath)
    : keys_(KeysOf(executablePath)) {
    for (const std::wstring& key : keys_) {
        UniqueKernelHandle mutex(::CreateMutexW(/*lpMutexAttributes=*/nullptr,
                                                /*bInitialOwner=*/FALSE,
                                                (L"Local\\Quorvel-" + key).c_str()));
        // Without a mutex (out of resources) running is better than refusing to start.
        if (mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) first_ = false;
        mutexes_.push_back(std::move(mutex));
    }
}

void SingleInstance::ActivateFirstInstance(const wchar_t* mainWindowClass) const {
    for (DWORD waited = 0; waited <= kFirstWindowWaitMs; waited += kFirstWindowPollMs) {
        if (ActivateWindowOfFirstInstance(mainWindowClass)) return;
        ::Sleep(kFirstWindowPollMs);
    }
}

bool SingleInstance::ActivateWindowOfFirstInstance(const wchar_t* mainWindowClass) const {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(/*hWndParent=*/nullptr, window, mainWindowClass,
                                     /*lpszWindow=*/nullptr)) != nullptr) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (processId == ::GetCurrentProcessId()) continue;
        const std::u16string executable = ProcessExecutable(processId);
        if (executable.empty()) continue;
        const std::vector<std::wstring> theirs = KeysOf(executable);
        const bool same = std::any_of(keys_.begin(), keys_.end(), [&](const std::wstring& key) {
            return std::find(theirs.begin(), theirs.end(), key) != theirs.end();
        });
        if (!same) continue;
        // Only the foreground process may hand the foreground on.
        ::AllowSetForegroundWindow(processId);
        ::PostMessageW(window, ShowMessage(), 0, 0);
        return true;
    }
    return false;
}

UINT SingleInstance::ShowMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Quorvel.ShowMainWindow");
    return message;
}

}  // namespace quorvel
