#include "app/single_instance_win.h"

#include <cstdint>
#include <cwchar>
#include <iterator>

#include "common/paths.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace {

// Folders compare without regard to case, as the file system does.
std::wstring FolderKey(const std::u16string& folder) {
    std::wstring key = ToWide(folder);
    ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

// Kernel object names may not contain "\", and paths can be longer than a name may be: the
// mutex is named by a hash of the folder.
std::wstring MutexName(const std::u16string& folder) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : FolderKey(folder)) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, std::size(name), L"Local\\Quorvel-%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

std::u16string ProcessFolder(DWORD processId) {
    UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, /*bInheritHandle=*/FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH * 4];
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!::QueryFullProcessImageNameW(process.get(), /*dwFlags=*/0, path, &size)) return {};
    return FolderOf(FromWide({path, size}));
}

// The first instance makes its main window after its hotkeys, which a long task list makes
// take a while.
constexpr DWORD kFirstWindowWaitMs = 10000;
constexpr DWORD kFirstWindowPollMs = 50;

}  // namespace

SingleInstance::SingleInstance(const std::u16string& executablePath)
    : folder_(FolderOf(executablePath)) {
    mutex_.reset(::CreateMutexW(/*lpMutexAttributes=*/nullptr, /*bInitialOwner=*/FALSE,
                                MutexName(folder_).c_str()));
    // Without a mutex (out of resources) running is better than refusing to start.
    first_ = !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::ActivateFirstInstance(const wchar_t* mainWindowClass) const {
    for (DWORD waited = 0; waited <= kFirstWindowWaitMs; waited += kFirstWindowPollMs) {
        if (ActivateWindowOfFirstInstance(mainWindowClass)) return;
        ::Sleep(kFirstWindowPollMs);
    }
}

bool SingleInstance::ActivateWindowOfFirstInstance(const wchar_t* mainWindowClass) const {
    const std::wstring ours = FolderKey(folder_);
    HWND window = nullptr;
    while ((window = ::FindWindowExW(/*hWndParent=*/nullptr, window, mainWindowClass,
                                     /*lpszWindow=*/nullptr)) != nullptr) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (FolderKey(ProcessFolder(processId)) != ours) continue;
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
