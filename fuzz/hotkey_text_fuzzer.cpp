// Reads arbitrary text as a hotkey text under the US English or German key names. Every text
// is either no hotkey (0) or a value whose own text reads back as that value, so a task's
// hotkey, once written, registers the key it was read as. The name table kept over every
// input reads it as a new one made for this input does.
//
// Input: the first byte chooses the layout (bit 0: German) and the names (bit 1: the US
// English names, as with useLayoutNames false); each further byte is one character
// (ISO 8859-1, which holds every character of the two layouts' key names).

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "fake_key_names.h"
#include "hotkeys/hotkey_text.h"

namespace {

using quorvel::HotKeyText;
using quorvel::HotKeyValue;
using quorvel::testing::FakeKeyNames;

// One layout that stays current, and the conversions made under it, as the program's at its
// start, kept over every input.
struct Layout {
    explicit Layout(quorvel::LayoutHandle layout) {
        keyNames.ActivateKeyboardLayout(layout, 0);
        table.emplace(keyNames);
    }
    FakeKeyNames keyNames;
    std::optional<HotKeyText> table;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Layout english(FakeKeyNames::kUsEnglish);
    static Layout german(FakeKeyNames::kGerman);
    if (size == 0) return 0;
    Layout& layout = (data[0] & 1) ? german : english;
    const bool useLayoutNames = (data[0] & 2) == 0;
    const std::u16string text(data + 1, data + size);

    const HotKeyValue value = layout.table->ParseHotKey(text, useLayoutNames);
    if (HotKeyText(layout.keyNames).ParseHotKey(text, useLayoutNames) != value) std::abort();
    if (value == 0) return 0;
    const std::u16string written = layout.table->FormatHotKey(value, useLayoutNames);
    if (layout.table->ParseHotKey(written, useLayoutNames) != value) std::abort();
    return 0;
}
