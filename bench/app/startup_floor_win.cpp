// The floor of the start-up benchmark: the least a program does to hold the hotkeys of a task
// list and run a task. It adds each hotkey's global atom and registers the hotkey under it, in
// the order and with the flags of Quorvel's registrar, then waits in its message loop until
// WM_CLOSE, and gives everything back, last first, as Quorvel does. A press of any of its
// hotkeys empties the clipboard, the action of the task the benchmark presses.
//
// The hotkey values are read from "hotkeys.txt" in the working folder, one decimal number a
// line.

#include <windows.h>

#include <charconv>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "hotkeys/dravlin.h"

#include "startup_floor.h"

namespace {

using quorvel::HotKeyValue;

std::string FileBytes(const wchar_t* path) {
    const quorvel::UniqueFileHandle file(
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::vector<HotKeyValue> HotKeyValues(const std::string& text) {
    std::vector<HotKeyValue> values;
    const char* position = text.data();
    const char* const end = position + text.size();
    while (position < end) {
        HotKeyValue value = 0;
        const auto [next, error] = std::from_chars(position, end, value);
        if (error == std::errc()) values.push_back(value);
        position = next + 1;  // past the line break, or past what is no number
    }
    return values;
}

// The atoms of the registered hotkeys, in registration order; a value is registered once.
std::vector<ATOM> RegisterHotKeys(HWND window, const std::vector<HotKeyValue>& values) {
    std::vector<ATOM> atoms;
    std::unordered_set<HotKeyValue> seen;
    for (const HotKeyValue value : values) {
        if (!seen.insert(value).second) continue;
        const ATOM atom = ::GlobalAddAtomW(quorvel::ToWide(quorvel::HotKeyAtomName(value)).c_str());
        if (atom == 0) continue;
        const quorvel::SplitKey split = quorvel::SplitHotKey(value);
        if (::RegisterHotKey(window, atom, split.modifiers | MOD_NOREPEAT, split.key)) {
            atoms.push_back(atom);
        } else {
            ::GlobalDeleteAtom(atom);
        }
    }
    return atoms;
}

void ReleaseHotKeys(HWND window, const std::vector<ATOM>& atoms) {
    for (auto atom = atoms.rbegin(); atom != atoms.rend(); ++atom) {
        ::UnregisterHotKey(window, *atom);
        ::GlobalDeleteAtom(*atom);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HOTKEY:
            if (::OpenClipboard(window)) {
                ::EmptyClipboard();
                ::CloseClipboard();
            }
            return 0;
        case WM_CLOSE:
            // Closing only ends the message loop: the hotkeys go back before their window.
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateFloorWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kFloorWindowClass;
    ::RegisterClassExW(&windowClass);
    return ::CreateWindowExW(/*dwExStyle=*/0, kFloorWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0,
                             0, /*hWndParent=*/nullptr, /*hMenu=*/nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/) {
    const quorvel::UniqueWindow window(CreateFloorWindow(instance));
    if (!window) return 1;
    const std::vector<ATOM> atoms =
        RegisterHotKeys(window.get(), HotKeyValues(FileBytes(L"hotkeys.txt")));
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    ReleaseHotKeys(window.get(), atoms);
    return 0;
}
