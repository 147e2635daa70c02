#include "actions/shell_dispatch_win.h"

#include <oleauto.h>

#include <cstdio>
#include <string>
#include <utility>

#include "common/error.h"
#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/unique_handle_win.h"

namespace quorvel {
namespace {

// The system's message for a COM result, or "OLE error XXXXXXXX" when it has none.
Error ComError(HRESULT result) {
    std::u16string text = SystemErrorText(static_cast<DWORD>(result));
    if (!text.empty()) return Error(std::move(text));
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
    static const auto getActiveObject =
        LateBound<decltype(::GetActiveObject)>(L"oleaut32.dll", "GetActiveObject");
    static const auto coCreateInstance =
        LateBound<decltype(::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    if (SUCCEEDED(getActiveObject(CLSID_Shell, nullptr, running.put())) &&
        SUCCEEDED(
            running->QueryInterface(IID_IShellDispatch, reinterpret_cast<void**>(shell_.put())))) {
        return *shell_.get();
    }
    Check(coCreateInstance(CLSID_Shell, nullptr, CLSCTX_ALL, IID_IShellDispatch,
                           reinterpret_cast<void**>(shell_.put())));
    return *shell_.get();
}

void ShellDispatch::MinimizeAll() { Check(Connected().MinimizeAll()); }

void ShellDispatch::UndoMinimizeALL() { Check(Connected().UndoMinimizeALL()); }

}  // namespace quorvel
