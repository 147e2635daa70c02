#pragma once

#include <windows.h>

#include "hotkeys/key_names.h"

// The provider's members carry the names of these A/W macros; code that includes this header
// calls the W functions by their own names.
#undef MapVirtualKeyEx
#undef GetKeyNameText
#undef LoadKeyboardLayout

namespace quorvel {

// Key names and layouts of the calling thread, from the wide Windows calls.
class WindowsKeyNames final : public KeyNameProvider {
  public:
    std::uint32_t MapVirtualKeyEx(std::uint32_t code, std::uint32_t mapType,
                                  LayoutHandle layout) const override;
    std::u16string GetKeyNameText(std::int32_t nameRequest) const override;
    LayoutHandle GetKeyboardLayout() const override;
    std::vector<LayoutHandle> GetKeyboardLayoutList(int maxCount) const override;
    LayoutHandle LoadKeyboardLayout(std::u16string_view layoutId, std::uint32_t flags) override;
    LayoutHandle ActivateKeyboardLayout(LayoutHandle layout, std::uint32_t flags) override;
    bool UnloadKeyboardLayout(LayoutHandle layout) override;
    bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) const override;
};

}  // namespace quorvel
