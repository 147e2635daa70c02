#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hotkeys/key_names.h"

namespace quorvel::testing {

// Key names of US English and German Windows for a handful of layouts the tests switch
// between, with counters for the calls that cost time on a real system.
class FakeKeyNames final : public KeyNameProvider {
  public:
    static constexpr LayoutHandle kUsEnglish = 0x04090409;
    static constexpr LayoutHandle kGerman = 0x04070407;

    // US English current and the only layout installed.
    FakeKeyNames();

    std::uint32_t MapVirtualKeyEx(std::uint32_t code, std::uint32_t mapType,
                                  LayoutHandle layout) const override;
    std::u16string GetKeyNameText(std::int32_t nameRequest) const override;
    LayoutHandle GetKeyboardLayout() const override { return current_; }
    std::vector<LayoutHandle> GetKeyboardLayoutList(int maxCount) const override;
    LayoutHandle LoadKeyboardLayout(std::u16string_view layoutId, std::uint32_t flags) override;
    LayoutHandle ActivateKeyboardLayout(LayoutHandle layout, std::uint32_t flags) override;
    bool UnloadKeyboardLayout(LayoutHandle layout) override;

    // Test controls.
    void Install(std::vector<LayoutHandle> layouts) { installed_ = std::move(layouts); }
    // Renames the key with this scan code (not extended) in the current layout.
    void RenameScanCode(std::uint32_t scanCode, std::u16string name);
    // Gives a virtual key a scan code in the current layout; a scan code that sent a key
    // already goes on sending that one.
    void MapKey(std::uint32_t virtualKey, std::uint32_t scanCode);
    int NameRequests() const { return nameRequests_; }
    const std::vector<LayoutHandle>& Unloaded() const { return unloaded_; }

  private:
    struct Layout {
        std::map<std::uint32_t, std::uint32_t> scanCodes;  // virtual key -> scan code
        std::map<std::int32_t, std::u16string> names;      // name request -> name
        // Scan code -> the virtual key it sends, where that is not the lowest virtual key
        // with the scan code.
        std::map<std::uint32_t, std::uint32_t> keysSent;
    };

    std::map<LayoutHandle, Layout> layouts_;
    LayoutHandle current_ = kUsEnglish;
    std::vector<LayoutHandle> installed_{kUsEnglish};
    std::vector<LayoutHandle> unloaded_;
    mutable int nameRequests_ = 0;
};

}  // namespace quorvel::testing
