#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "hotkeys/registrar.h"

namespace quorvel::testing_support {

// The system's atom table and hotkey registry, and what reached the default procedure.
class FakeHotKeyApi final : public HotKeyApi {
  public:
    struct Registration {
        std::uintptr_t window;
        std::uint32_t modifiers;
        std::uint32_t virtualKey;
    };

    std::uint16_t GlobalAddAtom(std::u16string_view name) override {
        if (atomTableFull) return 0;
        auto [entry, added] = atoms.try_emplace(std::u16string(name), Atom{nextAtom, 0});
        if (added) ++nextAtom;
        ++entry->second.count;
        ++systemCalls;
        return entry->second.atom;
    }
    void GlobalDeleteAtom(std::uint16_t atom) override {
        for (auto& [name, entry] : atoms) {
            if (entry.atom == atom && entry.count > 0) --entry.count;
        }
        ++systemCalls;
    }
    bool RegisterHotKey(std::uintptr_t window, int id, std::uint32_t modifiers,
                        std::uint32_t virtualKey) override {
        ++systemCalls;
        if (registerError != 0) {
            lastError = registerError;
            return false;
        }
        for (const auto& [otherId, other] : registered) {
            const bool sameKeys =
                (other.modifiers & ~kModNoRepeat) == (modifiers & ~kModNoRepeat) &&
                other.virtualKey == virtualKey;
            if (sameKeys || (other.window == window && otherId == id)) {
                lastError = kErrorHotKeyAlreadyRegistered;
                return false;
            }
        }
        registered[id] = {window, modifiers, virtualKey};
        return true;
    }
    bool UnregisterHotKey(std::uintptr_t window, int id) override {
        ++systemCalls;
        released.push_back(id);
        const auto found = registered.find(id);
        if (failUnregister || found == registered.end() || found->second.window != window)
            return false;
        registered.erase(found);
        return true;
    }
    std::uint32_t GetLastError() override { return lastError; }
    static constexpr std::uint32_t kErrorNotEnoughMemory = 8;

    int AtomCount(HotKeyValue value) const {
        const auto found = atoms.find(HotKeyAtomName(value));
        return found == atoms.end() ? 0 : found->second.count;
    }

    struct Atom {
        std::uint16_t atom;
        int count;
    };
    std::map<std::u16string, Atom> atoms;
    std::uint16_t nextAtom = 0xC000;
    std::map<int, Registration> registered;
    int systemCalls = 0;        // atoms added or deleted, registrations made or released
    std::vector<int> released;  // the ids given up, in order
    bool failUnregister = false;
    bool atomTableFull = false;
    std::uint32_t registerError = 0;  // when set, every registration is refused with it
    std::uint32_t lastError = 0;
};

}  // namespace quorvel::testing_support
