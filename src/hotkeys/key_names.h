#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// <windows.h> defines some of these names as macros for their A/W forms; keep the members'
// names the same in every translation unit whatever was included before.
#pragma push_macro("MapVirtualKeyEx")
#pragma push_macro("GetKeyNameText")
#pragma push_macro("LoadKeyboardLayout")
#undef MapVirtualKeyEx
#undef GetKeyNameText
#undef LoadKeyboardLayout

namespace quorvel {

// A keyboard layout handle (HKL) as a number.
using LayoutHandle = std::uintptr_t;

// KLF_NOTELLSHELL: load a layout without announcing it to the shell.
inline constexpr std::uint32_t kLoadNoTellShell = 0x80;

// MapVirtualKeyEx's map types: virtual key to scan code, scan code to virtual key (not telling
// the left and right keys of a modifier apart).
inline constexpr std::uint32_t kMapVkToVsc = 0;
inline constexpr std::uint32_t kMapVscToVk = 1;

// The system's keyboard layouts and key names, behind the calls of the same names.
class KeyNameProvider {
  public:
    virtual ~KeyNameProvider() = default;

    // A virtual key's scan code or a scan code's virtual key, by the map type, in the given
    // layout (GetKeyboardLayout for the current one); 0 for none.
    virtual std::uint32_t MapVirtualKeyEx(std::uint32_t code, std::uint32_t mapType,
                                          LayoutHandle layout) const = 0;
    // The current layout's name for a name request (scan code << 16, bit 24 for an extended
    // key); empty when it has none.
    virtual std::u16string GetKeyNameText(std::int32_t nameRequest) const = 0;
    // The calling thread's current layout.
    virtual LayoutHandle GetKeyboardLayout() const = 0;
    // Up to maxCount installed layouts.
    virtual std::vector<LayoutHandle> GetKeyboardLayoutList(int maxCount) const = 0;
    // The layout with the given identifier ("00000409"), loaded if need be; 0 on failure.
    virtual LayoutHandle LoadKeyboardLayout(std::u16string_view layoutId, std::uint32_t flags) = 0;
    // Makes a layout current; returns the previous one, 0 on failure.
    virtual LayoutHandle ActivateKeyboardLayout(LayoutHandle layout, std::uint32_t flags) = 0;
    virtual bool UnloadKeyboardLayout(LayoutHandle layout) = 0;

    // Case-insensitive equality as the user's locale sees it; this default folds ASCII only.
    virtual bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) const;
};

}  // namespace quorvel

#pragma pop_macro("LoadKeyboardLayout")
#pragma pop_macro("GetKeyNameText")
#pragma pop_macro("MapVirtualKeyEx")
