#include "program_watch_win.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/text.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"

namespace quorvel {

namespace fs = std::filesystem;

fs::path PathFromBuild(std::string_view buildPath) {
    std::wstring path = ToWide(FromUtf8(buildPath));
    if (!path.empty() && path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (condition()) return true;
        ::Sleep(50);
    }
    return condition();
}

std::optional<std::wstring> RegValue(const wchar_t* key, const wchar_t* name) {
    wchar_t data[1024];
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void SetRegValue(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;  // null: any
    const wchar_t* title;        // null: any
    std::vector<HWND> found;
};

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* windowClass,
                                  const wchar_t* title) {
    WindowSearch search{processId, windowClass, title, {}};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<WindowSearch*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[256] = L"";
            ::GetClassNameW(window, name, 256);
            wchar_t text[256] = L"";
            ::GetWindowTextW(window, text, 256);
            if (owner == s.processId &&
                (s.windowClass == nullptr || std::wstring(name) == s.windowClass) &&
                (s.title == nullptr || std::wstring(text) == s.title)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view delimiter) {
    std::vector<std::wstring> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(delimiter, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::wstring_view::npos) return parts;
        start = end + delimiter.size();
    }
}

std::wstring Utf16Text(std::string_view bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    bytes.copy(reinterpret_cast<char*>(text.data()), text.size() * sizeof(wchar_t));
    return text;
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The show command, the working folder, then the arguments.
std::vector<std::wstring> ArgDumpReport(const fs::path& report) {
    std::vector<std::wstring> lines = Split(Utf16Text(FileText(report)), L"\n");
    if (lines.size() >= 2) lines.erase(lines.begin() + 1);
    return lines;
}

std::wstring ArgDumpFolder(const fs::path& report) {
    const std::vector<std::wstring> lines = Split(Utf16Text(FileText(report)), L"\n");
    return lines.size() >= 2 ? lines[1] : std::wstring();
}

void PutTextOnClipboard(const wchar_t* text) {
    if (!::OpenClipboard(nullptr)) throw std::runtime_error("the clipboard is held");
    ::EmptyClipboard();
    const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), text, bytes);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);  // the clipboard owns it now
    ::CloseClipboard();
}

std::vector<HWND> VisibleBoxes(DWORD processId, const wchar_t* title) {
    std::vector<HWND> boxes = TopLevelWindows(processId, L"#32770", title);
    std::erase_if(boxes, [](HWND box) { return !::IsWindowVisible(box); });
    return boxes;
}

HWND WaitForBox(DWORD processId, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            const auto boxes = VisibleBoxes(processId);
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        },
        timeoutMs);
    return box;
}

std::wstring BoxText(HWND box) {
    constexpr int kMessageBoxText = 0xFFFF;  // the static control that holds the message
    wchar_t text[1024] = L"";
    ::GetWindowTextW(::GetDlgItem(box, kMessageBoxText), text, 1024);
    return text;
}

bool HotKeyTaken(UINT modifiers, UINT key) {
    const bool taken = !::RegisterHotKey(nullptr, 1, modifiers, key);
    if (!taken) ::UnregisterHotKey(nullptr, 1);
    return taken;
}

namespace {

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::set<std::string> ImportedLibraries(const fs::path& image) {
    const std::string bytes = FileText(image);
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return {};
    const auto& dos = *reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const auto& headers = *reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos.e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(&headers);
    const auto at = [&](DWORD address) {
        for (WORD i = 0; i < headers.FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (address >= section.VirtualAddress &&
                address < section.VirtualAddress + section.SizeOfRawData) {
                return bytes.data() + (address - section.VirtualAddress + section.PointerToRawData);
            }
        }
        throw std::out_of_range("address outside every section");
    };
    std::set<std::string> libraries;
    const IMAGE_DATA_DIRECTORY& imports =
        headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return libraries;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(imports.VirtualAddress));
         entry->Name != 0; ++entry) {
        libraries.insert(LowerCase(at(entry->Name)));
    }
    return libraries;
}

std::set<std::string> LoadedLibraries(HANDLE process) {
    std::vector<HMODULE> modules(1024);
    DWORD bytes = 0;
    if (!::EnumProcessModulesEx(process, modules.data(),
                                static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &bytes,
                                LIST_MODULES_ALL)) {
        return {};
    }
    modules.resize(std::min<std::size_t>(modules.size(), bytes / sizeof(HMODULE)));
    std::set<std::string> libraries;
    for (const HMODULE module : modules) {
        wchar_t name[MAX_PATH] = L"";
        const DWORD length = ::GetModuleBaseNameW(process, module, name, MAX_PATH);
        std::string library = LowerCase(ToUtf8(FromWide({name, length})));
        // The program's own file is no library.
        if (!library.ends_with(".exe")) libraries.insert(std::move(library));
    }
    return libraries;
}

}  // namespace quorvel
