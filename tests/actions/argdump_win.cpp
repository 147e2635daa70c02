// Test program: records how it was started in "argdump.txt" beside itself, as UTF-16 lines:
// the show command it was given ("show=N", or "show=none"), the working folder it started in,
// then each argument.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring Report() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoW(&startup);
    std::wstring report = (startup.dwFlags & STARTF_USESHOWWINDOW)
                              ? L"show=" + std::to_wstring(startup.wShowWindow)
                              : L"show=none";
    wchar_t workingFolder[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, workingFolder);
    report += L'\n' + std::wstring(workingFolder);
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) report += L'\n' + std::wstring(arguments[i]);
    ::LocalFree(arguments);
    return report;
}

}  // namespace

int main() {
    const std::wstring folder = OwnFolder();
    const std::wstring partial = folder + L"\\argdump.tmp";
    const std::wstring report = Report();
    const HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)),
                    &written, nullptr);
    ::CloseHandle(file);
    // The reader sees the whole report or none of it.
    if (!ok || !::MoveFileExW(partial.c_str(), (folder + L"\\argdump.txt").c_str(),
                              MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    return 0;
}
