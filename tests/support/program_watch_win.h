#pragma once

// A program started by a test or a benchmark and watched from outside: its windows, its
// hotkeys, the files of its folder and the registry values it writes.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

inline constexpr wchar_t kMainWindowClass[] = L"QuorvelTessalyMainWindow";
inline constexpr wchar_t kVendorKey[] = L"Software\\Tessaly\\Dravlin";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr DWORD kStartTimeoutMs = 20000;

// A path as the build machine gave it; under Wine a Unix path is reached through drive Z:.
std::filesystem::path PathFromBuild(std::string_view buildPath);

// Polls the condition until it holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kStartTimeoutMs);

std::optional<std::wstring> RegValue(const wchar_t* key, const wchar_t* name);
void SetRegValue(const wchar_t* key, const wchar_t* name, const std::wstring& text);

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// A file's bytes; none for a file that cannot be read.
std::string FileText(const std::filesystem::path& path);

// A null class or title matches any.
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* windowClass,
                                  const wchar_t* title = nullptr);

// The message boxes and file choosers of a process that show; a null title matches any.
std::vector<HWND> VisibleBoxes(DWORD processId, const wchar_t* title = L"Quorvel");
// The process's message box once one shows; null when the time runs out.
HWND WaitForBox(DWORD processId, DWORD timeoutMs = kStartTimeoutMs);
// The message of a message box.
std::wstring BoxText(HWND box);

// The parts of a text between the delimiters, empty ones too.
std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view delimiter);
// Bytes as UTF-16 text; an odd last byte is left out.
std::wstring Utf16Text(std::string_view bytes);

// What the test program argdump.exe recorded of its start in its report file: the show
// command, then one line per argument.
std::vector<std::wstring> ArgDumpReport(const std::filesystem::path& report);
// The working folder it started in, as its report tells.
std::wstring ArgDumpFolder(const std::filesystem::path& report);

// Text on the clipboard, as another program puts it there.
void PutTextOnClipboard(const wchar_t* text);

// Whether a window or thread other than the caller's holds the combination (MOD_ flags and
// virtual key), so that the caller cannot register it.
bool HotKeyTaken(UINT modifiers, UINT key);

// The libraries a 64-bit executable or library imports at load time, in lower case, from its
// file; empty for a file that cannot be read.
std::set<std::string> ImportedLibraries(const std::filesystem::path& image);

// The libraries a running process has loaded, in lower case, without its executable.
std::set<std::string> LoadedLibraries(HANDLE process);

// Presses the keys in order at the system's keyboard input and releases them in reverse, as a
// user's fingers would; whether the system took every key.
inline bool SendKeysTogether(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD key, DWORD flags) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
    };
    for (const WORD key : keys) add(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

}  // namespace quorvel
