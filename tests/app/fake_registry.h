#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/registry.h"

namespace quorvel::testing {

// An in-memory registry under HKEY_CURRENT_USER that behaves like the real calls: sizes in
// bytes, ERROR_MORE_DATA for a short buffer, and a count of open keys.
class FakeRegistry final : public RegistryApi {
  public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::vector<std::uint8_t> data;
    };
    static constexpr long kFileNotFound = 2;
    static constexpr long kAccessDenied = 5;
    static constexpr long kMoreData = 234;

    long RegOpenKeyExW(Key root, const std::u16string& subKey, std::uint32_t,
                       Key& result) override {
        if (root != kHkeyCurrentUser || !keys.contains(subKey)) return kFileNotFound;
        return Open(subKey, result);
    }
    long RegQueryValueExW(Key key, const std::u16string& valueName, std::uint32_t& type,
                          std::uint8_t* data, std::uint32_t& size) override {
        auto& values = keys.at(open.at(key));
        const auto found = values.find(valueName);
        if (found == values.end()) return kFileNotFound;
        type = found->second.type;
        const auto stored = static_cast<std::uint32_t>(found->second.data.size());
        if (data != nullptr && size < stored) {
            size = stored;
            return kMoreData;
        }
        if (data != nullptr) std::copy(found->second.data.begin(), found->second.data.end(), data);
        size = stored;
        return 0;
    }
    long RegCreateKeyExW(Key root, const std::u16string& subKey, std::uint32_t,
                         Key& result) override {
        if (root != kHkeyCurrentUser || readOnly) return kAccessDenied;
        keys[subKey];
        return Open(subKey, result);
    }
    long RegSetValueExW(Key key, const std::u16string& valueName, std::uint32_t type,
                        std::span<const std::uint8_t> data) override {
        keys.at(open.at(key))[valueName] = {type, {data.begin(), data.end()}};
        return 0;
    }
    long RegCloseKey(Key key) override { return open.erase(key) == 1 ? 0 : 6; }

    // The stored data of a REG_SZ value as UTF-16 units, terminator included.
    std::u16string Units(const std::u16string& key, const std::u16string& valueName) const {
        const auto& bytes = keys.at(key).at(valueName).data;
        std::u16string units(bytes.size() / 2, u'\0');
        std::copy(bytes.begin(), bytes.begin() + static_cast<long>(units.size() * 2),
                  reinterpret_cast<std::uint8_t*>(units.data()));
        return units;
    }
    void SetUnits(const std::u16string& key, const std::u16string& valueName,
                  std::u16string_view units, std::uint32_t type = kRegSz) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(units.data());
        keys[key][valueName] = {type, {bytes, bytes + units.size() * 2}};
    }

    std::map<std::u16string, std::map<std::u16string, Value>> keys;
    std::map<Key, std::u16string> open;
    bool readOnly = false;

  private:
    long Open(const std::u16string& subKey, Key& result) {
        result = ++lastHandle_;
        open[result] = subKey;
        return 0;
    }
    Key lastHandle_ = 0x100;
};

}  // namespace quorvel::testing
