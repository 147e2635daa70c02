#include "common/error_box_win.h"

#include <exception>
#include <new>
#include <vector>

#include "common/error.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/unique_handle_win.h"

namespace quorvel {

std::u16string ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return FromWide({buffer.data(), length});
        buffer.resize(buffer.size() * 2);  // paths longer than MAX_PATH are truncated otherwise
    }
}

std::u16string SystemErrorText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        /*lpSource=*/nullptr, code, /*dwLanguageId=*/0, reinterpret_cast<wchar_t*>(&buffer),
        /*nSize=*/0, /*Arguments=*/nullptr);
    std::wstring text(buffer != nullptr ? buffer : L"", length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return FromWide(text);
}

void ShowErrorBox(HWND owner, std::u16string_view message) {
    const std::wstring text = ToWide(ErrorBoxText(message));
    const std::wstring caption = ToWide(ApplicationTitle(ExecutablePath()));
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

void ShowCurrentException(HWND owner) noexcept {
    try {
        try {
            throw;
        } catch (const Error& e) {
            ShowErrorBox(owner, e.Message());
        } catch (const std::bad_alloc&) {
            ShowErrorBox(owner, u"Out of memory");
        } catch (const std::exception& e) {
            ShowErrorBox(owner, FromUtf8(e.what()));
        } catch (...) {
            ShowErrorBox(owner, u"Unknown error");
        }
    } catch (...) {
        // Showing the box itself failed (out of memory); nothing more can be done here.
    }
}

}  // namespace quorvel
