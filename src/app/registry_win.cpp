#include "app/registry_win.h"

#include <windows.h>

#include "common/win/wide_text_win.h"

// Definitions of the members named like the calls, not the A/W macros.

namespace quorvel {

static_assert(kKeyQueryValue == KEY_QUERY_VALUE && kKeyAllAccess == KEY_ALL_ACCESS);
static_assert(kRegSz == REG_SZ && kErrorSuccess == ERROR_SUCCESS);

namespace {

// The per-user root is a handle <windows.h> makes by a cast, which no constant expression can
// compare; it is named by its number on the portable side and translated here.
HKEY ToHkey(RegistryApi::Key key) {
    return key == kHkeyCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

}  // namespace

long WindowsRegistry::RegOpenKeyExW(Key root, const std::u16string& subKey, std::uint32_t access,
                                    Key& result) {
    HKEY opened = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExW(ToHkey(root), ToWide(subKey).c_str(), /*ulOptions=*/0, access, &opened);
    result = reinterpret_cast<Key>(opened);
    return status;
}

long WindowsRegistry::RegQueryValueExW(Key key, const std::u16string& valueName,
                                       std::uint32_t& type, std::uint8_t* data,
                                       std::uint32_t& size) {
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LSTATUS status = ::RegQueryValueExW(ToHkey(key), ToWide(valueName).c_str(),
                                              /*lpReserved=*/nullptr, &valueType, data, &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

long WindowsRegistry::RegCreateKeyExW(Key root, const std::u16string& subKey, std::uint32_t access,
                                      Key& result) {
    HKEY created = nullptr;
    const LSTATUS status =
        ::RegCreateKeyExW(ToHkey(root), ToWide(subKey).c_str(), /*Reserved=*/0,
                          /*lpClass=*/nullptr, REG_OPTION_NON_VOLATILE, access,
                          /*lpSecurityAttributes=*/nullptr, &created, /*lpdwDisposition=*/nullptr);
    result = reinterpret_cast<Key>(created);
    return status;
}

long WindowsRegistry::RegSetValueExW(Key key, const std::u16string& valueName, std::uint32_t type,
                                     std::span<const std::uint8_t> data) {
    return ::RegSetValueExW(ToHkey(key), ToWide(valueName).c_str(), /*Reserved=*/0, type,
                            data.data(), static_cast<DWORD>(data.size()));
}

long WindowsRegistry::RegCloseKey(Key key) { return ::RegCloseKey(ToHkey(key)); }

}  // namespace quorvel
