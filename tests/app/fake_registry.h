#pragma once

#include <map>
#include <string>
#include <utility>

#include "app/registry.h"

namespace quorvel::testing {

// The per-user registry in memory: its text values by key and name.
class FakeRegistry final : public RegistryApi {
  public:
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;
    bool readOnly = false;

    std::optional<std::u16string> ReadString(const std::u16string& key,
                                             const std::u16string& valueName) override {
        const auto value = values.find({key, valueName});
        if (value == values.end()) return std::nullopt;
        return value->second;
    }
    bool WriteString(const std::u16string& key, const std::u16string& valueName,
                     std::u16string_view text) override {
        if (readOnly) return false;
        values[{key, valueName}] = text;
        return true;
    }
};

}  // namespace quorvel::testing
