#include "actions/shell_dispatch_win.h"

#include <oleauto.h>

#include <array>
#include <cstdio>
#include <string>

#include "common/error.h"
#include "common/unique_handle_win.h"

namespace quorvel {
namespace {

// The system's message for a COM result, or "OLE error XXXXXXXX" when it has none.
Error ComError(HRESULT result) {
    std::array<wchar_t, 512> text{};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, static_cast<DWORD>(result), 0, text.data(),
                                    static_cast<DWORD>(text.size()), nullptr);
    while (length > 0 &&
           (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ')) {
        --length;
    }
    if (length > 0) return Error(FromWide({text.data(), length}));
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "OLE error %08lX", static_cast<unsigned long>(result));
    return Error(std::u16string(fallback, fallback + std::char_traits<char>::length(fallback)));
}

void Check(HRESULT result) {
    if (FAILED(result)) throw ComError(result);
}

}  // namespace

IShellDispatch& ShellDispatch::Connected() {
    if (shell_) return *shell_.get();
    ComPtr<IUnknown> running;
    if (SUCCEEDED(::GetActiveObject(CLSID_Shell, nullptr, running.put())) &&
        SUCCEEDED(
            running->QueryInterface(IID_IShellDispatch, reinterpret_cast<void**>(shell_.put())))) {
        return *shell_.get();
    }
    Check(::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_ALL, IID_IShellDispatch,
                             reinterpret_cast<void**>(shell_.put())));
    return *shell_.get();
}

void ShellDispatch::MinimizeAll() { Check(Connected().MinimizeAll()); }

void ShellDispatch::UndoMinimizeALL() { Check(Connected().UndoMinimizeALL()); }

}  // namespace quorvel
