#include "common/win/system_win.h"

#include <windows.h>

#include <vector>

#include "common/error.h"
#include "common/win/wide_text_win.h"

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

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length < MAX_PATH ? length : 0);
}

void (*SystemLibraryFunction(const wchar_t* library, const char* name))() {
    const std::wstring path = SystemFolder() + L"\\" + library;
    const HMODULE module = ::LoadLibraryW(path.c_str());
    const FARPROC function = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
    if (function == nullptr) {
        throw Error(SystemErrorText(::GetLastError()) + u" (" + FromWide(library) + u")");
    }
    return reinterpret_cast<void (*)()>(function);
}

}  // namespace quorvel
