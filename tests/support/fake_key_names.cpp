#include "fake_key_names.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace quorvel::testing {

namespace {

constexpr std::int32_t kExtended = 1 << 24;

std::int32_t Request(std::uint32_t scanCode, bool extended = false) {
    return static_cast<std::int32_t>(scanCode << 16) | (extended ? kExtended : 0);
}

// GetKeyNameText of US English Windows, by scan code: the plain keys, then the extended ones.
const std::pair<std::uint32_t, const char16_t*> kUsNames[] = {
    {0x01, u"Esc"},     {0x0C, u"-"},           {0x0D, u"="},     {0x0E, u"Backspace"},
    {0x0F, u"Tab"},     {0x1A, u"["},           {0x1B, u"]"},     {0x1C, u"Enter"},
    {0x1D, u"Ctrl"},    {0x27, u";"},           {0x28, u"'"},     {0x29, u"`"},
    {0x2A, u"Shift"},   {0x2B, u"\\"},          {0x33, u","},     {0x34, u"."},
    {0x35, u"/"},       {0x36, u"Right Shift"}, {0x37, u"Num *"}, {0x38, u"Alt"},
    {0x39, u"Space"},   {0x3A, u"Caps Lock"},   {0x45, u"Pause"}, {0x46, u"Scroll Lock"},
    {0x47, u"Num 7"},   {0x48, u"Num 8"},       {0x49, u"Num 9"}, {0x4A, u"Num -"},
    {0x4B, u"Num 4"},   {0x4C, u"Num 5"},       {0x4D, u"Num 6"}, {0x4E, u"Num +"},
    {0x4F, u"Num 1"},   {0x50, u"Num 2"},       {0x51, u"Num 3"}, {0x52, u"Num 0"},
    {0x53, u"Num Del"}, {0x54, u"Sys Req"},     {0x56, u"\\"},    {0x57, u"F11"},
    {0x58, u"F12"}};
const std::pair<std::uint32_t, const char16_t*> kUsExtendedNames[] = {
    {0x1C, u"Num Enter"},     {0x1D, u"Right Ctrl"}, {0x35, u"Num /"},
    {0x37, u"Prnt Scrn"},     {0x38, u"Right Alt"},  {0x45, u"Num Lock"},
    {0x46, u"Break"},         {0x47, u"Home"},       {0x48, u"Up"},
    {0x49, u"Page Up"},       {0x4B, u"Left"},       {0x4D, u"Right"},
    {0x4F, u"End"},           {0x50, u"Down"},       {0x51, u"Page Down"},
    {0x52, u"Insert"},        {0x53, u"Delete"},     {0x5B, u"Left Windows"},
    {0x5C, u"Right Windows"}, {0x5D, u"Application"}};

constexpr char16_t kDigitRow[] = u"1234567890";
constexpr char16_t kLetterRows[][11] = {u"QWERTYUIOP", u"ASDFGHJKL", u"ZXCVBNM"};
constexpr std::uint32_t kLetterRowStarts[] = {0x10, 0x1E, 0x2C};

// MapVirtualKey(vk, MAPVK_VK_TO_VSC) of US English Windows, for the keys that are not letters
// or digits. The media keys share scan codes with letters (Volume Mute with D) or F keys.
const std::pair<std::uint32_t, std::uint32_t> kUsScanCodes[] = {
    {0x08, 0x0E}, {0x09, 0x0F}, {0x0C, 0x4C}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D},
    {0x12, 0x38}, {0x13, 0x45}, {0x14, 0x3A}, {0x1B, 0x01}, {0x20, 0x39}, {0x21, 0x49},
    {0x22, 0x51}, {0x23, 0x4F}, {0x24, 0x47}, {0x25, 0x4B}, {0x26, 0x48}, {0x27, 0x4D},
    {0x28, 0x50}, {0x2C, 0x54}, {0x2D, 0x52}, {0x2E, 0x53}, {0x5B, 0x5B}, {0x5C, 0x5C},
    {0x5D, 0x5D}, {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B},
    {0x65, 0x4C}, {0x66, 0x4D}, {0x67, 0x47}, {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37},
    {0x6B, 0x4E}, {0x6D, 0x4A}, {0x6E, 0x53}, {0x6F, 0x35}, {0x90, 0x45}, {0x91, 0x46},
    {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x1D}, {0xA4, 0x38}, {0xA5, 0x38},
    {0xAA, 0x65}, {0xAD, 0x20}, {0xAE, 0x2E}, {0xAF, 0x30}, {0xB0, 0x19}, {0xB1, 0x10},
    {0xB2, 0x24}, {0xB3, 0x22}, {0xBA, 0x27}, {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C},
    {0xBE, 0x34}, {0xBF, 0x35}, {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B}, {0xDD, 0x1B},
    {0xDE, 0x28}, {0xE2, 0x56},
};

// MapVirtualKey(scan code, MAPVK_VSC_TO_VK) of US English Windows where it is not the lowest
// virtual key with that scan code: "/" before keypad "/", Shift for the right Shift key, Num
// Lock before Pause.
const std::pair<std::uint32_t, std::uint32_t> kUsKeysSent[] = {
    {0x35, 0xBF}, {0x36, 0x10}, {0x45, 0x90}};

// F1 to F10, F11, F12 and F13 to F24.
constexpr std::uint32_t kFunctionScanCodes[] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42,
                                                0x43, 0x44, 0x57, 0x58, 0x64, 0x65, 0x66, 0x67,
                                                0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76};

void AddLetterAndDigitKeys(std::map<std::uint32_t, std::uint32_t>& scanCodes,
                           std::map<std::int32_t, std::u16string>& names) {
    for (std::uint32_t i = 0; i < 10; ++i) {
        const char16_t digit = kDigitRow[i];
        scanCodes[digit] = 0x02 + i;
        names.emplace(Request(0x02 + i), std::u16string(1, digit));
    }
    for (std::size_t row = 0; row < 3; ++row) {
        const std::u16string_view letters = kLetterRows[row];
        for (std::uint32_t i = 0; i < letters.size(); ++i) {
            scanCodes[letters[i]] = kLetterRowStarts[row] + i;
            names.emplace(Request(kLetterRowStarts[row] + i), std::u16string(1, letters[i]));
        }
    }
}

void AddFunctionKeys(std::map<std::uint32_t, std::uint32_t>& scanCodes,
                     std::map<std::int32_t, std::u16string>& names) {
    for (std::uint32_t i = 0; i < 24; ++i) {
        scanCodes[0x70 + i] = kFunctionScanCodes[i];
        const std::string number = std::to_string(i + 1);
        names.emplace(Request(kFunctionScanCodes[i]),
                      u"F" + std::u16string(number.begin(), number.end()));
    }
}

}  // namespace

FakeKeyNames::FakeKeyNames() {
    Layout& us = layouts_[kUsEnglish];
    AddLetterAndDigitKeys(us.scanCodes, us.names);
    AddFunctionKeys(us.scanCodes, us.names);
    for (const auto& [virtualKey, scanCode] : kUsScanCodes) us.scanCodes[virtualKey] = scanCode;
    us.keysSent.insert(std::begin(kUsKeysSent), std::end(kUsKeysSent));
    for (const auto& [scanCode, name] : kUsNames) us.names.emplace(Request(scanCode), name);
    for (const auto& [scanCode, name] : kUsExtendedNames)
        us.names.emplace(Request(scanCode, true), name);

    // German: its own words for Ctrl, Shift and the editing keys, Y and Z swapped, umlauts,
    // a key named "+".
    Layout german = us;
    german.scanCodes[u'Y'] = 0x2C;
    german.scanCodes[u'Z'] = 0x15;
    german.scanCodes[0xBA] = 0x1A;
    german.scanCodes[0xBB] = 0x1B;
    german.scanCodes[0xDD] = 0x0D;
    german.names[Request(0x15)] = u"Z";
    german.names[Request(0x2C)] = u"Y";
    german.names[Request(0x1A)] = u"\u00DC";
    german.names[Request(0x1B)] = u"+";
    german.names[Request(0x0D)] = u"\u00B4";
    german.names[Request(0x56)] = u"<";
    german.names[Request(0x1D)] = u"Strg";
    german.names[Request(0x2A)] = u"Umschalt";
    german.names[Request(0x0E)] = u"R\u00FCcktaste";
    german.names[Request(0x52, true)] = u"Einfg";
    german.names[Request(0x53, true)] = u"Entf";
    german.names[Request(0x49, true)] = u"Bild-Auf";
    german.names[Request(0x51, true)] = u"Bild-Ab";
    layouts_[kGerman] = std::move(german);
}

std::uint32_t FakeKeyNames::MapVirtualKeyEx(std::uint32_t code, std::uint32_t mapType,
                                            LayoutHandle layout) const {
    const auto found = layouts_.find(layout);
    if (found == layouts_.end()) return 0;
    const Layout& keys = found->second;
    if (mapType == kMapVkToVsc) {
        const auto scanCode = keys.scanCodes.find(code);
        return scanCode == keys.scanCodes.end() ? 0 : scanCode->second;
    }
    if (const auto sent = keys.keysSent.find(code); sent != keys.keysSent.end())
        return sent->second;
    const auto lowest = std::find_if(keys.scanCodes.begin(), keys.scanCodes.end(),
                                     [code](const auto& entry) { return entry.second == code; });
    return lowest == keys.scanCodes.end() ? 0 : lowest->first;
}

std::u16string FakeKeyNames::GetKeyNameText(std::int32_t nameRequest) const {
    ++nameRequests_;
    const auto& names = layouts_.at(current_).names;
    const auto name = names.find(nameRequest);
    return name == names.end() ? std::u16string() : name->second;
}

std::vector<LayoutHandle> FakeKeyNames::GetKeyboardLayoutList(int maxCount) const {
    std::vector<LayoutHandle> list = installed_;
    if (list.size() > static_cast<std::size_t>(maxCount))
        list.resize(static_cast<std::size_t>(maxCount));
    return list;
}

LayoutHandle FakeKeyNames::LoadKeyboardLayout(std::u16string_view layoutId, std::uint32_t) {
    if (layoutId == u"00000409") return kUsEnglish;
    if (layoutId == u"00000407") return kGerman;
    return 0;
}

LayoutHandle FakeKeyNames::ActivateKeyboardLayout(LayoutHandle layout, std::uint32_t) {
    if (!layouts_.count(layout)) return 0;
    return std::exchange(current_, layout);
}

bool FakeKeyNames::UnloadKeyboardLayout(LayoutHandle layout) {
    unloaded_.push_back(layout);
    return true;
}

void FakeKeyNames::MapKey(std::uint32_t virtualKey, std::uint32_t scanCode) {
    Layout& layout = layouts_.at(current_);
    // The key the scan code sent so far goes on being the one it sends.
    if (const std::uint32_t sent = MapVirtualKeyEx(scanCode, kMapVscToVk, current_); sent != 0)
        layout.keysSent[scanCode] = sent;
    layout.scanCodes[virtualKey] = scanCode;
}

void FakeKeyNames::RenameScanCode(std::uint32_t scanCode, std::u16string name) {
    layouts_.at(current_).names[Request(scanCode)] = std::move(name);
}

}  // namespace quorvel::testing
