#include "program_watch_win.h"

#include <algorithm>
#include <fstream>

#include "common/text.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace fs = std::filesystem;

fs::path PathFromBuild(std::string_view buildPath) {
    std::wstring path = ToWide(FromUtf8(buildPath));
    if (!path.empty() && path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (condition()) return true;
        ::Sleep(50);
    }
    return condition();
}

std::optional<std::wstring> RegValue(const wchar_t* key, const wchar_t* name) {
    wchar_t data[1024];
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void SetRegValue(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;  // null: any
    const wchar_t* title;        // null: any
    std::vector<HWND> found;
};

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* windowClass,
                                  const wchar_t* title) {
    WindowSearch search{processId, windowClass, title, {}};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<WindowSearch*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[256] = L"";
            ::GetClassNameW(window, name, 256);
            wchar_t text[256] = L"";
            ::GetWindowTextW(window, text, 256);
            if (owner == s.processId &&
                (s.windowClass == nullptr || std::wstring(name) == s.windowClass) &&
                (s.title == nullptr || std::wstring(text) == s.title)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HotKeyTaken(UINT modifiers, UINT key) {
    const bool taken = !::RegisterHotKey(nullptr, 1, modifiers, key);
    if (!taken) ::UnregisterHotKey(nullptr, 1);
    return taken;
}

}  // namespace quorvel
