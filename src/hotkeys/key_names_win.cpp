#include "hotkeys/key_names_win.h"

#include "common/win/wide_text_win.h"
#include "hotkeys/hotkey.h"

namespace quorvel {

namespace {

HKL ToHkl(LayoutHandle layout) { return reinterpret_cast<HKL>(layout); }
LayoutHandle FromHkl(HKL layout) { return reinterpret_cast<LayoutHandle>(layout); }

}  // namespace

static_assert(kMapVkToVsc == MAPVK_VK_TO_VSC && kMapVscToVk == MAPVK_VSC_TO_VK);
static_assert(kLoadNoTellShell == KLF_NOTELLSHELL);
static_assert(kVkShift == VK_SHIFT && kVkControl == VK_CONTROL && kVkMenu == VK_MENU);
static_assert(kFirstMediaKey == VK_BROWSER_BACK && kLastMediaKey == VK_LAUNCH_APP2);

std::uint32_t WindowsKeyNames::MapVirtualKeyEx(std::uint32_t code, std::uint32_t mapType,
                                               LayoutHandle layout) const {
    return ::MapVirtualKeyExW(code, mapType, ToHkl(layout));
}

std::u16string WindowsKeyNames::GetKeyNameText(std::int32_t nameRequest) const {
    wchar_t name[256] = {};
    ::GetKeyNameTextW(nameRequest, name, 256);
    return FromWide(name);
}

LayoutHandle WindowsKeyNames::GetKeyboardLayout() const { return FromHkl(::GetKeyboardLayout(0)); }

std::vector<LayoutHandle> WindowsKeyNames::GetKeyboardLayoutList(int maxCount) const {
    std::vector<HKL> layouts(static_cast<std::size_t>(maxCount));
    const int count = ::GetKeyboardLayoutList(maxCount, layouts.data());
    std::vector<LayoutHandle> handles;
    for (int i = 0; i < count; ++i)
        handles.push_back(FromHkl(layouts[static_cast<std::size_t>(i)]));
    return handles;
}

LayoutHandle WindowsKeyNames::LoadKeyboardLayout(std::u16string_view layoutId,
                                                 std::uint32_t flags) {
    return FromHkl(::LoadKeyboardLayoutW(ToWide(layoutId).c_str(), flags));
}

LayoutHandle WindowsKeyNames::ActivateKeyboardLayout(LayoutHandle layout, std::uint32_t flags) {
    return FromHkl(::ActivateKeyboardLayout(ToHkl(layout), flags));
}

bool WindowsKeyNames::UnloadKeyboardLayout(LayoutHandle layout) {
    return ::UnloadKeyboardLayout(ToHkl(layout)) != FALSE;
}

bool WindowsKeyNames::EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) const {
    // The system's case table, without the locale's word-sort weights or Turkish dotless i. It
    // maps character for character, so texts of different lengths never match; the name lookup
    // makes this call for every key, so that test is worth making first.
    if (a.size() != b.size()) return false;
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()),
                                  static_cast<int>(a.size()),
                                  reinterpret_cast<const wchar_t*>(b.data()),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace quorvel
