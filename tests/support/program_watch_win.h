#pragma once

// A program started by a test or a benchmark and watched from outside: its windows, its
// hotkeys, the files of its folder and the registry values it writes.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
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

// A null class or title matches any.
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* windowClass,
                                  const wchar_t* title = nullptr);

// Whether another program holds the combination (MOD_ flags and virtual key).
bool HotKeyTaken(UINT modifiers, UINT key);

}  // namespace quorvel
