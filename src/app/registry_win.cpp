#include "app/registry_win.h"

#include <windows.h>

#include <vector>

#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

std::optional<std::u16string> WindowsRegistry::ReadString(const std::u16string& key,
                                                          const std::u16string& valueName) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(key).c_str(), /*ulOptions=*/0, KEY_QUERY_VALUE,
                        &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueRegKey ownedKey(opened);
    const std::wstring name = ToWide(valueName);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(size);
    // A value that grew meanwhile no longer fits and is not read (ERROR_MORE_DATA).
    if (::RegQueryValueExW(opened, name.c_str(), nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    data.resize(size);
    return RegStringText(data);
}

bool WindowsRegistry::WriteString(const std::u16string& key, const std::u16string& valueName,
                                  std::u16string_view text) {
    HKEY created = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(key).c_str(), /*Reserved=*/0,
                          /*lpClass=*/nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          /*lpSecurityAttributes=*/nullptr, &created,
                          /*lpdwDisposition=*/nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueRegKey ownedKey(created);
    const std::wstring data = ToWide(text);
    return ::RegSetValueExW(created, ToWide(valueName).c_str(), /*Reserved=*/0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

}  // namespace quorvel
