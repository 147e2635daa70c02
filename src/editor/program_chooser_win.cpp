#include "editor/program_chooser_win.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "common/win/com_ptr_win.h"
#include "common/win/system_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace {

// Entry text, patterns, and the empty entry that ends the list.
constexpr wchar_t kProgramFilter[] = L"All (*.exe, *.bat, *.com)\0*.exe; *.bat; *.com\0";

// Room for the longest path the file system allows, so no chosen path is cut short.
constexpr std::size_t kPathCapacity = 32768;

}  // namespace

std::optional<std::u16string> ChooseProgramFile(HWND owner, const std::u16string& initialName) {
    std::vector<wchar_t> buffer(kPathCapacity, L'\0');
    const std::wstring initial = ToWide(initialName);
    std::copy_n(initial.begin(), std::min(initial.size(), buffer.size() - 1), buffer.begin());

    OPENFILENAMEW chooser{};
    chooser.lStructSize = sizeof(chooser);
    chooser.hwndOwner = owner;
    chooser.lpstrFilter = kProgramFilter;
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = buffer.data();
    chooser.nMaxFile = static_cast<DWORD>(buffer.size());
    chooser.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The chooser's shell views want COM on the thread, as the launches do.
    const ScopedCoInitialize com;
    static const auto getOpenFileName =
        LateBound<decltype(::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!getOpenFileName(&chooser)) return std::nullopt;
    return FromWide(buffer.data());
}

}  // namespace quorvel
