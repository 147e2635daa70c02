#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "hotkeys/hotkey.h"

// <windows.h> defines these names as macros for their A/W forms; keep the members' names the
// same in every translation unit whatever was included before.
#pragma push_macro("GlobalAddAtom")
#undef GlobalAddAtom

namespace quorvel {

// WM_HOTKEY: the system's report of a registered hotkey's press.
inline constexpr std::uint32_t kWmHotKey = 0x0312;
// MOD_NOREPEAT: a held hotkey reports one press, not one per keyboard auto-repeat.
inline constexpr std::uint32_t kModNoRepeat = 0x4000;
// ERROR_HOTKEY_ALREADY_REGISTERED: RegisterHotKey's refusal of a combination another
// registration holds.
inline constexpr std::uint32_t kErrorHotKeyAlreadyRegistered = 1409;

// The system's global atoms and hotkey registration. Window handles are numbers.
class HotKeyApi {
  public:
    virtual ~HotKeyApi() = default;

    // The atom for the name, counted once more; 0 on failure.
    virtual std::uint16_t GlobalAddAtom(std::u16string_view name) = 0;
    // Gives up one count of the atom.
    virtual void GlobalDeleteAtom(std::uint16_t atom) = 0;
    // False when the system refuses, for example because the combination is taken.
    virtual bool RegisterHotKey(std::uintptr_t window, int id, std::uint32_t modifiers,
                                std::uint32_t virtualKey) = 0;
    virtual bool UnregisterHotKey(std::uintptr_t window, int id) = 0;
    // The calling thread's last error code, as the failed call above left it.
    virtual std::uint32_t GetLastError() = 0;
};

// Hears the presses of the bound hotkeys.
class HotKeyListener {
  public:
    virtual void OnHotKeyPressed(HotKeyValue hotKey) = 0;

  protected:
    ~HotKeyListener() = default;
};

// One bound hotkey: the value given to BindHotKey and the atom that is its system id.
struct HotKeyBinding {
    HotKeyValue HotKey;
    std::uint16_t Id;
};

// Registers hotkey values as system-wide hotkeys of one window and reports their presses.
// Bindings last until they are unbound; the destructor releases the rest last first.
class HotKeyRegistrar {
  public:
    HotKeyRegistrar(HotKeyApi& api, std::uintptr_t windowHandle);
    virtual ~HotKeyRegistrar();
    HotKeyRegistrar(const HotKeyRegistrar&) = delete;
    HotKeyRegistrar& operator=(const HotKeyRegistrar&) = delete;

    // The id of the new binding, or 0 when the system refuses the hotkey or this value is
    // bound already (a bound value is refused without asking the system, since a long task
    // list repeats its hotkeys many times); LastBindError then says why.
    std::uint16_t BindHotKey(HotKeyValue hotKey);
    // The system's error code for the last BindHotKey that was refused (for a combination
    // another program holds, kErrorHotKeyAlreadyRegistered); 0 after one that succeeded.
    std::uint32_t LastBindError() const { return lastBindError_; }
    // Releases the value's binding and gives up its atom; false when the value is not bound.
    bool UnbindHotKey(HotKeyValue hotKey);
    // True when the system released the hotkey; the atom is given up either way.
    bool ReleaseBinding(const HotKeyBinding& binding);
    void ReleaseAll();
    bool IsBound(HotKeyValue hotKey) const;

    // The system's report of a press, WM_HOTKEY's lParam (the modifiers in the low word, the
    // key in the high one): the listener hears it when the value is bound.
    void ReportPress(std::uintptr_t keys);
    // Who hears the presses from now on; none: nobody.
    void SetListener(HotKeyListener* listener) { listener_ = listener; }

    const std::vector<HotKeyBinding>& Bindings() const { return bindings_; }
    std::uintptr_t WindowHandle() const { return windowHandle_; }

  private:
    HotKeyApi& api_;
    std::uintptr_t windowHandle_;
    std::vector<HotKeyBinding> bindings_;
    std::uint32_t lastBindError_ = 0;
    HotKeyListener* listener_ = nullptr;
    std::unordered_set<HotKeyValue> boundValues_;  // the values of bindings_, for IsBound
};

// "DravlinHotKey" followed by the value in decimal: the name of a binding's atom.
std::u16string HotKeyAtomName(HotKeyValue hotKey);

}  // namespace quorvel

#pragma pop_macro("GlobalAddAtom")
