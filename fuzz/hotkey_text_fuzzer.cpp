// Reads arbitrary text as a hotkey text under the US English or German key names. Every text
// is either no hotkey (0) or a value whose own text reads back as that value, so a task's
// hotkey, once written, registers the key it was read as. Looking the key names up in the
// table or asking the layout each time gives the same value.
//
// Input: the first byte chooses the layout (bit 0: German) and the names (bit 1: the US
// English names, as with useLayoutNames false); each further byte is one character
// (ISO 8859-1, which holds every character of the two layouts' key names).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_key_names.h"
#include "hotkeys/hotkey_text.h"

namespace {

using quorvel::HotKeyText;
using quorvel::HotKeyValue;
using quorvel::KeyNameLookup;
using quorvel::testing::FakeKeyNames;

// Both ways of looking names up, over one layout that stays current.
struct Layout {
    explicit Layout(quorvel::LayoutHandle layout) { keyNames.ActivateKeyboardLayout(layout, 0); }
    FakeKeyNames keyNames;
    HotKeyText table{keyNames, KeyNameLookup::kNameTable};
    HotKeyText asking{keyNames, KeyNameLookup::kAskSystem};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Layout english(FakeKeyNames::kUsEnglish);
    static Layout german(FakeKeyNames::kGerman);
    if (size == 0) return 0;
    const Layout& layout = (data[0] & 1) ? german : english;
    const bool useLayoutNames = (data[0] & 2) == 0;
    const std::u16string text(data + 1, data + size);

    const HotKeyValue value = layout.table.ParseHotKey(text, useLayoutNames);
    if (layout.asking.ParseHotKey(text, useLayoutNames) != value) std::abort();
    if (value == 0) return 0;
    const std::u16string written = layout.table.FormatHotKey(value, useLayoutNames);
    if (layout.table.ParseHotKey(written, useLayoutNames) != value) std::abort();
    return 0;
}
