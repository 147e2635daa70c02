#include "hotkeys/registrar.h"

#include <algorithm>

#include "common/text.h"

namespace quorvel {

std::u16string HotKeyAtomName(HotKeyValue hotKey) { return u"DravlinHotKey" + ToText(hotKey); }

HotKeyRegistrar::HotKeyRegistrar(HotKeyApi& api, std::uintptr_t windowHandle)
    : api_(api), windowHandle_(windowHandle) {}

HotKeyRegistrar::~HotKeyRegistrar() { ReleaseAll(); }

std::uint16_t HotKeyRegistrar::BindHotKey(HotKeyValue hotKey) {
    if (IsBound(hotKey)) return 0;
    const SplitKey split = SplitHotKey(hotKey);
    const std::uint16_t id = api_.GlobalAddAtom(HotKeyAtomName(hotKey));
    // Without an atom there is no id of its own to register under or to report.
    if (id == 0) {
        lastBindError_ = api_.GetLastError();
        return 0;
    }
    // Auto-repeat of a held combination would otherwise run the task once per repeat.
    if (!api_.RegisterHotKey(windowHandle_, id, split.modifiers | kModNoRepeat, split.key)) {
        // Read before the atom call can overwrite it.
        lastBindError_ = api_.GetLastError();
        api_.GlobalDeleteAtom(id);
        return 0;
    }
    lastBindError_ = 0;
    bindings_.push_back({hotKey, id});
    boundValues_.insert(hotKey);
    return id;
}

bool HotKeyRegistrar::UnbindHotKey(HotKeyValue hotKey) {
    const auto binding =
        std::find_if(bindings_.begin(), bindings_.end(),
                     [hotKey](const HotKeyBinding& entry) { return entry.HotKey == hotKey; });
    if (binding == bindings_.end()) return false;
    ReleaseBinding(*binding);
    boundValues_.erase(hotKey);
    bindings_.erase(binding);
    return true;
}

bool HotKeyRegistrar::ReleaseBinding(const HotKeyBinding& binding) {
    const bool released = api_.UnregisterHotKey(windowHandle_, binding.Id);
    api_.GlobalDeleteAtom(binding.Id);
    return released;
}

void HotKeyRegistrar::ReleaseAll() {
    while (!bindings_.empty()) {
        ReleaseBinding(bindings_.back());
        boundValues_.erase(bindings_.back().HotKey);
        bindings_.pop_back();
    }
}

bool HotKeyRegistrar::IsBound(HotKeyValue hotKey) const { return boundValues_.count(hotKey) > 0; }

void HotKeyRegistrar::ReportPress(std::uintptr_t keys) {
    const HotKeyValue hotKey = MakeHotKey(static_cast<std::uint16_t>(keys & 0xFFFF),
                                          static_cast<std::uint16_t>((keys >> 16) & 0xFFFF));
    if (listener_ != nullptr && IsBound(hotKey)) listener_->OnHotKeyPressed(hotKey);
}

}  // namespace quorvel
